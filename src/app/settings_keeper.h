#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

#include "app/settings/settings_store.h"

class QWidget;

namespace glidtavla {

class CompactPanel;
class HighContrast;
class Dialogs;
class PointerAids;
class SpeedLine;
class Speech;
class TypingMode;
class WindowZoom;
class WordPrediction;

// The board the user chose last, to load again at the next start.
struct RememberedBoard {
    enum class Kind { BuiltIn, Drawn, Picture };
    Kind Type = Kind::BuiltIn;
    std::string Table;    // path bytes; for Drawn and Picture
    std::string Picture;  // path bytes; for Picture
    static RememberedBoard Read(const SettingValues& values);
    void Write(SettingValues& values) const;
};

// What the window keeps between runs: read once before the window shows, and written whenever
// a setting changes, each feature's own section by that feature. Without a store nothing is
// read or kept.
class SettingsKeeper {
  public:
    SettingsKeeper(QWidget& window, WindowZoom& zoom, TypingMode& typing, SpeedLine& speed,
                   const CompactPanel& panel, WordPrediction& prediction, PointerAids& aids,
                   Speech& speech, HighContrast& contrast);
    ~SettingsKeeper();

    // Reads the settings and puts each feature's in force.
    void Use(std::unique_ptr<SettingsStore> store);
    // Told once, the first time the settings cannot be kept, when the window is free again: a
    // failure to keep settings never holds up closing.
    void ReportFailuresTo(Dialogs& dialogs) { dialogs_ = &dialogs; }
    // Nothing is kept before the window shows and has taken its place; what changed meanwhile
    // (a document read, a remembered board gone) is kept then.
    void Activate();
    void Remember();
    // The last time, as the window closes: a failure is said now, over the window, not after it
    // has gone.
    void RememberAtClose();
    void RememberBoard(const RememberedBoard& board);
    // The folder of a document opened or saved, and the document among the recent ones.
    void RememberDocumentFolder(const std::string& documentPath);
    // The documents opened or saved lately, newest first.
    QStringList RecentDocuments() const;
    static constexpr int kRecentDocuments = 6;

    // Whether the first start's questions are still to be asked: never without a store.
    bool FirstStartDue() const { return store_ && !values_.Flag("firstStart/asked", false); }
    void FirstStartAsked() {
        values_.Set("firstStart/asked", true);
        Remember();
    }

    const RememberedBoard& Board() const { return board_; }
    std::string DocumentFolder() const { return values_.Bytes("document/folder"); }
    QByteArray Geometry() const { return values_.Value("window/geometry").toByteArray(); }
    QByteArray PanelGeometry() const { return values_.Value("window/panelGeometry").toByteArray(); }
    std::string PortalToken() const;
    void KeepPortalToken(const std::string& token);

  private:
    QWidget& window_;
    WindowZoom& zoom_;
    TypingMode& typing_;
    SpeedLine& speed_;
    const CompactPanel& panel_;
    WordPrediction& prediction_;
    PointerAids& aids_;
    Speech& speech_;
    HighContrast& contrast_;
    std::unique_ptr<SettingsStore> store_;
    SettingValues values_;
    RememberedBoard board_;
    bool active_ = false;
    bool changedBefore_ = false;
    Dialogs* dialogs_ = nullptr;
    bool closing_ = false;
    bool reported_ = false;
};

}  // namespace glidtavla
