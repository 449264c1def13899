#pragma once

#include <QDialog>
#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QScrollArea;
class QVBoxLayout;

namespace glidtavla {

// A file chooser for a person who neither clicks nor types: large rows, each a button that a
// rest presses (the files used lately, the folder up, its folders, its files of the right kind,
// the ready boards),
// scrolled by resting on its arrows. Saving offers the free name, and the name written on the
// board's character line.
class FileChooser : public QDialog {
    Q_OBJECT

  public:
    struct Spec {
        QString Title;
        QStringList Patterns;  // "*.gtv"...; the files shown
        bool Save = false;
        QString Preset;       // the file or folder it opens at
        QString ReadyFolder;  // ready-made files, shown as a folder of their own; or empty
        QString LineName;     // the character line, offered as a name when saving
        QString Suffix;       // added to a name from the line without one
        QStringList Recent;   // files used lately, newest first: the first rows where it opens
    };
    FileChooser(QWidget* parent, Spec spec);

    std::optional<QString> Chosen() const { return chosen_; }
    // The rows shown, in order: for tests.
    QStringList Rows() const;

  private:
    void Show(const QDir& folder);
    void AddRow(const QString& name, const QString& text, std::function<void()> pressed);
    void Choose(const QString& path);
    void Scroll(int pages);

    Spec spec_;
    QScrollArea* scroll_;
    QWidget* rows_ = nullptr;
    QVBoxLayout* rowsLayout_ = nullptr;
    std::optional<QString> chosen_;
    bool opened_ = false;  // a folder was shown: the recent files are left behind
};

}  // namespace glidtavla
