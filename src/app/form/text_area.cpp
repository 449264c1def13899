#include "app/form/text_area.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "text/codec.h"

namespace glidtavla {

namespace {

constexpr int kEndsInCR = 1;

std::string WithoutCR(const std::string& line, bool& endsInCR) {
    endsInCR = !line.empty() && line.back() == '\r';
    return endsInCR ? line.substr(0, line.size() - 1) : line;
}

}  // namespace

std::vector<std::string> TextAreaLines(const QPlainTextEdit* memo, TextEncoding encoding) {
    std::vector<std::string> lines;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
        lines.push_back(FromQString(block.text(), encoding) +
                        (block.userState() == kEndsInCR ? "\r" : ""));
    }
    return lines;
}

void SetTextAreaLines(QPlainTextEdit* memo, const std::vector<std::string>& lines,
                      TextEncoding encoding) {
    QStringList shown;
    std::vector<bool> marks;
    for (const std::string& line : lines) {
        bool endsInCR = false;
        shown << ToQString(WithoutCR(line, endsInCR), encoding);
        marks.push_back(endsInCR);
    }
    memo->setPlainText(shown.join('\n'));
    QTextBlock block = memo->document()->begin();
    for (std::size_t i = 0; i < marks.size() && block.isValid(); ++i, block = block.next()) {
        if (marks[i]) block.setUserState(kEndsInCR);
    }
}

void AppendTextAreaLine(QPlainTextEdit* memo, const std::string& line) {
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty()) cursor.insertBlock();
    bool endsInCR = false;
    cursor.insertText(ToQString(WithoutCR(line, endsInCR)));
    if (endsInCR) cursor.block().setUserState(kEndsInCR);
    cursor.insertBlock();
    cursor.block().setUserState(-1);
    // The writer sees the line just written, however long the document.
    memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
}

}  // namespace glidtavla
