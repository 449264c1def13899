#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QString>

namespace glidtavla {

// What is said of a cell's code: "s", "stort S", "mellanslag", "radslut".
QString SpokenCharacter(uint8_t code);

// The word a fetch ends (Windows-1252 bytes): the characters written since the last space or sign,
// when the code fetched is a space, a sign that ends words or LF and there are any. line is the
// character line before the fetch.
std::optional<std::string> WordEnded(const std::string& line, uint8_t code);

}  // namespace glidtavla
