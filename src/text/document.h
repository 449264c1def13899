#pragma once

#include <string>
#include <vector>

namespace glidtavla {

// How a document's bytes are text: Windows-1252 byte for byte, or UTF-8 for a file that a
// Linux program wrote. Kept per document and shown nowhere.
enum class TextEncoding { Windows1252, Utf8 };

// UTF-8 when the bytes are valid UTF-8 and hold at least one multi-byte sequence; otherwise
// Windows-1252, so every file the program itself writes reads back byte for byte.
TextEncoding EncodingOf(const std::string& bytes);

// A document's lines from its file's bytes: CR LF, a lone CR and a lone LF each break a line.
std::vector<std::string> SplitDocument(const std::string& bytes);

// The file's bytes from the text area's lines: lines joined by CR LF, none after the last.
// A line that ends in the code 13 from the character line gets LF only, so it ends in
// exactly one CR LF.
std::string JoinDocument(const std::vector<std::string>& lines);

// Beyond this the text control becomes too slow to use; such a file is refused whole.
constexpr long long kTextAreaCapacity = 64LL << 20;

// The whole file: "Cannot open file %s" when it cannot be read, "Text exceeds memo capacity"
// past the capacity.
std::string ReadDocumentFile(const std::string& path);

// Replaces the file through a temporary file, so a failed save leaves the old file whole; in
// a folder that refuses the temporary file, writes the file in place. "Cannot create file %s"
// when neither can be done. Only regular files are read or written: "Cannot open file %s"
// for a folder, FIFO or device, at once.
void WriteDocumentFile(const std::string& path, const std::string& bytes);

}  // namespace glidtavla
