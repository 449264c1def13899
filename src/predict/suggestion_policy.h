#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "predict/word_model.h"

namespace glidtavla {

// The least probability a centre completion needs, by pointer kind (mouse, trackball, head
// mouse): where a mouse pays more to look than a head mouse, it is shown only when surer (from
// board cost sweeps on Swedish text, the threshold that gave each pointer the most characters
// a minute), for the model's own probability and for the calibrated one.
extern const std::array<double, 3> kDefaultThresholds;
extern const std::array<double, 3> kCalibratedThresholds;
double ThresholdFor(int pointer, bool calibrated = false);

// What is offered as a word is written: the window shows it, and the cost model writes with it.
struct SuggestionPolicy {
    bool Centre = true;           // the likeliest completion in the centre cell
    std::size_t ColumnWords = 0;  // and the next ones in the word column's slots
    double Threshold = 0.5;       // the least probability the centre's completion needs
    // The centre's probability is the one the model's calibration observed, not its own.
    bool Calibrated = false;
};

struct Suggestions {
    std::optional<Completion> Centre;
    std::vector<Completion> Column;  // slot 1 first
};

// How many completions the policy asks of the model.
std::size_t WordsToAsk(const SuggestionPolicy& policy);
// The model's completions of the line for the policy, best first.
std::vector<Completion> Rank(const WordModel& model, std::string_view line,
                             const SuggestionPolicy& policy);
// The suggestions among completions ranked by the model for WordsToAsk words.
Suggestions Offer(const std::vector<Completion>& ranked, const SuggestionPolicy& policy);
// The two together, for the line as written so far.
Suggestions Suggest(const WordModel& model, std::string_view line, const SuggestionPolicy& policy);

}  // namespace glidtavla
