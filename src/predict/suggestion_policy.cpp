#include "predict/suggestion_policy.h"

#include <algorithm>

namespace glidtavla {

const std::array<double, 3> kDefaultThresholds = {0.5, 0.4, 0.1};
const std::array<double, 3> kCalibratedThresholds = {0.4, 0.3, 0.1};

double ThresholdFor(int pointer, bool calibrated) {
    const auto kind = static_cast<std::size_t>(std::clamp(pointer, 0, 2));
    return calibrated ? kCalibratedThresholds[kind] : kDefaultThresholds[kind];
}

std::size_t WordsToAsk(const SuggestionPolicy& policy) {
    return (policy.Centre ? 1 : 0) + policy.ColumnWords;
}

std::vector<Completion> Rank(const WordModel& model, std::string_view line,
                             const SuggestionPolicy& policy) {
    std::vector<Completion> ranked = model.Complete(line, WordsToAsk(policy));
    // Measured for the likeliest completion only, which is the centre's.
    if (policy.Calibrated && policy.Centre && !ranked.empty())
        ranked[0].Probability = model.Calibrated(ranked[0].Probability);
    return ranked;
}

Suggestions Offer(const std::vector<Completion>& ranked, const SuggestionPolicy& policy) {
    Suggestions offered;
    std::size_t rank = 0;
    if (policy.Centre) {
        // Only a completion likely enough is worth a look where the eye rests.
        if (!ranked.empty() && ranked[0].Probability >= policy.Threshold)
            offered.Centre = ranked[0];
        rank = 1;
    }
    for (; rank < ranked.size() && offered.Column.size() < policy.ColumnWords; ++rank)
        offered.Column.push_back(ranked[rank]);
    return offered;
}

Suggestions Suggest(const WordModel& model, std::string_view line, const SuggestionPolicy& policy) {
    return Offer(Rank(model, line, policy), policy);
}

}  // namespace glidtavla
