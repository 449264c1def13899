#include "text/codec.h"

#include <QFile>

#include "base/windows1252.h"

namespace glidtavla {

namespace {

constexpr char16_t kShownCR = 0x240D;
// A board may give the code 10 itself: kept as a byte of the line, shown as a mark, since a
// text control would take it as a line break.
constexpr char16_t kShownLF = 0x240A;

char16_t CharOf(unsigned char byte) {
    if (byte == '\r') return kShownCR;
    if (byte == '\n') return kShownLF;
    return static_cast<char16_t>(Windows1252Char(byte));
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
        } else {
            bytes.push_back(static_cast<char>(Windows1252Byte(c).value_or('?')));
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
