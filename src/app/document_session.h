#pragma once

#include <QString>

#include <functional>
#include <map>
#include <string>

#include "app/form/form_controls.h"
#include "app/form/guard.h"
#include "app/known_files.h"
#include "base/files.h"
#include "text/document.h"

namespace glidtavla {

class Dialogs;

// The text area as a document: its path and encoding, opening, saving, and whether closing
// would lose anything.
class DocumentSession {
  public:
    // pathChanged: the caption names the path; folderUsed: a path read or written (written
    // true), for the settings' document folder and what a save lets the program learn.
    DocumentSession(const FormControls& controls, Dialogs& dialogs,
                    std::function<void()> pathChanged,
                    std::function<void(const std::string&, bool written)> folderUsed);

    const std::string& Path() const { return path_; }
    // Started without a document, the program names one in the start folder, not read.
    void Name(const std::string& path) { path_ = path; }
    void Load(const std::string& path);
    // Named but not there: a notice, and the next save creates it.
    void ShowMissing();
    void Open(const QString& presetFolder);
    void Save();
    void SaveAs();
    bool Changed() const;
    // Asks first when closing, or opening another document, would lose something; false to
    // keep it.
    bool MayClose(const Guard& guarded);
    // The open dialog starts where the last document was, until this one exists.
    QString Preset(const std::string& rememberedFolder) const;
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    // What a save writes: the text area, and the character line as its last line, so a save
    // keeps everything that closing would ask about.
    std::vector<std::string> LinesToSave() const;

  private:
    void Write(const std::string& path);
    void MarkSaved();

    const FormControls& c_;
    Dialogs& dialogs_;
    std::function<void()> pathChanged_;
    std::function<void(const std::string&, bool written)> folderUsed_;
    std::string path_;
    TextEncoding encoding_ = TextEncoding::Windows1252;
    KnownFiles known_;
    QString savedCharacterLine_;
};

}  // namespace glidtavla
