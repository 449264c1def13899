#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/settings/settings.h"

class QWidget;

namespace glidtavla {

class CompactPanel;
class PointerAids;
class SpeedLine;
class TypingMode;
class WindowZoom;
class WordPrediction;

// What the window keeps between runs: read once before the window shows, and written from
// the objects that hold each setting whenever one changes. Without a store nothing is read or
// kept.
class SettingsKeeper {
  public:
    SettingsKeeper(const QWidget& window, const WindowZoom& zoom, const TypingMode& typing,
                   const SpeedLine& speed, const CompactPanel& panel,
                   const WordPrediction& prediction, const PointerAids& aids)
        : window_(window),
          zoom_(zoom),
          typing_(typing),
          speed_(speed),
          panel_(panel),
          prediction_(prediction),
          aids_(aids) {}

    const Settings& Use(std::unique_ptr<SettingsStore> store);
    // Told once, the first time the settings cannot be kept.
    void OnFailure(std::function<void(const QString&)> report) { report_ = std::move(report); }
    // Nothing is worth keeping before the window shows.
    void Activate() { active_ = true; }
    void Remember();
    void RememberBoard(const RememberedBoard& board);
    void RememberDocumentFolder(const std::string& documentPath);

    const RememberedBoard& Board() const { return settings_.board; }
    const std::string& DocumentFolder() const { return settings_.documentFolder; }
    const QByteArray& Geometry() const { return settings_.geometry; }
    const QByteArray& PanelGeometry() const { return settings_.panelGeometry; }
    const std::string& PortalToken() const { return settings_.portalToken; }
    void KeepPortalToken(const std::string& token);

  private:
    const QWidget& window_;
    const WindowZoom& zoom_;
    const TypingMode& typing_;
    const SpeedLine& speed_;
    const CompactPanel& panel_;
    const WordPrediction& prediction_;
    const PointerAids& aids_;
    std::unique_ptr<SettingsStore> store_;
    Settings settings_;
    bool active_ = false;
    std::function<void(const QString&)> report_;
    bool reported_ = false;
};

}  // namespace glidtavla
