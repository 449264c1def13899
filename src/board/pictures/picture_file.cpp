#include "board/pictures/picture_file.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>

#include "board/errors.h"
#include "board/files.h"

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace glidtavla {

namespace {

constexpr qint64 kMaxPictureFile = 128LL << 20;
constexpr int kMaxSide = 8192;  // pixels a decoded picture may have on a side
constexpr int kDecodeSeconds = 10;
// A board picture's drawing is small; a metafile that decodes to more is refused, so neither
// the decoder's output nor its rendering can take the memory.
constexpr std::size_t kMaxDecodedSvg = 16U << 20;

[[noreturn]] void Fail(const char* message) {
    throw Error(message);
}
[[noreturn]] void StreamReadError() {
    Fail("Stream read error");
}

uint32_t Le32(std::string_view bytes, std::size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}
uint16_t Le16(std::string_view bytes, std::size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 (static_cast<uint8_t>(bytes[at + 1]) << 8));
}
int32_t LeS32(std::string_view bytes, std::size_t at) {
    return static_cast<int32_t>(Le32(bytes, at));
}

std::optional<PictureKind> KindOf(const std::string& extension) {
    std::string lower = extension;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "bmp") return PictureKind::Bitmap;
    if (lower == "ico") return PictureKind::Icon;
    if (lower == "emf") return PictureKind::EnhancedMetafile;
    if (lower == "wmf") return PictureKind::Metafile;
    if (lower == "png") return PictureKind::Png;
    if (lower == "jpg" || lower == "jpeg") return PictureKind::Jpeg;
    if (lower == "svg") return PictureKind::Svg;
    return std::nullopt;
}

std::string ExtensionOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return path.substr(dot + 1);
}

// The bitmap file header, the info header's size, and the pixel data it promises.
void CheckBitmap(std::string_view bytes) {
    if (bytes.size() < 2) StreamReadError();
    if (bytes[0] != 'B' || bytes[1] != 'M') Fail("Bitmap image is not valid");
    if (bytes.size() < 18) StreamReadError();
    const uint32_t infoSize = Le32(bytes, 14);
    if (infoSize < 12 || infoSize > 1024) Fail("Bitmap image is not valid");
    if (bytes.size() < 14 + infoSize) StreamReadError();
    int64_t width, height;
    uint32_t bits, compression = 0;
    if (infoSize == 12) {
        width = Le16(bytes, 18);
        height = static_cast<int16_t>(Le16(bytes, 20));
        bits = Le16(bytes, 24);
    } else {
        if (infoSize < 16) Fail("Bitmap image is not valid");
        width = LeS32(bytes, 18);
        height = LeS32(bytes, 22);
        bits = Le16(bytes, 28);
        compression = infoSize >= 20 ? Le32(bytes, 30) : 0;
    }
    const bool knownBits =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (width <= 0 || height == 0 || width > kMaxSide || std::abs(height) > kMaxSide ||
        !knownBits || compression > 3) {
        Fail("Bitmap image is not valid");
    }
    const uint32_t dataOffset = Le32(bytes, 10);
    if (dataOffset > bytes.size()) StreamReadError();
    if (compression == 0 || compression == 3) {
        const int64_t rowBytes = (width * bits + 31) / 32 * 4;
        if (int64_t{dataOffset} + rowBytes * std::abs(height) >
            static_cast<int64_t>(bytes.size())) {
            StreamReadError();
        }
    }
}

void CheckIcon(std::string_view bytes) {
    if (bytes.size() < 6) StreamReadError();
    const uint16_t count = Le16(bytes, 4);
    if (Le16(bytes, 0) != 0 || Le16(bytes, 2) != 1 || count == 0) Fail("Icon image is not valid");
    if (bytes.size() < 6 + 16u * count) StreamReadError();
    for (uint16_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16u * i;
        const uint64_t size = Le32(bytes, entry + 8);
        const uint64_t offset = Le32(bytes, entry + 12);
        if (size == 0 || offset < 6 + 16u * count) Fail("Icon image is not valid");
        if (offset + size > bytes.size()) StreamReadError();
    }
}

void CheckEnhancedMetafile(std::string_view bytes) {
    if (bytes.size() < 8) StreamReadError();
    if (Le32(bytes, 0) != 1) Fail("Metafile is not valid");  // EMR_HEADER
    const uint32_t headerSize = Le32(bytes, 4);
    if (headerSize < 88 || headerSize % 4 != 0) Fail("Metafile is not valid");
    if (bytes.size() < headerSize) StreamReadError();
    if (Le32(bytes, 40) != 0x464D4520) Fail("Metafile is not valid");  // " EMF"
    if (Le32(bytes, 48) > bytes.size()) StreamReadError();
    if (Le32(bytes, 48) < headerSize) Fail("Metafile is not valid");
    // The description must lie within the header: a decoder reads it without looking.
    const uint64_t descriptionLength = Le32(bytes, 60), descriptionOffset = Le32(bytes, 64);
    if (descriptionLength != 0 &&
        (descriptionOffset < 88 || descriptionOffset + 2 * descriptionLength > headerSize)) {
        Fail("Metafile is not valid");
    }
}

void CheckMetafile(std::string_view bytes) {
    std::size_t start = 0;
    if (bytes.size() >= 4 && Le32(bytes, 0) == 0x9AC6CDD7) {  // the placeable header
        if (bytes.size() < 22) StreamReadError();
        start = 22;
    }
    if (bytes.size() < start + 18) StreamReadError();
    const uint16_t type = Le16(bytes, start);
    if ((type != 1 && type != 2) || Le16(bytes, start + 2) != 9) Fail("Metafile is not valid");
    const uint64_t size = uint64_t{Le32(bytes, start + 6)} * 2;  // in 16-bit words
    if (size < 18) Fail("Metafile is not valid");
    if (start + size > bytes.size()) StreamReadError();
}

// Runs work in a child process and returns what it wrote, or nothing when the child crashed,
// failed or ran past the time limit: a third-party decoder cannot take the program with it.
std::optional<std::string> RunIsolated(const std::function<std::string()>& work) {
    int channel[2];
    if (pipe(channel) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(channel[0]);
        alarm(kDecodeSeconds);
        std::string out;
        try {
            out = work();
        } catch (...) {
            _exit(2);
        }
        if (out.size() > kMaxDecodedSvg) _exit(5);
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t wrote = write(channel[1], out.data() + done, out.size() - done);
            if (wrote <= 0) _exit(3);
            done += static_cast<std::size_t>(wrote);
        }
        _exit(out.empty() ? 4 : 0);
    }
    close(channel[1]);
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kDecodeSeconds);
    bool complete = false;
    char buffer[65536];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd fd{channel[0], POLLIN, 0};
        if (poll(&fd, 1, 100) < 0 && errno != EINTR) break;
        if (fd.revents == 0) continue;
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        out.append(buffer, static_cast<std::size_t>(got));
        if (out.size() > kMaxDecodedSvg) break;  // refused: a picture, not a flood
    }
    close(channel[0]);
    if (!complete) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

std::string EnhancedMetafileToSvg(std::string bytes) {
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.emfplus = true;
    options.svgDelimiter = true;
    char* svg = nullptr;
    size_t length = 0;
    if (emf2svg(bytes.data(), bytes.size(), &svg, &length, &options) == 0 || svg == nullptr) {
        free(svg);
        return "";
    }
    std::string out(svg, length);
    free(svg);
    return out;
}

// The SVG device writes embedded bitmaps to files it names; there are none to write.
char* NoImageFile(void*) {
    return nullptr;
}

std::string MetafileToSvg(std::string bytes) {
    wmfAPI* api = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api != nullptr) wmf_api_destroy(api);
        return "";
    }
    std::string out;
    wmfD_Rect bbox{};
    unsigned int width = 0, height = 0;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(bytes.data()),
                     static_cast<long>(bytes.size())) == wmf_E_None &&
        wmf_scan(api, 0, &bbox) == wmf_E_None &&
        wmf_display_size(api, &width, &height, 96, 96) == wmf_E_None && width > 0 && height > 0 &&
        width <= kMaxSide && height <= kMaxSide) {
        wmf_svg_t* device = WMF_SVG_GetData(api);
        device->out = wmf_stream_create(api, nullptr);
        device->Description = const_cast<char*>("Glidtavla");
        device->bbox = bbox;
        device->width = width;
        device->height = height;
        device->image.context = nullptr;
        device->image.name = NoImageFile;
        if (wmf_play(api, 0, &bbox) == wmf_E_None) {
            char* svg = nullptr;
            unsigned long length = 0;
            wmf_stream_destroy(api, device->out, &svg, &length);
            if (svg != nullptr) out.assign(svg, length);
            wmf_free(api, svg);
        }
    }
    wmf_api_destroy(api);
    return out;
}

const char* InvalidMessage(PictureKind kind) {
    switch (kind) {
        case PictureKind::Bitmap:
            return "Bitmap image is not valid";
        case PictureKind::Icon:
            return "Icon image is not valid";
        case PictureKind::EnhancedMetafile:
        case PictureKind::Metafile:
            return "Metafile is not valid";
        case PictureKind::Png:
            return "PNG image is not valid";
        case PictureKind::Jpeg:
            return "JPEG image is not valid";
        case PictureKind::Svg:
            return "SVG image is not valid";
    }
    return "Bitmap image is not valid";
}

QImage RenderSvg(const std::optional<std::string>& svg, PictureKind kind) {
    if (!svg) Fail(InvalidMessage(kind));
    QSvgRenderer renderer(QByteArray::fromStdString(*svg));
    const QSize size = renderer.defaultSize();
    if (!renderer.isValid() || size.isEmpty() || size.width() > kMaxSide ||
        size.height() > kMaxSide) {
        Fail(InvalidMessage(kind));
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The common raster kinds, through Qt's own readers; the size is checked before decoding.
QImage ReadRaster(const std::string& bytes, const char* format, PictureKind kind) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!reader.canRead() || size.isEmpty() || size.width() > kMaxSide ||
        size.height() > kMaxSide) {
        Fail(InvalidMessage(kind));
    }
    const QImage image = reader.read();
    if (image.isNull()) Fail(InvalidMessage(kind));
    return image;
}

QImage Decode(PictureKind kind, const std::string& bytes) {
    switch (kind) {
        case PictureKind::Png:
            return ReadRaster(bytes, "PNG", kind);
        case PictureKind::Jpeg:
            return ReadRaster(bytes, "JPEG", kind);
        case PictureKind::Svg:
            return RenderSvg(bytes, kind);
        case PictureKind::Bitmap: {
            CheckBitmap(bytes);
            const QImage image = QImage::fromData(QByteArray::fromStdString(bytes), "BMP");
            if (image.isNull()) Fail("Bitmap image is not valid");
            return image;
        }
        case PictureKind::Icon: {
            CheckIcon(bytes);
            const QImage image = QImage::fromData(QByteArray::fromStdString(bytes), "ICO");
            if (image.isNull()) Fail("Icon image is not valid");
            return image;
        }
        case PictureKind::EnhancedMetafile:
            CheckEnhancedMetafile(bytes);
            return RenderSvg(RunIsolated([&] { return EnhancedMetafileToSvg(bytes); }), kind);
        case PictureKind::Metafile:
            CheckMetafile(bytes);
            return RenderSvg(RunIsolated([&] { return MetafileToSvg(bytes); }), kind);
    }
    Fail("Bitmap image is not valid");
}

}  // namespace

QImage LoadPictureFile(const std::string& path) {
    const std::string extension = ExtensionOf(path);
    const std::optional<PictureKind> kind = KindOf(extension);
    if (!kind) throw FileMessageError("Unknown picture file extension (.%s)", extension);

    bool tooLarge = false;
    std::string bytes;
    try {
        bytes = ReadRegularFile(path, kMaxPictureFile, tooLarge);
    } catch (const Error&) {
        throw FileMessageError("Cannot open file %s", path);
    }
    if (tooLarge) Fail(InvalidMessage(*kind));
    return Decode(*kind, bytes);
}

QImage DecodePicture(PictureKind kind, const std::string& bytes) {
    return Decode(kind, bytes);
}

}  // namespace glidtavla
