#pragma once

#include <string>
#include <vector>

namespace glidtavla {

// A document's lines from its file's bytes: CR LF, a lone CR and a lone LF each break a line.
std::vector<std::string> SplitDocument(const std::string& bytes);

// The file's bytes from the text area's lines: lines joined by CR LF, none after the last.
// A line that ends in the code 13 from the character line gets LF only, so it ends in
// exactly one CR LF.
std::string JoinDocument(const std::vector<std::string>& lines);

}  // namespace glidtavla
