#include "pictures/picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "base/errors.h"
#include "base/files.h"
#include "pictures/run_isolated.h"

namespace glidtavla {

namespace {

constexpr qint64 kMaxPictureFile = 128LL << 20;
constexpr int kMaxSide = kMaxPictureSide;
constexpr std::chrono::seconds kDrawTime{10};
constexpr std::size_t kMaxDrawn = std::size_t{kMaxSide} * kMaxSide * 4 + 64;

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

// Drawings whose time has no bound in their size (SVG, metafiles) are drawn to pixels by a
// program of their own under one deadline: a picture that cannot be drawn in time, or that
// takes its drawer down, is not valid. That program alone loads the SVG renderer and the
// metafile decoders.
QImage DrawIsolated(PictureKind kind, const std::string& bytes) {
    const char* const word = kind == PictureKind::Svg                ? "svg"
                             : kind == PictureKind::EnhancedMetafile ? "emf"
                                                                     : "wmf";
    const std::string helper = InstalledHelperPath("glidtavla-draw");
    IsolatedFailure why = IsolatedFailure::Failed;
    const std::optional<std::string> drawn =
        RunIsolated(helper, {word}, bytes, kDrawTime, kMaxDrawn, &why);
    // The drawing program missing or hung is said as such: the picture may well be valid.
    if (!drawn && why == IsolatedFailure::CouldNotStart)
        throw Error("Cannot run the drawing program " + helper);
    if (!drawn && why == IsolatedFailure::RanTooLong) {
        throw Error("The drawing program " + helper + " did not finish within " +
                    std::to_string(kDrawTime.count()) + " s");
    }
    if (!drawn) Fail(InvalidMessage(kind));
    const std::size_t headerEnd = drawn->find('\n');
    int width = 0, height = 0;
    if (headerEnd == std::string::npos ||
        std::sscanf(drawn->c_str(), "%d %d", &width, &height) != 2 || width <= 0 || height <= 0 ||
        width > kMaxSide || height > kMaxSide ||
        drawn->size() - headerEnd - 1 != static_cast<std::size_t>(width) * height * 4) {
        Fail(InvalidMessage(kind));
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    const char* pixels = drawn->data() + headerEnd + 1;
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.scanLine(y), pixels + static_cast<std::size_t>(y) * width * 4,
                    static_cast<std::size_t>(width) * 4);
    }
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
            return DrawIsolated(kind, bytes);
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
            return DrawIsolated(kind, bytes);
        case PictureKind::Metafile:
            CheckMetafile(bytes);
            return DrawIsolated(kind, bytes);
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
