#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace glidtavla {

// Runs work in a child process of bounded memory and returns what it wrote, or nothing when the
// child crashed, failed, wrote nothing or more than maxOutput bytes, or ran past limit: a
// third-party decoder or a drawing without end cannot take the program with it.
std::optional<std::string> RunIsolated(const std::function<std::string()>& work,
                                       std::chrono::seconds limit, std::size_t maxOutput);

}  // namespace glidtavla
