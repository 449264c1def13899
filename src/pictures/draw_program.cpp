// glidtavla-draw KIND: draws the SVG (svg) or metafile (emf, wmf) read on standard input to
// pixels, for the window and glidtavla-cli, which start it for each such picture (see
// run_isolated.h). Writes "WIDTH HEIGHT\n" and the pixels as ARGB32 premultiplied, rows top to
// bottom; exits 1 when the drawing is not valid, 2 when used wrongly.
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstdio>
#include <string>

#include "pictures/metafile_decoder.h"
#include "pictures/picture_file.h"

namespace {

// As large as a picture file may be.
constexpr std::size_t kMaxInput = std::size_t{128} << 20;
// A board picture's drawing is small; a metafile that decodes to more is refused unrendered.
constexpr std::size_t kMaxDecodedSvg = 16U << 20;

bool ReadInput(std::string& bytes) {
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
        bytes.append(buffer, got);
        if (bytes.size() > kMaxInput) return false;
    }
    return std::ferror(stdin) == 0;
}

// Whether an element names something outside the picture: a file, or anything but a part of
// the picture itself ("#id") or data written into it ("data:").
bool RefersOutside(const QXmlStreamAttributes& attributes) {
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() != u"href") continue;
        const QStringView target = attribute.value().trimmed();
        if (!target.startsWith(u'#') && !target.startsWith(u"data:", Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// A board picture draws only what is inside it: an element that names a file is left out, so
// a picture cannot show, or wait on, the files of whoever opens it. Nothing when the drawing is
// not plain XML (a compressed SVG, say).
QByteArray OnlyWhatIsInside(const std::string& svg) {
    QXmlStreamReader in(QByteArray::fromStdString(svg));
    QByteArray out;
    QXmlStreamWriter writer(&out);
    int skipping = 0;  // depth inside a left-out element
    while (!in.atEnd()) {
        in.readNext();
        if (skipping > 0) {
            skipping += in.isStartElement() ? 1 : in.isEndElement() ? -1 : 0;
            continue;
        }
        if (in.isStartElement() && RefersOutside(in.attributes())) {
            skipping = 1;
            continue;
        }
        writer.writeCurrentToken(in);
    }
    return in.hasError() ? QByteArray() : out;
}

QImage RenderSvg(const std::string& svg) {
    const QByteArray inside = OnlyWhatIsInside(svg);
    if (inside.isEmpty()) return {};
    QSvgRenderer renderer(inside);
    const QSize size = renderer.defaultSize();
    if (!renderer.isValid() || size.isEmpty() || size.width() > glidtavla::kMaxPictureSide ||
        size.height() > glidtavla::kMaxPictureSide) {
        return {};
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

bool WriteImage(const QImage& image) {
    const std::string header =
        std::to_string(image.width()) + " " + std::to_string(image.height()) + "\n";
    bool written = std::fwrite(header.data(), 1, header.size(), stdout) == header.size();
    const auto row = static_cast<std::size_t>(image.width()) * 4;
    for (int y = 0; written && y < image.height(); ++y)
        written = std::fwrite(image.constScanLine(y), 1, row, stdout) == row;
    return std::fflush(stdout) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string kind = argc == 2 ? argv[1] : "";
    if (kind != "svg" && kind != "emf" && kind != "wmf") {
        std::fputs("usage: glidtavla-draw svg|emf|wmf < picture\n", stderr);
        return 2;
    }
    std::string bytes;
    if (!ReadInput(bytes)) return 1;
    // Text in a drawing needs the font database of a GUI application, but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (kind != "svg") {
        bytes = glidtavla::MetafileToSvg(bytes, kind == "emf" ? glidtavla::MetafileFormat::Enhanced
                                                              : glidtavla::MetafileFormat::Windows);
        if (bytes.empty() || bytes.size() > kMaxDecodedSvg) return 1;
    }
    const QImage image = RenderSvg(bytes);
    if (image.isNull()) return 1;
    return WriteImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)) ? 0 : 1;
}
