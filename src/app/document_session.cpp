// The "Fil" menu's document: the text area read from and saved to a file, and leaving the
// program without losing it.
#include "app/document_session.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/form/dialogs.h"
#include "app/form/text_area.h"
#include "base/files.h"
#include "text/codec.h"

namespace glidtavla {

DocumentSession::DocumentSession(const FormControls& controls, Dialogs& dialogs,
                                 std::function<void()> pathChanged,
                                 std::function<void(const std::string&, bool)> folderUsed)
    : c_(controls),
      dialogs_(dialogs),
      pathChanged_(std::move(pathChanged)),
      folderUsed_(std::move(folderUsed)) {}

void DocumentSession::Open(const QString& preset) {
    // What is written here is saved or let go before another document takes its place; a save
    // that fails ends the command.
    if (!MayClose([](const std::function<void()>& body) { body(); })) return;
    const std::optional<QString> chosen = dialogs_.Ask(DialogKind::OpenDialog1, preset);
    if (!chosen) return;
    path_ = QFile::encodeName(*chosen).toStdString();
    if (IsRegularFile(path_)) {
        pathChanged_();
        Load(path_);
    } else {
        ShowMissing();
    }
}

void DocumentSession::ShowMissing() {
    c_.Edit7->setText(Shown(path_ + " finns inte!"));
    c_.Edit7->show();
}

void DocumentSession::SaveAs() {
    const std::optional<QString> chosen = dialogs_.Ask(DialogKind::SaveDialog1, Shown(path_));
    if (!chosen) return;
    path_ = QFile::encodeName(*chosen).toStdString();
    pathChanged_();  // the caption names the file "Spara" writes
    if (!path_.empty()) Write(path_);
}

void DocumentSession::Save() {
    if (!path_.empty()) {
        Write(path_);
    } else {
        SaveAs();
    }
}

bool DocumentSession::Changed() const {
    return c_.Memo1->document()->isModified() || c_.Edit1->text() != savedCharacterLine_;
}

bool DocumentSession::MayClose(const Guard& guarded) {
    if (!Changed()) return true;
    const QString name = QFileInfo(Shown(path_)).fileName();
    switch (dialogs_.AskToSave(name)) {
        case SaveChoice::Save: {
            bool saved = false;
            guarded([this, &saved] {
                Save();
                saved = !Changed();
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

void DocumentSession::MarkSaved() {
    c_.Memo1->document()->setModified(false);
    savedCharacterLine_ = c_.Edit1->text();
}

QString DocumentSession::Preset(const std::string& rememberedFolder) const {
    const QFileInfo document(Shown(path_));
    if (document.exists() || rememberedFolder.empty()) return document.filePath();
    return Shown(rememberedFolder) + "/" + document.fileName();
}

void DocumentSession::Load(const std::string& path) {
    const std::string bytes = ReadDocumentFile(path);
    encoding_ = EncodingOf(bytes);
    SetLines(SplitDocument(bytes));
    // The character line is not in the file read: while it holds anything, closing asks.
    c_.Memo1->document()->setModified(false);
    savedCharacterLine_.clear();
    known_.Remember(path);
    folderUsed_(path, false);
}

void DocumentSession::Write(const std::string& chosen) {
    std::string path = chosen;
    if (!known_.MayReplace(dialogs_, path)) return;
    if (path != chosen) {  // saved beside it: that is the document now
        path_ = path;
        pathChanged_();
    }
    WriteDocumentFile(path, JoinDocument(LinesToSave()));
    MarkSaved();
    known_.Remember(path);
    folderUsed_(path, true);
}

std::vector<std::string> DocumentSession::LinesToSave() const {
    std::vector<std::string> lines = Lines();
    const std::string line = FromQString(c_.Edit1->text(), encoding_);
    if (line.empty()) return lines;
    if (!lines.empty() && lines.back().empty()) {
        lines.back() = line;
    } else {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> DocumentSession::Lines() const {
    return TextAreaLines(c_.Memo1, encoding_);
}

void DocumentSession::SetLines(const std::vector<std::string>& lines) {
    SetTextAreaLines(c_.Memo1, lines, encoding_);
}

}  // namespace glidtavla
