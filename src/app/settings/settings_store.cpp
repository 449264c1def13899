#include "app/settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "base/errors.h"
#include "base/files.h"

namespace glidtavla {

namespace {

constexpr std::size_t kMaxSettingsFile = 1 << 20;

}  // namespace

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

QString SettingsStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Glidtavla/glidtavla.conf";
}

// Read from a regular file only, through a private copy: QSettings would wait on a FIFO or on
// its own lock file for ever.
SettingValues SettingsStore::Load() const {
    SettingValues settings;
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
    for (const QString& key : ini.allKeys())
        settings.Set(key, ini.value(key));
    return settings;
}

// Made in a private file, then written whole under a lock taken with a short timeout.
std::string SettingsStore::Save(const SettingValues& settings) const {
    QTemporaryFile made;
    if (!made.open()) return "the temporary folder takes no file";
    made.close();
    {
        QSettings ini(made.fileName(), QSettings::IniFormat);
        for (const auto& [key, value] : settings.All())
            ini.setValue(key, value);
        ini.sync();
        if (ini.status() != QSettings::NoError) return "they could not be written";
    }
    QFile file(made.fileName());
    if (!file.open(QIODevice::ReadOnly)) return "they could not be written";
    const QByteArray bytes = file.readAll();
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const std::string path = QFile::encodeName(path_).toStdString();
    const FileLock lock(path + ".lock");
    if (!lock.Held()) return "another program holds them";
    try {
        // Where the documents are and the desktop's permission to type: the owner's alone.
        WriteRegularFile(path, bytes.toStdString(), 0600);
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

}  // namespace glidtavla
