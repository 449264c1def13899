// Fuzz entry for the picture loaders: the first byte chooses the kind, the rest is the file.
// Any bytes give a picture or an Error with the window's message, never a crash or a hang.
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/errors.h"
#include "pictures/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glidtavla;
    static int argc = 1;
    static char name[] = "picture_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = nullptr;  // for the whole run
    if (application == nullptr) {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = new QGuiApplication(argc, argv);
    }
    if (size == 0) return 0;
    constexpr PictureKind kKinds[] = {
        PictureKind::Bitmap,   PictureKind::Icon, PictureKind::EnhancedMetafile,
        PictureKind::Metafile, PictureKind::Png,  PictureKind::Jpeg,
        PictureKind::Svg};
    const PictureKind kind = kKinds[data[0] % std::size(kKinds)];
    try {
        DecodePicture(kind, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    } catch (const Error&) {
        // A broken picture is an ordinary outcome.
    }
    return 0;
}
