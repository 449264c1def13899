#include "app/speech/screen_reader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QWidget>

namespace glidtavla {

namespace {

// The widget a screen reader is told the announcements by: a notification, which Orca says
// whichever program has the focus.
const char* const kAnnouncement = "Meddelande till skarmlasare";
const char* const kAnnounced = "announced";
const char* const kTurn = "announcementTurn";

// Its name is what was last announced, read when the screen reader asks: setting a widget's
// name would be one more event for every announcement.
class Announcement : public QAccessibleWidget {
  public:
    explicit Announcement(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Notification) {}
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return widget()->property(kAnnounced).toString();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* AnnouncementRole(const QString& key, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (key != "QWidget" || widget == nullptr || widget->objectName() != kAnnouncement)
        return nullptr;
    return new Announcement(widget);
}

bool DesktopScreenReader() {
    QDBusMessage get = QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus",
                                                      "org.freedesktop.DBus.Properties", "Get");
    get.setArguments({"org.a11y.Status", "ScreenReaderEnabled"});
    get.setAutoStartService(false);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 200);
    return reply.type() == QDBusMessage::ReplyMessage &&
           reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
}

bool OrcaRunning() {
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm("/proc/" + pid + "/comm");
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "orca") return true;
    }
    return false;
}

}  // namespace

bool ScreenReaderRunning() {
    // Without assistive technology on the bus, Qt's bridge is off, and no reader listens.
    if (!QAccessible::isActive()) return false;
    // Asked at most every two seconds: a word is said far more often than a reader starts.
    static QElapsedTimer asked;
    static bool running = false;
    if (!asked.isValid() || asked.elapsed() > 2000) {
        running = DesktopScreenReader() || OrcaRunning();
        asked.start();
    }
    return running;
}

void AnnounceToScreenReader(QWidget* window, const QString& text) {
    static const bool installed = [] {
        QAccessible::installFactory(AnnouncementRole);
        return true;
    }();
    (void)installed;
    // Two notifications in turn: Orca drops a showing event when a later one of the same object
    // waits behind it, and a completion is often followed by its word at once.
    QList<QWidget*> notices =
        window->findChildren<QWidget*>(kAnnouncement, Qt::FindDirectChildrenOnly);
    while (notices.size() < 2) {
        auto* notice = new QWidget(window);
        notice->setObjectName(kAnnouncement);
        notice->setAttribute(Qt::WA_TransparentForMouseEvents);
        notice->setGeometry(0, 0, 1, 1);
        notice->hide();  // never drawn: shown to a screen reader only by the event below
        notices << notice;
    }
    const int turn = window->property(kTurn).toInt();
    window->setProperty(kTurn, 1 - turn);
    QWidget* notice = notices[turn];
    // A notification is said as it is shown.
    notice->setProperty(kAnnounced, text);
    QAccessibleEvent shown(notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace glidtavla
