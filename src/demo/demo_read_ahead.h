#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "board/text_reader.h"
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

// Reads a demo file ahead of its playback, in a thread of its own: reading and playing a long
// file then take the time of the slower of the two, not of both.
class DemoReadAhead {
  public:
    // Opens the file here, so that it cannot be opened is thrown as it is.
    explicit DemoReadAhead(const std::string& demoPath);
    DemoReadAhead(const DemoReadAhead&) = delete;
    DemoReadAhead& operator=(const DemoReadAhead&) = delete;
    ~DemoReadAhead();

    // The next steps, in order; nullptr after the last. Valid until the next call. Throws
    // what reading met that is no demo error (memory running out).
    const DemoSteps* Next();

  private:
    static constexpr std::size_t kBatches = 8;

    void Read();
    bool ReadInto(DemoSteps& steps);

    TextReader reader_;
    std::array<DemoSteps, kBatches> batches_;  // used in turn, as a ring
    // Batches filled by the reading thread and batches taken to play, counted from the start.
    std::atomic<std::size_t> filled_ = 0;
    std::size_t taken_ = 0;
    std::atomic<std::size_t> played_ = 0;
    std::atomic<bool> finished_ = false, stopping_ = false;
    std::exception_ptr failure_;  // set before finished_
    std::thread thread_;
};

}  // namespace glidtavla
