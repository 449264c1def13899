#pragma once

#include <array>
#include <optional>
#include <string>

#include "board/character_board.h"
#include "model/board_cost.h"
#include "model/writer_fit.h"
#include "predict/word_model.h"

namespace glidtavla {

enum class PredictionMode { None, Centre, Column, CentreAndColumn };
enum class GlideKind { OutAndBack, Chained };

struct PredictionOptions {
    PredictionMode Mode = PredictionMode::None;
    int Suggestions = 5;  // words shown in all, the centre's among them (at most 7)
    // Least probability a suggestion needs to be shown; below 0, the profile's own.
    double Threshold = -1;
    GlideKind Glide = GlideKind::OutAndBack;
    bool LearnOnline = false;  // the model learns each line once it is written
    bool AutoSpace = false;    // a sign writes its space (SpaceFollowsSign)
    // The centre's probability is the model's calibrated one, against the calibrated
    // thresholds; without effect for a model without calibration.
    bool Calibrated = false;
    // Seconds to look at N suggestions: A + B * log2(N + 1).
    double LookA = 0.2, LookB = 0.15;
    // A writer's own fit, modelled beside the pointer kinds: its throughput, its look time (when
    // it measured any) and the threshold they give, unless Threshold is set.
    std::optional<WriterFit> Writer;
};

struct ProfileCost {
    ModelledSpeed Speed;
    double LooksPerCharacter = 0;
    // The look time at which prediction stops paying (a user who looks at every suggestion);
    // 0 without prediction or when it never pays.
    double BreakEvenLookSeconds = 0;
};

struct PredictionCost {
    // Glides saved, for a user who reads every suggestion shown: 1 - glides / characters.
    double KeystrokeSavings = 0;
    std::array<ProfileCost, 3> Profiles{};  // by kPointerProfiles
    std::optional<ProfileCost> Writer;      // with PredictionOptions::Writer
};

// What writing the text costs with word prediction and chained glides. The model is copied, so
// online learning leaves it as it was. A text the board cannot write only in part counts the
// characters it can, as CostOfText does.
PredictionCost CostWithPrediction(const CharacterBoard& board, const std::string& text,
                                  const WordModel& model, const PredictionOptions& options);

// A measured writer's characters a minute on text, with prediction as options set it (none
// without a model), out and back and chained.
struct WriterSpeeds {
    double OutAndBack = 0, Chained = 0;
};
WriterSpeeds ModelWriter(const CharacterBoard& board, const std::string& text,
                         const WordModel* model, PredictionOptions options, const WriterFit& fit);

}  // namespace glidtavla
