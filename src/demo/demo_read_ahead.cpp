#include "demo/demo_read_ahead.h"

#include <sched.h>

#include <chrono>

#include "board/errors.h"

namespace glidtavla {

namespace {

// Enough steps a batch that handing them over costs nothing beside them, and few enough
// batches that a long file needs no memory for more than these.
constexpr std::size_t kStepsPerBatch = 4096;
constexpr std::size_t kPlainLines = 256;
// A batch ends past kStepsPerBatch by at most a batch of plain lines and an error.
constexpr std::size_t kMostSteps = kStepsPerBatch + kPlainLines + 1;

using Kind = DemoSteps::Kind;

void AddError(DemoSteps& steps, const Error& error) {
    steps.Errors.push_back(error.what());
    steps.Kinds.push_back(Kind::Error);
}

// After a line's values the file may end, or reading on may fail; false at the end.
bool AfterLine(TextReader& reader, DemoSteps& steps) {
    try {
        return !reader.AtEndOfFile();
    } catch (const Error& error) {
        steps.Kinds.back() = Kind::Values;
        AddError(steps, error);
        return true;
    }
}

// Keeps the reading thread off the processor the player runs on. Left to itself, the scheduler
// often starts both on one processor and lets them take turns there for the whole replay,
// which is slower than reading and playing one after the other.
void KeepOffProcessor(int player) {
    cpu_set_t allowed;
    if (player < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
    if (!CPU_ISSET(player, &allowed) || CPU_COUNT(&allowed) < 2) return;
    CPU_CLR(player, &allowed);
    sched_setaffinity(0, sizeof allowed, &allowed);  // refused, it is the scheduler's choice
}

// Each side waits for the other by yielding, which keeps it where it is, and only a long wait
// (a player printing every tick) by short sleeps: a thread woken by another is often moved
// to the waker's processor.
template <class Ready>
void WaitUntil(Ready ready) {
    constexpr int kYields = 1000;
    for (int round = 0; !ready(); ++round) {
        if (round < kYields) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
}

}  // namespace

DemoReadAhead::DemoReadAhead(const std::string& demoPath) : reader_(demoPath) {
    for (DemoSteps& steps : batches_) {
        steps.Kinds.reserve(kMostSteps);
        steps.Values.resize(kMostSteps * kDemoValues);
    }
    thread_ = std::thread([this, player = sched_getcpu()] {
        KeepOffProcessor(player);
        Read();
    });
}

DemoReadAhead::~DemoReadAhead() {
    stopping_ = true;
    thread_.join();
}

// Fills steps with what the next ticks read, as the player would read it one tick at a time;
// false once the file has ended.
bool DemoReadAhead::ReadInto(DemoSteps& steps) {
    std::vector<Kind>& kinds = steps.Kinds;
    while (kinds.size() < kStepsPerBatch) {
        int32_t* const values = &steps.Values[kinds.size() * kDemoValues];
        const std::size_t lines = reader_.ReadPlainLines<kDemoValues>(values, kPlainLines);
        if (lines > 0) {
            kinds.insert(kinds.end(), lines, Kind::Tick);
            if (!AfterLine(reader_, steps)) return false;
            continue;
        }
        try {
            if (!ReadDemoValues(reader_, values)) {
                kinds.push_back(Kind::EndTick);
                return false;
            }
        } catch (const Error& error) {
            AddError(steps, error);  // the tick ends; the next one reads on after the bad line
            continue;
        }
        kinds.push_back(Kind::Tick);
        if (!AfterLine(reader_, steps)) return false;
    }
    return true;
}

void DemoReadAhead::Read() {
    for (std::size_t batch = 0;; ++batch) {
        WaitUntil([&] { return batch - played_ < kBatches || stopping_; });
        if (stopping_) return;
        DemoSteps& steps = batches_[batch % kBatches];
        steps.Kinds.clear();
        steps.Errors.clear();
        bool reading = false;
        try {
            reading = ReadInto(steps);
        } catch (...) {
            failure_ = std::current_exception();
        }
        filled_ = batch + 1;
        if (!reading) {
            // Only after the last batch is counted: whoever sees it set sees the final count.
            finished_ = true;
            return;
        }
    }
}

const DemoSteps* DemoReadAhead::Next() {
    if (taken_ > 0) played_ = taken_;  // the batch taken last is played
    WaitUntil([&] { return filled_ != taken_ || finished_; });
    if (filled_ == taken_) {
        if (failure_) std::rethrow_exception(failure_);
        return nullptr;
    }
    return &batches_[taken_++ % kBatches];
}

}  // namespace glidtavla
