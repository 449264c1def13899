#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glidtavla {

// Words in Windows-1252 bytes: letters of the code page (a-z, å ä ö and the accented ones)
// make words; everything else separates them.
bool IsWordByte(unsigned char byte);
std::string Lower(std::string_view word);
std::string Upper(std::string_view word);

// A completion of what was typed, in the typed case: "Oc" + "och" is "Och", "OC" + "och" is
// "OCH" (two capitals or more make the rest capital too).
std::string WithCaseOf(std::string_view typed, std::string_view word);

// Text as sentences of lower-case words. A sentence ends at . ! ? : ; and a line end; other
// signs than a comma, a quote or a parenthesis break the context too.
std::vector<std::vector<std::string>> Sentences(std::string_view text);

// The end of a line being written: the word begun (maybe empty, as typed) and up to two
// words before it in the same sentence, lower case, oldest first.
struct WordContext {
    std::vector<std::string> Before;
    std::string Typed;
};
WordContext ContextAtEnd(std::string_view line);

}  // namespace glidtavla
