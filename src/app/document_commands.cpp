// The "Fil" menu: the text area as a document, and leaving the program without losing it.
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "app/tform1.h"
#include "board/files.h"
#include "text/codec.h"
#include "text/document.h"

namespace glidtavla {

namespace {

// The code 13 that ends a line from the character line is kept as a mark of its text block,
// not drawn.
constexpr int kEndsInCR = 1;

std::string WithoutCR(const std::string& line, bool& endsInCR) {
    endsInCR = !line.empty() && line.back() == '\r';
    return endsInCR ? line.substr(0, line.size() - 1) : line;
}

}  // namespace

void TForm1::Open1Click() {
    const std::optional<QString> chosen = dialogs_->Ask(DialogKind::OpenDialog1, DocumentPreset());
    if (!chosen) return;
    DocumentPath = QFile::encodeName(*chosen).toStdString();
    if (IsRegularFile(DocumentPath)) {
        SetCaption();
        LoadDocument(DocumentPath);
    } else {
        Edit7->setText(Shown(DocumentPath + " finns inte!"));
        Edit7->show();
    }
}

void TForm1::SaveAs() {
    const std::optional<QString> chosen =
        dialogs_->Ask(DialogKind::SaveDialog1, Shown(DocumentPath));
    if (!chosen) return;
    DocumentPath = QFile::encodeName(*chosen).toStdString();
    if (!DocumentPath.empty()) SaveDocument(DocumentPath);
}

void TForm1::Sparasom1Click() {
    SaveAs();
}

void TForm1::Spara2Click() {
    if (!DocumentPath.empty()) {
        SaveDocument(DocumentPath);
    } else {
        SaveAs();
    }
}

// Closing the window asks first when there is something to lose.
void TForm1::Sluta1Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (MayClose()) {
        RememberSettings();
        event->accept();
    } else {
        event->ignore();
    }
}

bool TForm1::DocumentChanged() const {
    return Memo1->document()->isModified() || Edit1->text() != savedCharacterLine_;
}

bool TForm1::MayClose() {
    if (!DocumentChanged()) return true;
    const QString name = QFileInfo(Shown(DocumentPath)).fileName();
    switch (dialogs_->AskToSave(name)) {
        case SaveChoice::Save: {
            bool saved = false;
            Guarded([this, &saved] {
                Spara2Click();
                saved = !DocumentChanged();
            });
            return saved;
        }
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            return false;
    }
    return false;
}

void TForm1::MarkDocumentSaved() {
    Memo1->document()->setModified(false);
    savedCharacterLine_ = Edit1->text();
}

// The open dialog starts where the last document was, until this one exists.
QString TForm1::DocumentPreset() const {
    const QFileInfo document(Shown(DocumentPath));
    if (document.exists() || settings_.documentFolder.empty()) return document.filePath();
    return Shown(settings_.documentFolder) + "/" + document.fileName();
}

void TForm1::RememberDocumentFolder(const std::string& path) {
    settings_.documentFolder =
        QFile::encodeName(QFileInfo(Shown(path)).absolutePath()).toStdString();
    RememberSettings();
}

void TForm1::LoadDocument(const std::string& path) {
    const std::string bytes = ReadDocumentFile(path);
    encoding_ = EncodingOf(bytes);
    SetTextAreaLines(SplitDocument(bytes));
    MarkDocumentSaved();
    RememberDocumentFolder(path);
}

void TForm1::SaveDocument(const std::string& path) {
    WriteDocumentFile(path, JoinDocument(TextAreaLines()));
    MarkDocumentSaved();
    RememberDocumentFolder(path);
}

std::vector<std::string> TForm1::TextAreaLines() const {
    std::vector<std::string> lines;
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
        lines.push_back(FromQString(block.text(), encoding_) +
                        (block.userState() == kEndsInCR ? "\r" : ""));
    }
    return lines;
}

void TForm1::SetTextAreaLines(const std::vector<std::string>& lines) {
    QStringList shown;
    std::vector<bool> marks;
    for (const std::string& line : lines) {
        bool endsInCR = false;
        shown << ToQString(WithoutCR(line, endsInCR), encoding_);
        marks.push_back(endsInCR);
    }
    Memo1->setPlainText(shown.join('\n'));
    QTextBlock block = Memo1->document()->begin();
    for (std::size_t i = 0; i < marks.size() && block.isValid(); ++i, block = block.next()) {
        if (marks[i]) block.setUserState(kEndsInCR);
    }
}

void TForm1::AppendTextAreaLine(const std::string& line) {
    // As AddTextAreaLine does for plain lines: the new line takes the empty place after the
    // last line break, and the text again ends in a line break.
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty()) cursor.insertBlock();
    bool endsInCR = false;
    cursor.insertText(ToQString(WithoutCR(line, endsInCR)));
    if (endsInCR) cursor.block().setUserState(kEndsInCR);
    cursor.insertBlock();
    cursor.block().setUserState(-1);
}

}  // namespace glidtavla
