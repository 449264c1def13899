#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "predict/word_model.h"

namespace glidtavla {

// The likeliest completions at one range of probability: how many were shown, their mean
// probability, and the share of them that was the word meant.
struct CalibrationBin {
    std::size_t Shown = 0;
    double MeanProbability = 0;
    double Right = 0;
};
using CalibrationTable = std::array<CalibrationBin, 10>;  // 0-0.1, 0.1-0.2, ... 0.9-1

// At every letter of text (Windows-1252) that leaves some of its word to write, the model's
// likeliest completion of the line so far against the word meant, binned by its probability
// (the calibrated one when asked).
CalibrationTable MeasureCalibration(const WordModel& model, std::string_view text, bool calibrated);

// A table as the model's calibration: a point (mean probability, share right) for each bin
// that saw completions, made to rise with the probability (adjacent bins that fall are pooled).
std::vector<std::pair<double, double>> CalibrationPoints(const CalibrationTable& table);

}  // namespace glidtavla
