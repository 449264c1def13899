#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace glidtavla {

// Why a run gave nothing back.
enum class IsolatedFailure { CouldNotStart, RanTooLong, Failed };

// Runs program with arguments in a process of bounded memory, input on its standard input,
// and returns what it wrote on its standard output; nothing when it could not start, crashed,
// failed, wrote nothing or more than maxOutput bytes, or ran past limit (why, when asked): a
// third-party decoder or a drawing without end cannot take the program with it. What it writes
// on its standard error is dropped.
std::optional<std::string> RunIsolated(const std::string& program,
                                       const std::vector<std::string>& arguments,
                                       const std::string& input, std::chrono::seconds limit,
                                       std::size_t maxOutput, IsolatedFailure* why = nullptr);

}  // namespace glidtavla
