#include "app/contrast/high_contrast.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QMenu>

#include "app/form/colours.h"

namespace glidtavla {

namespace {

const char* const kPortal = "org.freedesktop.portal.Desktop";
const char* const kPath = "/org/freedesktop/portal/desktop";
const char* const kSettings = "org.freedesktop.portal.Settings";

// The two keys that say high contrast, and whether a value of theirs does.
bool SaysHigh(const QString& group, const QString& key, QVariant value) {
    // Portals wrap the value in one or two variants.
    while (value.canConvert<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    if (group == "org.freedesktop.appearance" && key == "contrast") return value.toUInt() == 1;
    return value.toBool();
}

bool Watched(const QString& group, const QString& key) {
    return (group == "org.freedesktop.appearance" && key == "contrast") ||
           (group == "org.gnome.desktop.a11y.interface" && key == "high-contrast");
}

}  // namespace

HighContrast::HighContrast(QObject* parent, QMenu* menu, std::function<void()> recolour)
    : QObject(parent), recolour_(std::move(recolour)) {
    item_ = menu->addAction("Hög kontrast");
    item_->setObjectName("HogKontrast");
    item_->setCheckable(true);
    connect(item_, &QAction::triggered, this, [this](bool on) {
        Use(on ? Choice::High : Choice::Normal);
        if (changed_) changed_();
    });
    AskDesktop();
}

HighContrast::Choice HighContrast::Read(const SettingValues& values) {
    const QString value = values.Value("view/contrast").toString();
    return value == "high" ? Choice::High : value == "normal" ? Choice::Normal : Choice::Desktop;
}

void HighContrast::Write(Choice choice, SettingValues& values) {
    values.Set("view/contrast", choice == Choice::High     ? "high"
                                : choice == Choice::Normal ? "normal"
                                                           : "desktop");
}

bool HighContrast::On() const {
    return choice_ == Choice::High || (choice_ == Choice::Desktop && !desktopHigh_.isEmpty());
}

void HighContrast::Use(Choice choice) {
    choice_ = choice;
    Apply();
}

void HighContrast::DesktopSays(const QString& key, bool high) {
    if (high) {
        desktopHigh_.insert(key);
    } else {
        desktopHigh_.remove(key);
    }
    Apply();
}

void HighContrast::Apply() {
    item_->setChecked(On());
    if (On() == shown_) return;
    shown_ = On();
    UseHighContrast(shown_);
    recolour_();
}

// Asked without waiting: a desktop without the portal, or one slow to answer, holds nothing up.
void HighContrast::AskDesktop() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    bus.connect(kPortal, kPath, kSettings, "SettingChanged", this,
                SLOT(SettingChanged(QDBusMessage)));
    for (const auto& [group, key] : {std::pair{"org.freedesktop.appearance", "contrast"},
                                     {"org.gnome.desktop.a11y.interface", "high-contrast"}}) {
        QDBusMessage read = QDBusMessage::createMethodCall(kPortal, kPath, kSettings, "Read");
        read << QString(group) << QString(key);
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(read, 2000), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, group = QString(group), key = QString(key)](QDBusPendingCallWatcher* w) {
                    w->deleteLater();
                    const QDBusPendingReply<QDBusVariant> reply = *w;
                    if (reply.isValid())
                        DesktopSays(key, SaysHigh(group, key, reply.value().variant()));
                });
    }
}

void HighContrast::SettingChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 3) return;
    const QString group = arguments[0].toString(), key = arguments[1].toString();
    if (Watched(group, key)) DesktopSays(key, SaysHigh(group, key, arguments[2]));
}

}  // namespace glidtavla
