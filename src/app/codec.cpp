#include "app/codec.h"

#include <QFile>

#include <array>

namespace glidtavla {

namespace {

constexpr char16_t kShownCR = 0x240D;
// A board may give the code 10 itself: kept as a byte of the line, shown as a mark, since a
// text control would take it as a line break.
constexpr char16_t kShownLF = 0x240A;

// 0x80..0x9F; the undefined five keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t CharOf(unsigned char byte) {
    if (byte == '\r') return kShownCR;
    if (byte == '\n') return kShownLF;
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

}  // namespace

QString ToQString(const std::string& bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[static_cast<qsizetype>(i)] = QChar(CharOf(static_cast<unsigned char>(bytes[i])));
    }
    return text;
}

std::string FromQString(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == kShownCR) {
            bytes.push_back('\r');
        } else if (c == kShownLF) {
            bytes.push_back('\n');
        } else if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes.push_back(static_cast<char>(c));
        } else {
            char byte = '?';
            for (std::size_t i = 0; i < kHighControls.size(); ++i) {
                if (kHighControls[i] == c) byte = static_cast<char>(0x80 + i);
            }
            bytes.push_back(byte);
        }
    }
    return bytes;
}

QString Shown(const std::string& pathBytes) {
    return QFile::decodeName(pathBytes.c_str());
}

QString ToQString(const std::string& bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return ToQString(bytes);
}

std::string FromQString(const QString& text, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? text.toUtf8().toStdString() : FromQString(text);
}

}  // namespace glidtavla
