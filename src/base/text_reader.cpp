#include "base/text_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>

#include "base/errors.h"
#include "base/files.h"
#include "base/plain_numbers.h"

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

int64_t TextReader::TryReadPlainDecimal() {
    const unsigned char* p = data_ + pos_;
    const unsigned char* const end = data_ + size_;
    const bool negative = *p == '-';
    if (negative || *p == '+') ++p;
    // Eight bytes to look at, a number of one to seven digits, and a blank (or Ctrl-Z) right
    // after it; anything else takes the general path, which knows every fault.
    if (end - p < 8) return kNoPlainDecimal;
    const Digits digits = LeadingDigits(p);
    if (digits.Count == 0 || digits.Count == 8 || p[digits.Count] > 32) return kNoPlainDecimal;
    pos_ = static_cast<std::size_t>(p + digits.Count - data_);
    return negative ? -int64_t{digits.Value} : int64_t{digits.Value};
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
    // Returned in a register: a result written through memory stalled the read that followed.
    const int64_t plain = TryReadPlainDecimal();
    if (plain != kNoPlainDecimal) return {static_cast<int32_t>(plain), true};

    char token[kMaxToken];
    std::size_t length = 0;
    while (byte != kEnd && byte > 32 && length < kMaxToken) {
        token[length++] = static_cast<char>(byte);
        Advance();
        byte = Peek();
    }
    return ParseToken(std::string_view(token, length));
}

template <int kCount>
std::size_t TextReader::ReadPlainLines(int32_t* values, std::size_t maxLines) {
    const unsigned char* p = data_ + pos_;
    const unsigned char* const end = data_ + size_;
    const int lineEnd = lineEnd_;
    std::size_t lines = 0;
    for (; lines < maxLines && end - p >= kPlainLineRoom; ++lines) {
        const std::size_t length = PlainLineLength<kCount>(p, lineEnd, values);
        if (length == 0) break;
        p += length;
        values += kCount;
    }
    pos_ = static_cast<std::size_t>(p - data_);
    line_ = static_cast<int>(std::min<std::size_t>(INT_MAX, line_ + lines));
    return lines;
}

template std::size_t TextReader::ReadPlainLines<4>(int32_t* values, std::size_t maxLines);

int32_t TextReader::ReadValue() {
    const ValueRead read = TryReadValue();
    if (!read.Ok) throw IoError(kCodeInvalidNumericInput);
    return read.Value;
}

}  // namespace glidtavla
