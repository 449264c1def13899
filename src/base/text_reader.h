#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace glidtavla {

// The result of reading one number: on failure, value holds what was converted before the
// fault was found, without its sign.
struct ValueRead {
    int32_t Value = 0;
    bool Ok = true;
};

// Whether a file's lines end in LF: only when it holds no CR at all. A file with any CR is
// read by CR or CR LF, and a lone LF in it does not end a line.
bool HasLfLineEnds(std::string_view bytes);

// Sequential reading of the program's text files: CR or CR LF ends a line, a lone LF does not,
// Ctrl-Z ends the file wherever it stands; a file without any CR (written on Linux) has LF line
// ends instead. Reads a file through a buffer, or bytes in memory.
class TextReader {
  public:
    // Opens with read sharing only: a shared advisory lock; a writer holding the file is code 32.
    explicit TextReader(const std::string& path);
    // Reads bytes in memory, which must outlive the reader.
    struct InMemory {};
    TextReader(InMemory, std::string_view bytes);
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;
    ~TextReader();

    bool AtEndOfFile() { return Peek() == kEnd; }
    bool AtEndOfLine();  // does not pass over blanks
    void SkipLine();
    int32_t ReadValue();  // throws "Invalid numeric input"
    ValueRead TryReadValue();
    // The common lines of numbers, as many as follow in the buffer up to maxLines: kCount or
    // more plain numbers (up to seven digits, a minus allowed) one space apart, then the line
    // end. Reads each line as kCount ReadValue and a SkipLine would, into values one line after
    // another, and stops before a line that is not plain, for the general way. Returns how many
    // lines it read. Built for the demo's four numbers.
    template <int kCount>
    std::size_t ReadPlainLines(int32_t* values, std::size_t maxLines);

    // 1-based number of the line the next byte stands on.
    int LineNumber() const { return line_; }
    bool LfLineEnds() const { return lineEnd_ == '\n'; }

  private:
    static constexpr int kEnd = -1;
    // The next byte, or kEnd at the end of the file or at Ctrl-Z. Inline: it runs per byte.
    int Peek() {
        if (pos_ < size_) {
            const int byte = data_[pos_];
            return byte == 26 ? kEnd : byte;
        }
        return Refill();
    }
    int Refill();
    void Advance() { ++pos_; }
    void NextLine();
    // A plain decimal number wholly in the buffer, read without copying it; kNoPlainDecimal
    // leaves the position as it was for the general path.
    static constexpr int64_t kNoPlainDecimal = INT64_MIN;
    int64_t TryReadPlainDecimal();

    int fd_ = -1;
    std::string path_;
    std::vector<unsigned char> buffer_;
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    bool exhausted_ = false;
    int line_ = 1;
    int lineEnd_ = '\r';
};

// Parses one token of at most 32 bytes: [+-]decimal in the signed 32-bit range or $hex that
// fits in 32 bits.
ValueRead ParseToken(std::string_view token);

}  // namespace glidtavla
