#include "demo/demo_read_ahead.h"

#include <algorithm>

#include "board/errors.h"

namespace glidtavla {

namespace {

// Enough steps a batch that handing them over costs nothing beside them, and few enough
// batches that a long file needs no memory for more than these.
constexpr std::size_t kStepsPerBatch = 16384;
constexpr int kBatches = 4;
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

}  // namespace

DemoReadAhead::DemoReadAhead(const std::string& demoPath) : reader_(demoPath) {
    for (int i = 0; i < kBatches; ++i) {
        auto& steps = empty_.emplace_back(std::make_unique<DemoSteps>());
        steps->Kinds.reserve(kMostSteps);
        steps->Values.resize(kMostSteps * kDemoValues);
    }
    thread_ = std::thread([this] { Read(); });
}

DemoReadAhead::~DemoReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
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
    bool reading = true;
    while (reading) {
        std::unique_ptr<DemoSteps> steps;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !empty_.empty(); });
            if (stopping_) return;
            steps = std::move(empty_.back());
            empty_.pop_back();
        }
        steps->Kinds.clear();
        steps->Errors.clear();
        try {
            reading = ReadInto(*steps);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
            reading = false;
        }
        {
            const std::lock_guard lock(mutex_);
            full_.push_back(std::move(steps));
            finished_ = !reading;
        }
        changed_.notify_all();
    }
}

const DemoSteps* DemoReadAhead::Next() {
    std::unique_lock lock(mutex_);
    if (playing_) empty_.push_back(std::move(playing_));
    changed_.notify_all();
    changed_.wait(lock, [this] { return !full_.empty() || finished_; });
    if (full_.empty()) {
        if (failure_) std::rethrow_exception(failure_);
        return nullptr;
    }
    playing_ = std::move(full_.front());
    full_.erase(full_.begin());
    return playing_.get();
}

}  // namespace glidtavla
