#pragma once

#include <stdexcept>
#include <string>

namespace glidtavla {

// The program's one error type: a message for the user and, for file errors, the code that
// chose it (0 for errors that have only a message).
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message, int code = 0)
        : std::runtime_error(message), code_(code) {}
    int Code() const { return code_; }

  private:
    int code_;
};

constexpr int kCodeFileNotFound = 2;
constexpr int kCodeInvalidFilename = 3;
constexpr int kCodeAccessDenied = 5;
constexpr int kCodeSharingViolation = 32;
constexpr int kCodeDiskFull = 101;
constexpr int kCodeNotOpenForReading = 104;
constexpr int kCodeNotOpenForWriting = 105;
constexpr int kCodeInvalidNumericInput = 106;

// "File not found", "Disk full", ... or "I/O error %d".
std::string IoMessage(int code);
Error IoError(int code);

// The file error code for an errno from opening, reading or writing path.
int CodeFromErrno(int err, const std::string& path);

// "Cannot open file %s" and its kin, with the path shown as it was given.
Error FileMessageError(const char* format, const std::string& path);

}  // namespace glidtavla
