// glidtavla-write-builtin-picture OUT.png: the built-in board's picture, drawn at build time so
// that the window need not load its fonts to start.
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "pictures/builtin_picture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: glidtavla-write-builtin-picture OUT.png\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!glidtavla::DrawBuiltInBoardPicture().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
