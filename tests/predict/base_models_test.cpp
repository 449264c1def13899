// The word models the build makes, measured on the slice of the book they never saw.
#include <gtest/gtest.h>

#include <cmath>

#include "base/errors.h"
#include "base/windows1252.h"
#include "model/prediction_cost.h"
#include "predict/calibration.h"
#include "predict/model_files.h"
#include "predict/suggestion_policy.h"
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

// On the held-out slice the likeliest completion is right about as often as its calibrated
// probability says, where its own promises far more above one half.
TEST(BaseModels, TheCalibratedProbabilityIsTheShareObservedRight) {
    const std::string heldOut = ReadAll(GLIDTAVLA_HELD_OUT).substr(0, 35000);
    for (const char* file : {GLIDTAVLA_WORD_MODEL, GLIDTAVLA_LARGER_MODEL}) {
        const WordModel model = LoadWordModel(file, "");
        ASSERT_TRUE(model.HasCalibration()) << file;
        double ownWorst = 0, calibratedWorst = 0;
        for (const bool calibrated : {false, true}) {
            for (const CalibrationBin& bin : MeasureCalibration(model, heldOut, calibrated)) {
                if (bin.Shown < 500) continue;
                double& worst = calibrated ? calibratedWorst : ownWorst;
                worst = std::max(worst, std::abs(bin.MeanProbability - bin.Right));
            }
        }
        EXPECT_GT(ownWorst, 0.2) << file;
        EXPECT_LT(calibratedWorst, 0.1) << file;
    }
}

// The table counts every letter that leaves some of its word, from each line's start: at "k"
// and "b" of "ko bi" the guesses are right, at "b" of "ro bi" the model says "bo".
TEST(Calibration, CountsEachLetterBeforeAWordsEnd) {
    WordModel model;
    model.ReadBase(WriteBaseModel("ko bi. ko bi. ro bo.", 1));
    std::size_t shown = 0;
    double right = 0;
    for (const CalibrationBin& bin : MeasureCalibration(model, "ko bi\nro bi\nx", false)) {
        shown += bin.Shown;
        right += bin.Right * double(bin.Shown);
    }
    EXPECT_EQ(shown, 4U);
    EXPECT_DOUBLE_EQ(right, 3);
}

// Pooled where the share right would fall, so that a surer guess is never trusted less.
TEST(Calibration, PointsRiseAndAreReadBackAndAppliedBetween) {
    CalibrationTable table{};
    table[1] = {100, 0.15, 0.2};
    table[5] = {100, 0.55, 0.5};
    table[6] = {300, 0.65, 0.4};  // pooled with the one before: 0.625, 0.425
    table[9] = {100, 0.95, 0.8};
    const std::vector<std::pair<double, double>> points = CalibrationPoints(table);
    ASSERT_EQ(points.size(), 3U);
    EXPECT_DOUBLE_EQ(points[1].first, 0.625);
    EXPECT_DOUBLE_EQ(points[1].second, 0.425);

    WordModel model;
    model.ReadBase(WriteBaseModel("ko bi. ko bi.") + WriteCalibration(points));
    EXPECT_NEAR(model.Calibrated(0.075), 0.1, 1e-6);  // from (0, 0) to the first point
    EXPECT_NEAR(model.Calibrated(0.3875), 0.3125, 1e-6);
    EXPECT_NEAR(model.Calibrated(1.0), 0.8, 1e-6);  // the last point's share beyond it
    SuggestionPolicy policy{true, 1, 0.5, true};
    const std::vector<Completion> ranked = Rank(model, "ko b", policy);
    ASSERT_FALSE(ranked.empty());
    EXPECT_NEAR(ranked[0].Probability, model.Calibrated(model.Complete("ko b", 1)[0].Probability),
                1e-12);
    for (const std::string damaged :
         {"calibration 2\n0.5 0.5\n", "calibration 2\n0.5 0.5\n0.4 0.6\n",
          "calibration 2\n0.5 0.5\n0.6 0.4\n", "calibration 1\n0 0.5\n", "x\n"}) {
        WordModel read;
        EXPECT_THROW(read.ReadBase(WriteBaseModel("ko bi.") + damaged), Error) << damaged;
    }
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
