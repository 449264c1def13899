#pragma once

#include <string>
#include <vector>

#include "text/document.h"

class QPlainTextEdit;

namespace glidtavla {

// The text area's lines as bytes. The code 13 that ends a line moved in from the character line
// is kept as a mark of its text block (Qt would take it as a line break) and read back as 13.
std::vector<std::string> TextAreaLines(const QPlainTextEdit* memo, TextEncoding encoding);
void SetTextAreaLines(QPlainTextEdit* memo, const std::vector<std::string>& lines,
                      TextEncoding encoding);
// A line moved in from the character line: it takes the empty place after the last line
// break, and the text again ends in a line break.
void AppendTextAreaLine(QPlainTextEdit* memo, const std::string& line);

}  // namespace glidtavla
