#include "app/document.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "board/errors.h"

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
    QFile file(QFile::decodeName(path.c_str()));
    if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly)) {
        throw FileMessageError("Cannot open file %s", path);
    }
    if (file.size() > kTextAreaCapacity) throw Error("Text exceeds memo capacity");
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw FileMessageError("Cannot open file %s", path);
    return bytes.toStdString();
}

void WriteDocumentFile(const std::string& path, const std::string& bytes) {
    QSaveFile file(QFile::decodeName(path.c_str()));
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        throw FileMessageError("Cannot create file %s", path);
    }
}

}  // namespace glidtavla
