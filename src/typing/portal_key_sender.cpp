#include "typing/portal_key_sender.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>
#include <QVariantMap>
#include <deque>

#include <xkbcommon/xkbcommon.h>

#include "base/errors.h"

namespace glidtavla {

namespace {

const QString kService = "org.freedesktop.portal.Desktop";
const QString kPath = "/org/freedesktop/portal/desktop";
const QString kInterface = "org.freedesktop.portal.RemoteDesktop";
constexpr unsigned kKeyboard = 1;
constexpr unsigned kPersistUntilRevoked = 2;
// The user is asked, and may take a while to answer.
constexpr int kAnswerMs = 5 * 60 * 1000;
// A call the portal itself answers at once; a desktop that does not is not waited for longer.
constexpr int kCallMs = 3000;

const std::string kNotAnswering = "Skrivbordets fjärrstyrning (portalen RemoteDesktop) svarar inte";
const std::string kEnded =
    "Skrivbordet avslutade fjärrstyrningen, så inget mer skrivs i andra program";

QDBusMessage PortalCall(const QString& method, const QList<QVariant>& arguments,
                        const QString& interface = kInterface) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    call.setArguments(arguments);
    return call;
}

// A method call answered within kCallMs; the window's events are handled meanwhile.
QDBusMessage CallPortal(const QString& method, const QList<QVariant>& arguments,
                        const QString& interface = kInterface) {
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        PortalCall(method, arguments, interface), QDBus::BlockWithGui, kCallMs);
    if (reply.type() != QDBusMessage::ErrorMessage) return reply;
    if (reply.errorName() == "org.freedesktop.DBus.Error.NoReply" ||
        reply.errorName() == "org.freedesktop.DBus.Error.Timeout") {
        throw Error(kNotAnswering + ".");
    }
    throw Error("Skrivbordets fjärrstyrning svarade med ett fel (" +
                reply.errorName().toStdString() + ").");
}

unsigned PortalProperty(const QString& name) {
    const QDBusMessage reply =
        CallPortal("Get", {kInterface, name}, "org.freedesktop.DBus.Properties");
    return reply.arguments().value(0).value<QDBusVariant>().variant().toUInt();
}

QString Token() {
    return QString("glidtavla%1").arg(QRandomGenerator::global()->generate());
}

// The path a request of this connection with this token answers on.
QString RequestPath(const QString& token) {
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace('.', '_');
    return kPath + "/request/" + sender + "/" + token;
}

}  // namespace

// Waits for a portal request's answer, and hears when the session is closed.
class PortalSession : public QObject {
    Q_OBJECT

  public:
    PortalSession() = default;

    // Calls a method that answers through a request, and waits for the answer's results.
    QVariantMap Request(const QString& method, QList<QVariant> arguments, QVariantMap options) {
        const QString token = Token();
        options["handle_token"] = token;
        arguments << options;
        const QString path = RequestPath(token);
        QDBusConnection::sessionBus().connect(kService, path, "org.freedesktop.portal.Request",
                                              "Response", this, SLOT(Answered(uint, QVariantMap)));
        answered_ = false;
        try {
            CallPortal(method, arguments);
        } catch (...) {
            QDBusConnection::sessionBus().disconnect(kService, path,
                                                     "org.freedesktop.portal.Request", "Response",
                                                     this, SLOT(Answered(uint, QVariantMap)));
            throw;
        }
        QEventLoop loop;
        QTimer::singleShot(kAnswerMs, &loop, &QEventLoop::quit);
        connect(this, &PortalSession::Done, &loop, &QEventLoop::quit);
        if (!answered_) loop.exec();
        QDBusConnection::sessionBus().disconnect(kService, path, "org.freedesktop.portal.Request",
                                                 "Response", this,
                                                 SLOT(Answered(uint, QVariantMap)));
        if (!answered_) throw Error("Skrivbordet svarade inte på frågan om fjärrstyrning.");
        if (response_ == 1) {
            throw Error("Skrivbordet gav inte lov att skriva i andra program (frågan avböjdes).");
        }
        if (response_ != 0)
            throw Error("Skrivbordet kunde inte ge lov att skriva i andra program.");
        return results_;
    }

    void Open(const std::string& restoreToken,
              const std::function<void(const std::string&)>& keepToken) {
        if ((PortalProperty("AvailableDeviceTypes") & kKeyboard) == 0)
            throw Error("Skrivbordets fjärrstyrning erbjuder inget tangentbord.");
        const unsigned version = PortalProperty("version");
        const QVariantMap created =
            Request("CreateSession", {}, {{"session_handle_token", Token()}});
        session_ = QDBusObjectPath(created.value("session_handle").toString());
        if (session_.path().isEmpty()) throw Error("Skrivbordet gav ingen fjärrstyrningssession.");
        QDBusConnection::sessionBus().connect(kService, session_.path(),
                                              "org.freedesktop.portal.Session", "Closed", this,
                                              SLOT(Closed()));
        QVariantMap select{{"types", kKeyboard}};
        if (version >= 2) {
            select["persist_mode"] = kPersistUntilRevoked;
            if (!restoreToken.empty())
                select["restore_token"] = QString::fromStdString(restoreToken);
        }
        Request("SelectDevices", {QVariant::fromValue(session_)}, select);
        const QVariantMap started =
            Request("Start", {QVariant::fromValue(session_), QString()}, {});
        if ((started.value("devices").toUInt() & kKeyboard) == 0) {
            throw Error("Skrivbordet gav inte lov att använda tangentbordet.");
        }
        const QString token = started.value("restore_token").toString();
        if (!token.isEmpty() && keepToken) keepToken(token.toStdString());
    }

    // Keys go out in order, each once the portal has taken the one before, and the window
    // never waits for them: a desktop that stops answering is heard of at the first key after
    // the unanswered one timed out.
    void Key(xkb_keysym_t keysym) {
        if (!failure_.empty()) {
            closed_ = true;
            throw Error(failure_);
        }
        if (closed_) throw Error(kEnded + ".");
        for (const unsigned state : {1U, 0U})
            keys_.push_back({keysym, state});
        SendNext();
    }

    ~PortalSession() override {
        // What is still to be sent goes out first, for as long as one call may take.
        QElapsedTimer waited;
        waited.start();
        while (inFlight_ != nullptr && waited.elapsed() < kCallMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (session_.path().isEmpty() || closed_) return;
        QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall(kService, session_.path(),
                                           "org.freedesktop.portal.Session", "Close"),
            QDBus::NoBlock);
    }

  signals:
    void Done();

  private slots:
    void Answered(uint response, const QVariantMap& results) {
        answered_ = true;
        response_ = response;
        results_ = results;
        emit Done();
    }
    void Closed() { closed_ = true; }

  private:
    struct Keysym {
        xkb_keysym_t Code;
        unsigned State;  // 1 pressed, 0 released
    };

    void SendNext() {
        if (inFlight_ != nullptr || keys_.empty() || !failure_.empty()) return;
        const Keysym key = keys_.front();
        keys_.pop_front();
        inFlight_ = new QDBusPendingCallWatcher(
            QDBusConnection::sessionBus().asyncCall(
                PortalCall("NotifyKeyboardKeysym", {QVariant::fromValue(session_), QVariantMap(),
                                                    static_cast<int>(key.Code), key.State}),
                kCallMs),
            this);
        connect(inFlight_, &QDBusPendingCallWatcher::finished, this, [this] {
            const QDBusError error = inFlight_->error();
            inFlight_->deleteLater();
            inFlight_ = nullptr;
            if (!error.isValid()) {
                SendNext();
                return;
            }
            keys_.clear();
            const bool silent =
                error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout;
            // The portal forgets a session the desktop closed before its signal reaches us.
            failure_ = silent ? kNotAnswering + ", så inget mer skrivs i andra program."
                              : kEnded + " (" + error.message().toStdString() + ").";
        });
    }

    QDBusObjectPath session_;
    std::deque<Keysym> keys_;                      // still to be sent, in order
    QDBusPendingCallWatcher* inFlight_ = nullptr;  // the one the portal is taking
    std::string failure_;                          // why the keys stopped, said at the next
    bool answered_ = false;
    bool closed_ = false;
    uint response_ = 2;
    QVariantMap results_;
};

namespace {

class PortalKeySender : public KeySender {
  public:
    PortalKeySender(const std::string& restoreToken,
                    const std::function<void(const std::string&)>& keepToken) {
        if (!QDBusConnection::sessionBus().isConnected()) {
            throw Error("Skriv i andra program behöver sessionens D-Bus, och den nås inte.");
        }
        session_.Open(restoreToken, keepToken);
    }

    void Send(const KeyAction& action) override {
        switch (action.Type) {
            case KeyAction::Kind::Character:
                session_.Key(xkb_utf32_to_keysym(action.Character));
                break;
            case KeyAction::Kind::Return:
                session_.Key(XKB_KEY_Return);
                break;
            case KeyAction::Kind::BackSpace:
                for (int i = 0; i < action.Count; ++i)
                    session_.Key(XKB_KEY_BackSpace);
                break;
        }
    }

  private:
    PortalSession session_;
};

}  // namespace

bool RemoteDesktopPortalPresent() {
    if (!QDBusConnection::sessionBus().isConnected()) return false;
    // The bus itself answers these, never the portal, so a portal that hangs holds nothing up.
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (bus->isServiceRegistered(kService)) return true;
    const QDBusMessage activatable = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "ListActivatableNames"),
        QDBus::Block, kCallMs);
    return activatable.arguments().value(0).toStringList().contains(kService);
}

std::unique_ptr<KeySender> OpenPortalKeySender(const std::string& restoreToken,
                                               std::function<void(const std::string&)> keepToken) {
    return std::make_unique<PortalKeySender>(restoreToken, keepToken);
}

}  // namespace glidtavla

#include "portal_key_sender.moc"
