// The word models the build makes, measured on the slice of the book they never saw.
#include <gtest/gtest.h>

#include "base/windows1252.h"
#include "model/prediction_cost.h"
#include "predict/model_files.h"
#include "test_support.h"

namespace glidtavla {
namespace {

double SavingsOn(const std::string& text, const WordModel& model) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    PredictionOptions options;
    options.Mode = PredictionMode::CentreAndColumn;
    return CostWithPrediction(board, text, model, options).KeystrokeSavings;
}

// The larger model guesses better on the held-out slice, and has not seen it: on a text it was
// built from it saves far more than the base does there.
TEST(BaseModels, TheLargerGuessesBetterOnTheSliceNeitherSaw) {
    const WordModel base = LoadWordModel(GLIDTAVLA_WORD_MODEL, "");
    const WordModel larger = LoadWordModel(GLIDTAVLA_LARGER_MODEL, "");
    const std::string heldOut = ReadAll(GLIDTAVLA_HELD_OUT).substr(0, 20000);
    const std::string seen =
        Utf8ToWindows1252(ReadAll(GLIDTAVLA_MORE_TEXT), true).value().substr(0, 20000);
    const double baseSaves = SavingsOn(heldOut, base), largerSaves = SavingsOn(heldOut, larger);
    EXPECT_GT(largerSaves, baseSaves);
    EXPECT_GT(SavingsOn(seen, larger) - largerSaves, 3 * (largerSaves - baseSaves));
}

// Kept once seen: after "ro", the once-seen "bo" is likelier than the twice-seen "bi".
TEST(BaseModels, APairSeenOnceIsKeptOnlyWhenAsked) {
    const std::string text = "ko bi. ko bi. ro bo.";
    for (const long minCount : {1L, 2L}) {
        WordModel model;
        model.ReadBase(WriteBaseModel(text, minCount));
        EXPECT_EQ(model.Complete("ro b", 1).at(0).Word, minCount == 1 ? "bo" : "bi") << minCount;
    }
}

}  // namespace
}  // namespace glidtavla
