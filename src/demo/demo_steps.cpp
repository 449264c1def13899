#include "demo/demo_steps.h"

#include "base/errors.h"

namespace glidtavla {

namespace {

// Enough steps a batch that the player's loop runs long over plain data, few enough that a long
// file needs little memory.
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

}  // namespace

DemoStepReader::DemoStepReader(const std::string& demoPath) : reader_(demoPath) {
    steps_.Kinds.reserve(kMostSteps);
    steps_.Values.resize(kMostSteps * kDemoValues);
}

// Fills steps with what the next ticks read, as the player would read it one tick at a time;
// false once the file has ended.
bool DemoStepReader::ReadInto(DemoSteps& steps) {
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

const DemoSteps* DemoStepReader::Next() {
    if (finished_) return nullptr;
    steps_.Kinds.clear();
    steps_.Errors.clear();
    finished_ = !ReadInto(steps_);
    return &steps_;
}

}  // namespace glidtavla
