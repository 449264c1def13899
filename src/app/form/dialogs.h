#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace glidtavla {

// The six file dialogs of the window.
enum class DialogKind {
    OpenDialog1,         // open a document
    SaveDialog1,         // save a document as
    OpenDialog2,         // run a demo
    SaveDialog2,         // record a demo
    OpenDialog3,         // a board without picture
    OpenPictureDialog1,  // a board with picture
};

// The answer to "Spara ändringarna i <name>?".
enum class SaveChoice { Save, Discard, Cancel };
// A save over a file this program did not write last: replace it, save beside it under a free
// name, or save nothing.
enum class ReplaceChoice { Replace, SaveBeside, Cancel };

// Where the window meets the user outside its own controls; tests script it.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<QString> Ask(DialogKind kind, const QString& preset) = 0;
    virtual void ShowError(const QString& message) = 0;
    virtual SaveChoice AskToSave(const QString& documentName) = 0;
    virtual ReplaceChoice AskToReplace(const QString& documentName, const QString& freeName) = 0;
    // A yes-or-no question before something that cannot be undone; yes unless overridden.
    virtual bool Confirm(const QString& /*question*/) { return true; }
};

// The real dialogs and message box.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}
    // The program's own file chooser instead of Qt's while On says so; Line is the character
    // line, offered as a name when saving (and kept: it is the user's text); Recent the
    // documents used lately, offered first when opening one.
    struct OwnChooser {
        std::function<bool()> On;
        std::function<QString()> Line;
        std::function<QStringList()> Recent;
    };
    void UseOwnChooser(OwnChooser chooser) { own_ = std::move(chooser); }
    std::optional<QString> Ask(DialogKind kind, const QString& preset) override;
    void ShowError(const QString& message) override;
    SaveChoice AskToSave(const QString& documentName) override;
    ReplaceChoice AskToReplace(const QString& documentName, const QString& freeName) override;
    bool Confirm(const QString& question) override;

  private:
    std::optional<QString> AskOwn(DialogKind kind, const QString& preset);

    QWidget* parent_;
    OwnChooser own_;
};

// Qt name filters from a "description|pattern|description|pattern" filter.
QStringList NameFilters(const QString& filter);

}  // namespace glidtavla
