#include "model/writer_fit.h"

#include <gtest/gtest.h>

#include "board/board_table.h"
#include "demo/demo_typist.h"
#include "model/prediction_cost.h"
#include "test_support.h"

namespace glidtavla {
namespace {

// Every letter of the built-in board once and more, so the glides have many lengths.
const std::string kText =
    "det var en gang en liten flicka som bodde vid havet och hon hade en hund som hette "
    "kvick. varje morgon gick de langs stranden, och hunden sprang efter masarna medan "
    "flickan samlade snackor och stenar i sin korg. en dag hittade hon en flaska med ett "
    "brev i, skrivet av en pojke langt borta pa andra sidan sjon.";

WriterFit FitOfDemo(const std::string& demo) {
    TempDir dir;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    GlideMeter meter;
    MeasureDemo(board, dir.Write("fit.dem", demo), meter);
    return FitWriter(meter.Glides(), meter.RestsWithCompletion(), meter.RestsWithout());
}

TEST(WriterFit, RecoversASimulatedPointersThroughput) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    const struct {
        double BitsPerSecond, Sigma;
    } cases[] = {{4.9, 0}, {3.0, 0}, {0.65, 0}, {4.9, 1}, {3.0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.BitsPerSecond << " bits/s, sigma " << c.Sigma);
        const WriterFit fit =
            FitOfDemo(TypeJitteredDemo(board, kText, c.Sigma, 7, c.BitsPerSecond));
        // Nearly every character is a glide of its own that the fit keeps.
        EXPECT_GT(fit.Glides, static_cast<long long>(kText.size()) * 9 / 10);
        EXPECT_NEAR(fit.BitsPerSecond, c.BitsPerSecond, 0.05 * c.BitsPerSecond);
        // Sampling at 50 ms rounds short glides, which shows in a and b more than in the whole.
        EXPECT_NEAR(fit.B, 1 / c.BitsPerSecond, 0.15 / c.BitsPerSecond);
    }
}

TEST(WriterFit, OnlyWholeGlidesCountAndACompletionsLookIsMeasured) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    GlideMeter meter;
    double t = 0;
    // The centre cell is (3, 3) of the built-in board; "a" is out to the left of it.
    const CellPoint centre = CellCentre(board, {3, 3});
    const CellPoint out = CellCentre(board, {1, 3});
    const auto at = [&](CellPoint p, bool fetched = false) {
        meter.Sample(board, int32_t(p.X), int32_t(p.Y), t, fetched);
        t += 0.05;
    };
    const auto rest = [&](double seconds) {
        for (double until = t + seconds; t < until;)
            at(centre);
    };
    // Out and back, fetching on the way back as often as asked (going out again between).
    const auto glide = [&](int fetches) {
        const CellPoint mid{(centre.X + out.X) / 2, centre.Y};
        at(mid);
        at(out);
        for (int i = 1; i < fetches; ++i) {
            at(mid, true);
            at(out);
        }
        at(mid, fetches > 0);
        at(centre);
    };
    rest(0.5);
    glide(1);
    rest(0.5);
    meter.CompletionShown();
    rest(0.5);  // a rest of a second with a completion
    glide(1);
    rest(0.5);
    glide(2);  // two fetches: a chain, not one glide
    rest(0.5);
    glide(0);  // out and back without a fetch
    rest(0.5);
    at(out);
    meter.Interrupt();  // left the board on the way
    at(centre);
    rest(0.5);
    ASSERT_EQ(meter.Glides().size(), 2U);
    EXPECT_NEAR(meter.Glides()[0].Seconds, 0.2, 1e-9);
    EXPECT_NEAR(meter.Glides()[0].Bits, MovementBits(board, {3, 3}, {1, 3}) * 2, 1e-9);
    const WriterFit fit =
        FitWriter(meter.Glides(), meter.RestsWithCompletion(), meter.RestsWithout());
    EXPECT_EQ(fit.Looks, 1);
    EXPECT_NEAR(fit.LookSeconds, 0.5, 0.06);
    meter.Forget();
    EXPECT_TRUE(meter.Glides().empty());
}

TEST(WriterFit, TheFitFileReadsBackAndRefusesWhatIsNotOne) {
    const WriterFit fit{312, -0.05, 0.21, 4.4, 17, 0.42};
    const std::optional<WriterFit> back = ParseWriterFit(WriterFitJson(fit));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Glides, 312);
    EXPECT_DOUBLE_EQ(back->A, -0.05);
    EXPECT_DOUBLE_EQ(back->BitsPerSecond, 4.4);
    EXPECT_DOUBLE_EQ(back->LookSeconds, 0.42);
    for (const char* bad :
         {"", "{}", "{\"bitsPerSecond\":0}", "{\"bitsPerSecond\":nan}", "{\"bitsPerSecond\":4.9",
          "{\"bitsPerSecond\":4.9} x", "{\"bitsPerSecond\" 4.9}", "{\"bitsPerSecond\":1e300}",
          "[4.9]", "{\"bitsPerSecond\":4.9,}", "{\"bitsPerSecond\":4.9,\"glides\":-3}"}) {
        EXPECT_FALSE(ParseWriterFit(bad)) << bad;
    }
}

TEST(WriterFit, TheThresholdFollowsLookAgainstGlideTime) {
    // The pointer kinds on the built-in board keep their thresholds, the model's own and the
    // calibrated ones; slower glides lower it.
    const struct {
        double SecondsPerCharacter, Threshold, Calibrated;
    } cases[] = {{60 / 93.1, 0.5, 0.4}, {60 / 57.0, 0.4, 0.3}, {60 / 12.4, 0.1, 0.1}};
    for (const auto& c : cases) {
        EXPECT_NEAR(ThresholdForWriter(0.35, c.SecondsPerCharacter), c.Threshold, 0.01);
        EXPECT_NEAR(ThresholdForWriter(0.35, c.SecondsPerCharacter, true), c.Calibrated, 0.02);
    }
    EXPECT_EQ(ThresholdForWriter(0.35, 100), 0.05);
    EXPECT_EQ(ThresholdForWriter(5, 0.1), 0.9);
}

TEST(WriterFit, AWriterOfAPointersThroughputIsModelledAsThatPointer) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    WordModel model;
    model.ReadBase(WriteBaseModel(kText));
    PredictionOptions options;
    options.Mode = PredictionMode::Centre;
    options.Writer = WriterFit{500, 0, 1 / 3.0, 3.0, 0, 0};
    const PredictionCost cost = CostWithPrediction(board, kText, model, options);
    ASSERT_TRUE(cost.Writer);
    // The trackball's 3 bits/s, with a threshold from its own times: 0.4, as the trackball's.
    EXPECT_NEAR(cost.Writer->Speed.CharactersPerMinute, cost.Profiles[1].Speed.CharactersPerMinute,
                0.01 * cost.Profiles[1].Speed.CharactersPerMinute);
    options.Writer = std::nullopt;
    EXPECT_FALSE(CostWithPrediction(board, kText, model, options).Writer);
}

}  // namespace
}  // namespace glidtavla
