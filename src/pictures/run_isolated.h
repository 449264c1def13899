#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace glidtavla {

// Runs program with arguments in a process of bounded memory, input on its standard input,
// and returns what it wrote on its standard output; nothing when it could not start, crashed,
// failed, wrote nothing or more than maxOutput bytes, or ran past limit: a third-party decoder
// or a drawing without end cannot take the program with it.
std::optional<std::string> RunIsolated(const std::string& program,
                                       const std::vector<std::string>& arguments,
                                       const std::string& input, std::chrono::seconds limit,
                                       std::size_t maxOutput);

}  // namespace glidtavla
