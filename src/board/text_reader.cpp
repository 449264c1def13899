#include "board/text_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>

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

namespace {

// Up to seven decimal digits at p, read eight bytes at a time without a branch per digit:
// the number of leading digits, and their value. Bytes after them are left as they are.
struct Digits {
    int count;
    uint32_t value;
};

Digits LeadingDigits(const unsigned char* p) {
    uint64_t chunk;
    std::memcpy(&chunk, p, sizeof chunk);
    constexpr uint64_t kHigh = 0x8080808080808080ULL;
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    // A byte's high bit marks it as no digit: above '9' (or above 127), or below '0'.
    const uint64_t above = (((chunk & kLow7) + 0x4646464646464646ULL) | chunk) & kHigh;
    const uint64_t below = ~((chunk | kHigh) - 0x3030303030303030ULL) & kHigh;
    const uint64_t notDigit = above | below;
    if (notDigit == 0) return {8, 0};  // eight digits or more: the careful way
    const int count = std::countr_zero(notDigit) / 8;
    if (count == 0) return {0, 0};
    // Keep the digits, shifted so the ones missing from eight read as leading zeros.
    uint64_t value = (chunk - 0x3030303030303030ULL) << (8 * (8 - count));
    value = (value * 10) + (value >> 8);
    value = (((value & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
             (((value >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
            32;
    return {count, static_cast<uint32_t>(value)};
}

}  // namespace

int64_t TextReader::TryReadPlainDecimal() {
    const unsigned char* p = data_ + pos_;
    const unsigned char* const end = data_ + size_;
    const bool negative = *p == '-';
    if (negative || *p == '+') ++p;
    // Eight bytes to look at, a number of one to seven digits, and a blank (or Ctrl-Z) right
    // after it; anything else takes the general path, which knows every fault.
    if (end - p < 8) return kNoPlainDecimal;
    const Digits digits = LeadingDigits(p);
    if (digits.count == 0 || digits.count == 8 || p[digits.count] > 32) return kNoPlainDecimal;
    pos_ = static_cast<std::size_t>(p + digits.count - data_);
    return negative ? -int64_t{digits.value} : int64_t{digits.value};
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

bool TextReader::TryReadPlainLine(int32_t* values, int count) {
    const unsigned char* p = data_ + pos_;
    const unsigned char* const end = data_ + size_;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (p == end || *p != ' ') return false;
            ++p;
        }
        const bool negative = p != end && *p == '-';
        if (negative) ++p;
        if (end - p < 8) return false;
        const Digits digits = LeadingDigits(p);
        if (digits.count == 0 || digits.count == 8) return false;
        values[i] =
            negative ? -static_cast<int32_t>(digits.value) : static_cast<int32_t>(digits.value);
        p += digits.count;
    }
    if (p == end || *p != lineEnd_) return false;
    ++p;
    if (lineEnd_ == kCR) {
        if (p == end) return false;  // an LF may follow in the next block
        if (*p == kLF) ++p;
    }
    pos_ = static_cast<std::size_t>(p - data_);
    NextLine();
    return true;
}

int32_t TextReader::ReadValue() {
    const ValueRead read = TryReadValue();
    if (!read.ok) throw IoError(kCodeInvalidNumericInput);
    return read.value;
}

}  // namespace glidtavla
