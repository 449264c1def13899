#include "model/prediction_cost.h"

#include <gtest/gtest.h>

#include <cmath>

#include "demo/demo_replay.h"
#include "demo/demo_typist.h"
#include "test_support.h"

namespace glidtavla {
namespace {

// A 3 x 3 board of 30-pixel cells, its centre (3, 3) the bottom right corner: "a" at (1, 1),
// "b" at (2, 1), SP at (3, 2).
CharacterBoard SmallBoard() {
    CharacterBoard board = SmallGrid();
    board.NormalCodes[1][1] = 'a';
    board.NormalCodes[2][1] = 'b';
    board.NormalCodes[3][2] = kCodeSpace;
    return board;
}

WordModel ModelOf(const std::string& text) {
    WordModel model;
    model.ReadBase(WriteBaseModel(text));
    return model;
}

TEST(PredictionCost, TheCentreCompletionHandComputedOnASmallBoard) {
    // "ab" is the only word, so after "a" the centre shows it, sure. Each word is then "a" and
    // SP with shift: 4 glides for 5 characters.
    PredictionOptions options;
    options.Mode = PredictionMode::Centre;
    const PredictionCost cost =
        CostWithPrediction(SmallBoard(), "ab ab", ModelOf("ab. ab."), options);
    EXPECT_NEAR(cost.KeystrokeSavings, 0.2, 1e-12);

    // Out and back: a is 84.85 pixels away, b 67.08, SP 30; every cell 30 wide.
    const double a = 2 * std::log2(84.8528137 / 30 + 1), b = 2 * std::log2(67.0820393 / 30 + 1),
                 sp = 2 * std::log2(30.0 / 30 + 1);
    const double look = 0.2 + 0.15 * std::log2(2);
    for (std::size_t p = 0; p < kPointerProfiles.size(); ++p) {
        const double throughput = kPointerProfiles[p].BitsPerSecond;
        // A look pays for each profile: it saves "b", longer than a look.
        const double seconds = (2 * a + 2 * sp) / throughput + 2 * look;
        EXPECT_NEAR(cost.Profiles[p].Speed.CharactersPerMinute, 300 / seconds, 1e-6);
        EXPECT_NEAR(cost.Profiles[p].LooksPerCharacter, 0.4, 1e-12);
        const double saved = (2 * b - sp) / throughput;  // two b and a space, for two SP
        EXPECT_NEAR(cost.Profiles[p].BreakEvenLookSeconds, saved / 2, 1e-6);
    }

    // When a look costs more than what it may save, the rational writer never looks.
    options.LookA = 10;
    const PredictionCost slow =
        CostWithPrediction(SmallBoard(), "ab ab", ModelOf("ab. ab."), options);
    const BoardCost plain = CostOfText(SmallBoard(), "ab ab");
    EXPECT_NEAR(slow.Profiles[0].Speed.CharactersPerMinute, plain.Speeds[0].CharactersPerMinute,
                1e-9);
    EXPECT_EQ(slow.Profiles[0].LooksPerCharacter, 0);
}

TEST(PredictionCost, ChainedGlidesTurnShortAndTheirDemoWritesTheText) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    // d (2, 5) to e (2, 4) turns in i (3, 4); c (1, 1) to k (2, 1) in the centre's neighbour.
    EXPECT_EQ(TurnBetween({2, 5}, {2, 4}), (BoardCell{3, 4}));
    EXPECT_EQ(TurnBetween({1, 1}, {2, 1}), (BoardCell{2, 2}));
    EXPECT_EQ(TurnBetween({1, 1}, {7, 7}), (BoardCell{3, 3}));
    EXPECT_EQ(TurnBetween({4, 4}, {4, 3}), (BoardCell{3, 3}));

    const std::string text = "Hej de kan, 12\nAnna\n";
    TempDir dir;
    const std::string chained = TypeDemo(board, text, true);
    EXPECT_LT(chained.size(), TypeDemo(board, text).size());
    const Replay replay = ReplayDemo(board, dir.Write("c.dem", chained));
    EXPECT_EQ(TextAreaListed(replay.View.TextArea),
              (std::vector<std::string>{"", "Hej de kan, 12\r", "Anna\r"}));

    PredictionOptions options;
    options.Glide = GlideKind::Chained;
    const PredictionCost cost = CostWithPrediction(board, text, WordModel(), options);
    EXPECT_GT(cost.Profiles[0].Speed.CharactersPerMinute,
              CostOfText(board, text).Speeds[0].CharactersPerMinute);
}

}  // namespace
}  // namespace glidtavla

namespace glidtavla {
namespace {

TEST(PredictionCost, ASignsOwnSpaceSavesTheSpacesGlideAndCostsABackspaceWhereNoneFollows) {
    CharacterBoard board = SmallBoard();
    board.NormalCodes[1][2] = '.';
    board.NormalCodes[2][2] = kCodeBackspace;
    const struct {
        const char* Text;
        double Savings;
    } cases[] = {{"ab. ab", 1.0 / 6}, {"ab.b", -1.0 / 4}, {"a. b", 0}, {"ab.. ab", 0}};
    PredictionOptions options;
    for (const auto& c : cases) {
        options.AutoSpace = true;
        EXPECT_NEAR(CostWithPrediction(board, c.Text, WordModel{}, options).KeystrokeSavings,
                    c.Savings, 1e-12)
            << c.Text;
        options.AutoSpace = false;
        EXPECT_EQ(CostWithPrediction(board, c.Text, WordModel{}, options).KeystrokeSavings, 0);
    }
}

}  // namespace
}  // namespace glidtavla
