#include "app/settings/settings.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <chrono>
#include <thread>

#include "app/zoom/board_zoom.h"
#include "board/errors.h"
#include "board/files.h"

namespace glidtavla {

namespace {

// Paths are kept as bytes, so a name that is not UTF-8 comes back as it was.
std::string PathBytes(const QSettings& ini, const char* key) {
    return ini.value(key).toByteArray().toStdString();
}

const char* KindName(RememberedBoard::Kind kind) {
    switch (kind) {
        case RememberedBoard::Kind::Drawn:
            return "drawn";
        case RememberedBoard::Kind::Picture:
            return "picture";
        case RememberedBoard::Kind::BuiltIn:
            break;
    }
    return "builtin";
}

constexpr std::size_t kMaxSettingsFile = 1 << 20;

// Holds the settings' lock file, taken within a short time or not at all: a lock held by a
// program that hangs, or a lock path that is no file, never holds us up.
class SettingsLock {
  public:
    explicit SettingsLock(const std::string& path) {
        fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd_ < 0) return;
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                held_ = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;
    ~SettingsLock() {
        if (fd_ >= 0) close(fd_);
    }
    bool Held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

QString SettingsStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Glidtavla/glidtavla.conf";
}

// Read from a regular file only, through a private copy: QSettings would wait on a FIFO or on
// its own lock file for ever.
Settings SettingsStore::Load() const {
    Settings settings;
    std::string bytes;
    const std::string path = QFile::encodeName(path_).toStdString();
    if (!IsRegularFile(path)) return settings;  // none yet: the defaults
    try {
        bool tooLarge = false;
        bytes = ReadRegularFile(path, kMaxSettingsFile, tooLarge);
        if (tooLarge) return settings;
    } catch (const Error&) {
        return settings;  // gone since, or not to be read: the defaults
    }
    QTemporaryFile copy;
    if (!copy.open() || copy.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0)
        return settings;
    copy.close();
    const QSettings ini(copy.fileName(), QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) return settings;
    bool ok = false;
    const int zoom = ini.value("view/zoom").toInt(&ok);
    if (ok && zoom >= kMinZoom && zoom <= kMaxZoom) settings.zoom = zoom;
    settings.zoomToWindow = ini.value("view/zoomToWindow").toString() == "true";
    settings.speedLine = ini.value("view/speedLine").toString() == "true";
    settings.sendKeys = ini.value("typing/sendKeys").toString() == "true";
    settings.portalToken = ini.value("typing/portalToken").toString().toStdString();
    settings.prediction.on = ini.value("prediction/on").toString() != "false";
    settings.prediction.learn = ini.value("prediction/learn").toString() != "false";
    settings.prediction.column = ini.value("prediction/column").toString() == "true";
    const int guard = ini.value("pointer/guardPixels").toInt(&ok);
    if (ok && (guard == 0 || guard == 4 || guard == 8 || guard == 12))
        settings.pointerAids.guardPixels = guard;
    settings.pointerAids.dwellPress = ini.value("pointer/dwellPress").toString() == "true";
    const int dwell = ini.value("pointer/dwellMs").toInt(&ok);
    if (ok && dwell >= 500 && dwell <= 3000) settings.pointerAids.dwellMs = dwell;
    const int pointer = ini.value("prediction/pointer").toInt(&ok);
    if (ok && pointer >= 0 && pointer <= 2) settings.prediction.pointer = pointer;
    const QString kind = ini.value("board/kind").toString();
    if (kind == "drawn" || kind == "picture") {
        settings.board.kind =
            kind == "drawn" ? RememberedBoard::Kind::Drawn : RememberedBoard::Kind::Picture;
        settings.board.table = PathBytes(ini, "board/table");
        settings.board.picture = PathBytes(ini, "board/picture");
        if (settings.board.table.empty() || (kind == "picture" && settings.board.picture.empty())) {
            settings.board = RememberedBoard{};
        }
    }
    settings.documentFolder = PathBytes(ini, "document/folder");
    settings.geometry = ini.value("window/geometry").toByteArray();
    settings.panelGeometry = ini.value("window/panelGeometry").toByteArray();
    return settings;
}

// Made in a private file, then written whole under a lock taken with a short timeout.
std::string SettingsStore::Save(const Settings& settings) const {
    QTemporaryFile made;
    if (!made.open()) return "the temporary folder takes no file";
    made.close();
    {
        QSettings ini(made.fileName(), QSettings::IniFormat);
        ini.setValue("view/zoom", settings.zoom);
        ini.setValue("view/zoomToWindow", settings.zoomToWindow);
        ini.setValue("view/speedLine", settings.speedLine);
        ini.setValue("typing/sendKeys", settings.sendKeys);
        ini.setValue("typing/portalToken", QString::fromStdString(settings.portalToken));
        ini.setValue("prediction/on", settings.prediction.on);
        ini.setValue("prediction/learn", settings.prediction.learn);
        ini.setValue("prediction/pointer", settings.prediction.pointer);
        ini.setValue("prediction/column", settings.prediction.column);
        ini.setValue("pointer/guardPixels", settings.pointerAids.guardPixels);
        ini.setValue("pointer/dwellPress", settings.pointerAids.dwellPress);
        ini.setValue("pointer/dwellMs", settings.pointerAids.dwellMs);
        ini.setValue("board/kind", KindName(settings.board.kind));
        ini.setValue("board/table", QByteArray::fromStdString(settings.board.table));
        ini.setValue("board/picture", QByteArray::fromStdString(settings.board.picture));
        ini.setValue("document/folder", QByteArray::fromStdString(settings.documentFolder));
        ini.setValue("window/geometry", settings.geometry);
        ini.setValue("window/panelGeometry", settings.panelGeometry);
        ini.sync();
        if (ini.status() != QSettings::NoError) return "they could not be written";
    }
    QFile file(made.fileName());
    if (!file.open(QIODevice::ReadOnly)) return "they could not be written";
    const QByteArray bytes = file.readAll();
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const std::string path = QFile::encodeName(path_).toStdString();
    const SettingsLock lock(path + ".lock");
    if (!lock.Held()) return "another program holds them";
    try {
        WriteRegularFile(path, bytes.toStdString());
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

}  // namespace glidtavla
