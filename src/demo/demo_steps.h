#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text_reader.h"
#include "demo/demo_file.h"

namespace glidtavla {

// What steps of playback take from the file, in the order the player's timer would: each
// step has a kind and room for a line's values, and each Error step its message, in order.
struct DemoSteps {
    enum class Kind : uint8_t {
        Tick,     // a line's values, then the tick
        Values,   // a line's values only: reading on after them failed, an Error follows
        Error,    // the tick ends with an error and no sample
        EndTick,  // the file ended before a line: the tick with the shift released
    };
    std::vector<Kind> Kinds;
    std::vector<int32_t> Values;  // kDemoValues for each step
    std::vector<std::string> Errors;

    const int32_t* ValuesOf(std::size_t step) const { return &Values[step * kDemoValues]; }
};

// Reads a demo file a batch of steps at a time, as the player's timer would take them one tick
// at a time, so the player's loop runs over plain data.
class DemoStepReader {
  public:
    // Opens the file here, so that it cannot be opened is thrown as it is.
    explicit DemoStepReader(const std::string& demoPath);

    // The next steps, in order; nullptr after the last. Valid until the next call.
    const DemoSteps* Next();

  private:
    bool ReadInto(DemoSteps& steps);

    TextReader reader_;
    DemoSteps steps_;
    bool finished_ = false;
};

}  // namespace glidtavla
