#pragma once

#include <QString>

#include <string>

#include "app/form/setting_values.h"

namespace glidtavla {

// The settings in an INI file, by default the desktop's usual place (~/.config/Glidtavla/).
// It knows no feature: each reads and writes its own keys. A damaged or foreign file gives the
// defaults for whatever cannot be read, never a failure.
class SettingsStore {
  public:
    explicit SettingsStore(QString path = DefaultPath());
    SettingValues Load() const;
    // What went wrong, or empty when the settings were kept.
    std::string Save(const SettingValues& settings) const;
    static QString DefaultPath();

  private:
    QString path_;
};

}  // namespace glidtavla
