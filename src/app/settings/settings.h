#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace glidtavla {

// The board the user chose last, to load again at the next start.
struct RememberedBoard {
    enum class Kind { BuiltIn, Drawn, Picture };
    Kind kind = Kind::BuiltIn;
    std::string table;    // path bytes; for Drawn and Picture
    std::string picture;  // path bytes; for Picture
};

// Word prediction as the user set it.
struct PredictionSettings {
    bool on = true;
    bool learn = true;
    int pointer = 0;  // mouse, trackball, head mouse
    bool column = false;
    friend bool operator==(const PredictionSettings&, const PredictionSettings&) = default;
};

// What the user set for a pointer that trembles or cannot click.
struct PointerAidSettings {
    int guardPixels = 0;      // "Darrskydd": 0 (Av), 4, 8 or 12
    bool dwellPress = false;  // "Tryck genom att vila"
    int dwellMs = 1000;       // 500 to 3000
    friend bool operator==(const PointerAidSettings&, const PointerAidSettings&) = default;
};

// What is kept between runs.
struct Settings {
    int zoom = 100;
    bool zoomToWindow = false;
    bool sendKeys = false;
    std::string portalToken;  // the desktop's permission to type, kept from the last time
    bool speedLine = false;
    PredictionSettings prediction;
    PointerAidSettings pointerAids;
    RememberedBoard board;
    std::string documentFolder;  // path bytes
    QByteArray geometry;         // QWidget::saveGeometry
    QByteArray panelGeometry;    // the panel of "Skriv i andra program"
};

// The settings in an INI file, by default the desktop's usual place (~/.config/Glidtavla/).
// A damaged or foreign file gives the defaults for whatever cannot be read, never a failure.
class SettingsStore {
  public:
    explicit SettingsStore(QString path = DefaultPath());
    Settings Load() const;
    // What went wrong, or empty when the settings were kept.
    std::string Save(const Settings& settings) const;
    static QString DefaultPath();

  private:
    QString path_;
};

}  // namespace glidtavla
