// glidtavla-write-builtin-picture OUT.pbm: the built-in board's picture, drawn at build time so
// that the window need not load its fonts to start.
#include <QGuiApplication>

#include <cstdio>

#include "base/errors.h"
#include "base/files.h"
#include "pictures/builtin_picture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: glidtavla-write-builtin-picture OUT.pbm\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        glidtavla::WriteRegularFile(argv[1], glidtavla::BuiltInPictureFile());
    } catch (const glidtavla::Error& error) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
