#include "board/text_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "board/errors.h"
#include "board/files.h"

namespace glidtavla {

namespace {

constexpr int kCtrlZ = 26;
constexpr int kCR = 13;
constexpr int kLF = 10;
constexpr std::size_t kMaxToken = 32;
constexpr std::size_t kBufferSize = 64 * 1024;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the whole file once for a CR, then goes back to its start.
bool FileHasLfLineEnds(int fd, const std::string& path) {
    std::vector<char> chunk(kBufferSize);
    bool sawCR = false;
    for (;;) {
        const ssize_t got = read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw IoError(CodeFromErrno(errno, path));
        if (got == 0) break;
        if (!HasLfLineEnds(std::string_view(chunk.data(), static_cast<std::size_t>(got)))) {
            sawCR = true;
            break;
        }
    }
    if (lseek(fd, 0, SEEK_SET) != 0) throw IoError(CodeFromErrno(errno, path));
    return !sawCR;
}

}  // namespace

bool HasLfLineEnds(std::string_view bytes) {
    return bytes.find('\r') == std::string_view::npos;
}

ValueRead ParseToken(std::string_view token) {
    std::size_t i = 0;
    if (!token.empty() && token[0] == '$') {
        uint32_t pattern = 0;
        for (i = 1; i < token.size(); ++i) {
            const int digit = HexDigit(token[i]);
            if (digit < 0 || pattern > 0x0FFFFFFFu) return {static_cast<int32_t>(pattern), false};
            pattern = (pattern << 4) | static_cast<uint32_t>(digit);
        }
        return {static_cast<int32_t>(pattern), token.size() > 1};
    }

    bool negative = false;
    if (!token.empty() && (token[0] == '+' || token[0] == '-')) {
        negative = token[0] == '-';
        i = 1;
    }
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    const std::size_t firstDigit = i;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c < '0' || c > '9') return {static_cast<int32_t>(magnitude), false};
        const int64_t next = magnitude * 10 + (c - '0');
        if (next > limit) return {static_cast<int32_t>(magnitude), false};
        magnitude = next;
    }
    if (i == firstDigit) return {0, false};
    return {static_cast<int32_t>(negative ? -magnitude : magnitude), true};
}

TextReader::TextReader(const std::string& path) : path_(path), buffer_(kBufferSize) {
    data_ = buffer_.data();
    fd_ = OpenRegularFileForReading(path);
    try {
        if (flock(fd_, LOCK_SH | LOCK_NB) != 0) throw IoError(CodeFromErrno(errno, path));
        if (FileHasLfLineEnds(fd_, path)) lineEnd_ = kLF;
    } catch (...) {
        close(fd_);
        throw;
    }
}

TextReader::TextReader(InMemory, std::string_view bytes)
    : data_(reinterpret_cast<const unsigned char*>(bytes.data())),
      size_(bytes.size()),
      exhausted_(true),
      lineEnd_(HasLfLineEnds(bytes) ? kLF : kCR) {}

TextReader::~TextReader() {
    if (fd_ >= 0) close(fd_);  // closing also drops the lock
}

int TextReader::Refill() {
    if (pos_ == size_ && !exhausted_) {
        ssize_t got;
        do {
            got = read(fd_, buffer_.data(), buffer_.size());
        } while (got < 0 && errno == EINTR);
        if (got < 0) throw IoError(CodeFromErrno(errno, path_));
        pos_ = 0;
        size_ = static_cast<std::size_t>(got);
        exhausted_ = got == 0;
    }
    if (pos_ == size_) return kEnd;
    const int byte = data_[pos_];
    return byte == kCtrlZ ? kEnd : byte;  // nothing after Ctrl-Z is ever read
}

void TextReader::NextLine() {
    if (line_ < INT_MAX) ++line_;
}

bool TextReader::AtEndOfFile() {
    return Peek() == kEnd;
}

bool TextReader::AtEndOfLine() {
    const int byte = Peek();
    return byte == kEnd || byte == lineEnd_;
}

void TextReader::SkipLine() {
    for (int byte = Peek(); byte != kEnd; byte = Peek()) {
        Advance();
        if (byte == lineEnd_) {
            NextLine();
            if (byte == kCR && Peek() == kLF) Advance();
            return;
        }
    }
}

bool TextReader::TryReadPlainDecimal(ValueRead& read) {
    const unsigned char* const start = data_ + pos_;
    const unsigned char* const end = data_ + size_;
    const unsigned char* p = start;
    const bool negative = *p == '-';
    if (negative || *p == '+') ++p;
    const unsigned char* const firstDigit = p;
    // Ten digits at most fit in 32 bits; more go the general way, which knows every fault.
    const unsigned char* const lastDigit = std::min(end, firstDigit + 10);
    uint64_t magnitude = 0;
    while (p < lastDigit && static_cast<unsigned char>(*p - '0') <= 9) {
        magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
        ++p;
    }
    // The token must end here, within the buffer (or at the end of the file); anything else (a
    // letter, a long token, a buffer edge) takes the general path.
    const bool ended = p < end ? *p <= 32 : exhausted_;
    const uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
    if (p == firstDigit || !ended || magnitude > limit) return false;
    pos_ = static_cast<std::size_t>(p - data_);
    read = {static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                          : static_cast<int64_t>(magnitude)),
            true};
    return true;
}

ValueRead TextReader::TryReadValue() {
    // Blanks and line ends before the token, straight from the buffer while it lasts.
    const unsigned char* p = data_ + pos_;
    const unsigned char* const end = data_ + size_;
    const int lineEnd = lineEnd_;
    while (p < end && *p <= 32 && *p != kCtrlZ) {
        if (*p == lineEnd) NextLine();
        ++p;
    }
    pos_ = static_cast<std::size_t>(p - data_);
    int byte = Peek();
    while (byte != kEnd && byte <= 32) {
        Advance();
        if (byte == lineEnd_) NextLine();
        byte = Peek();
    }
    if (byte == kEnd) return {0, true};
    ValueRead fast;
    if (TryReadPlainDecimal(fast)) return fast;

    char token[kMaxToken];
    std::size_t length = 0;
    while (byte != kEnd && byte > 32 && length < kMaxToken) {
        token[length++] = static_cast<char>(byte);
        Advance();
        byte = Peek();
    }
    return ParseToken(std::string_view(token, length));
}

int32_t TextReader::ReadValue() {
    const ValueRead read = TryReadValue();
    if (!read.ok) throw IoError(kCodeInvalidNumericInput);
    return read.value;
}

}  // namespace glidtavla
