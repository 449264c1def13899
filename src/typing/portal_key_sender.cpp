#include "typing/portal_key_sender.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>
#include <QVariantMap>

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
    PortalSession() : portal_(kService, kPath, kInterface, QDBusConnection::sessionBus()) {}

    // Calls a method that answers through a request, and waits for the answer's results.
    QVariantMap Request(const QString& method, QList<QVariant> arguments, QVariantMap options) {
        const QString token = Token();
        options["handle_token"] = token;
        arguments << options;
        const QString path = RequestPath(token);
        QDBusConnection::sessionBus().connect(kService, path, "org.freedesktop.portal.Request",
                                              "Response", this, SLOT(Answered(uint, QVariantMap)));
        answered_ = false;
        const QDBusMessage reply = portal_.callWithArgumentList(QDBus::Block, method, arguments);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            throw Error(("Skrivbordets fjärrstyrning svarade med ett fel: " + reply.errorMessage())
                            .toStdString());
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
        const unsigned version = portal_.property("version").toUInt();
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

    void Key(xkb_keysym_t keysym) {
        const std::string ended =
            "Skrivbordet avslutade fjärrstyrningen, så inget mer skrivs i andra program";
        if (closed_) throw Error(ended + ".");
        for (const unsigned state : {1U, 0U}) {
            const QDBusMessage reply =
                portal_.call(QDBus::Block, "NotifyKeyboardKeysym", QVariant::fromValue(session_),
                             QVariantMap(), static_cast<int>(keysym), state);
            // The portal forgets a session the desktop closed before its signal reaches us.
            if (reply.type() == QDBusMessage::ErrorMessage) {
                closed_ = true;
                throw Error(ended + " (" + reply.errorMessage().toStdString() + ").");
            }
        }
    }

    ~PortalSession() override {
        if (session_.path().isEmpty() || closed_) return;
        QDBusInterface(kService, session_.path(), "org.freedesktop.portal.Session",
                       QDBusConnection::sessionBus())
            .call(QDBus::NoBlock, "Close");
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
    QDBusInterface portal_;
    QDBusObjectPath session_;
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

PortalOffer AskRemoteDesktopPortal() {
    if (!QDBusConnection::sessionBus().isConnected()) return {};
    QDBusInterface portal(kService, kPath, kInterface, QDBusConnection::sessionBus());
    if (!portal.isValid()) return {};
    const unsigned types = portal.property("AvailableDeviceTypes").toUInt();
    return {(types & kKeyboard) != 0, portal.property("version").toUInt()};
}

std::unique_ptr<KeySender> OpenPortalKeySender(const std::string& restoreToken,
                                               std::function<void(const std::string&)> keepToken) {
    return std::make_unique<PortalKeySender>(restoreToken, keepToken);
}

}  // namespace glidtavla

#include "portal_key_sender.moc"
