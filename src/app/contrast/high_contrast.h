#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

#include "app/form/setting_values.h"

class QAction;
class QMenu;

namespace glidtavla {

// "Visa > Hög kontrast": the window's colours at 7:1 or more. Until the user chooses, it follows
// the desktop's high-contrast setting where the desktop publishes one (the settings portal's
// appearance contrast, GNOME's high-contrast key).
class HighContrast : public QObject {
    Q_OBJECT

  public:
    enum class Choice { Desktop, High, Normal };
    // recolour is told whenever the colours change.
    HighContrast(QObject* parent, QMenu* menu, std::function<void()> recolour);

    void Use(Choice choice);
    Choice Current() const { return choice_; }
    bool On() const;
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }
    // What the desktop says of one of its keys, as it says it (also for tests).
    void DesktopSays(const QString& key, bool high);

    static Choice Read(const SettingValues& values);
    static void Write(Choice choice, SettingValues& values);

  private slots:
    void SettingChanged(const QDBusMessage& message);

  private:
    void AskDesktop();
    void Apply();

    QAction* item_;
    std::function<void()> recolour_;
    std::function<void()> changed_;
    Choice choice_ = Choice::Desktop;
    QSet<QString> desktopHigh_;  // the desktop's keys that say high contrast
    bool shown_ = false;         // high contrast as now shown
};

}  // namespace glidtavla
