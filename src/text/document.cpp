#include "text/document.h"

#include <QStringDecoder>

#include <algorithm>

#include "base/errors.h"
#include "base/files.h"

namespace glidtavla {

TextEncoding EncodingOf(const std::string& bytes) {
    const bool multiByte = std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (!multiByte) return TextEncoding::Windows1252;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return decoder.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

std::vector<std::string> SplitDocument(const std::string& bytes) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

std::string JoinDocument(const std::vector<std::string>& lines) {
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bytes += lines[i];
        if (i + 1 == lines.size()) break;
        bytes += (!lines[i].empty() && lines[i].back() == '\r') ? "\n" : "\r\n";
    }
    return bytes;
}

std::string ReadDocumentFile(const std::string& path) {
    bool tooLarge = false;
    std::string bytes;
    try {
        bytes = ReadRegularFile(path, kTextAreaCapacity, tooLarge);
    } catch (const Error&) {
        throw FileMessageError("Cannot open file %s", path);
    }
    if (tooLarge) throw Error("Text exceeds memo capacity");
    return bytes;
}

void WriteDocumentFile(const std::string& path, const std::string& bytes) {
    try {
        WriteRegularFile(path, bytes);
    } catch (const Error& error) {
        if (error.Code() == kCodeDiskFull) throw;  // "Disk full": the old file is untouched
        throw FileMessageError("Cannot create file %s", path);
    }
}

}  // namespace glidtavla
