#include "app/settings/settings.h"

#include <QSettings>
#include <QStandardPaths>

#include "app/zoom/board_zoom.h"

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

}  // namespace

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

QString SettingsStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Glidtavla/glidtavla.conf";
}

Settings SettingsStore::Load() const {
    const QSettings ini(path_, QSettings::IniFormat);
    Settings settings;
    if (ini.status() != QSettings::NoError) return settings;
    bool ok = false;
    const int zoom = ini.value("view/zoom").toInt(&ok);
    if (ok && zoom >= kMinZoom && zoom <= kMaxZoom) settings.zoom = zoom;
    settings.zoomToWindow = ini.value("view/zoomToWindow").toString() == "true";
    settings.speedLine = ini.value("view/speedLine").toString() == "true";
    settings.sendKeys = ini.value("typing/sendKeys").toString() == "true";
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

void SettingsStore::Save(const Settings& settings) const {
    QSettings ini(path_, QSettings::IniFormat);
    ini.clear();
    ini.setValue("view/zoom", settings.zoom);
    ini.setValue("view/zoomToWindow", settings.zoomToWindow);
    ini.setValue("view/speedLine", settings.speedLine);
    ini.setValue("typing/sendKeys", settings.sendKeys);
    ini.setValue("board/kind", KindName(settings.board.kind));
    ini.setValue("board/table", QByteArray::fromStdString(settings.board.table));
    ini.setValue("board/picture", QByteArray::fromStdString(settings.board.picture));
    ini.setValue("document/folder", QByteArray::fromStdString(settings.documentFolder));
    ini.setValue("window/geometry", settings.geometry);
    ini.setValue("window/panelGeometry", settings.panelGeometry);
    ini.sync();
}

}  // namespace glidtavla
