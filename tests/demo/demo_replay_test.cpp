#include "demo/demo_replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"
#include "board/board_table.h"
#include "board/shift.h"
#include "demo/demo_file.h"
#include "demo/demo_typist.h"
#include "test_support.h"

namespace glidtavla {
namespace {

// The text a replay wrote: the transferred lines joined by "\n", then the character line.
std::string Written(const Replay& replay) {
    std::string text;
    const std::vector<std::string> lines = TextAreaListed(replay.View.TextArea);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += line + "\n";
    }
    return text + replay.View.Line;
}

std::string TypeThenReplay(const CharacterBoard& board, const std::string& text, TempDir& dir) {
    const std::string demo = dir.Write("typed.dem", TypeDemo(board, text));
    const Replay replay = ReplayDemo(board, demo);
    EXPECT_TRUE(replay.Errors.empty());
    return Written(replay);
}

// Every byte the board writes, unshifted or shifted, and the line feed.
std::string Alphabet(const CharacterBoard& board) {
    std::string alphabet = "\n";
    for (int column = 1; column <= 7; ++column) {
        for (int row = 1; row <= 7; ++row) {
            for (uint8_t ch :
                 {board.NormalCodes[column][row],
                  ApplyShift(board.NormalCodes[column][row], board.ShiftCodes[column][row])}) {
                if (ch > 32 && alphabet.find(static_cast<char>(ch)) == std::string::npos) {
                    alphabet.push_back(static_cast<char>(ch));
                }
            }
        }
    }
    return alphabet + " ";
}

TEST(TypeThenReplay, GivesBackAnyTextTheBuiltInBoardCanWrite) {
    TempDir dir;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    const std::string alphabet = Alphabet(board);
    EXPECT_EQ(alphabet.size(), 1 + 43 + 43 + 1u);  // LF, 43 plain and 43 shifted, space
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = length(random); i > 0; --i)
            text.push_back(alphabet[pick(random)]);
        ASSERT_EQ(TypeThenReplay(board, text, dir), text) << "round " << round;
    }
}

TEST(TypeThenReplay, WorksOnABoardOfTheUsersOwn) {
    TempDir dir;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    // 5 x 5 cells of 30 x 20 pixels; the shift block gives "W" to the foot cell.
    LoadBoardTable(board, dir.Write("own.tab",
                                    "30 60 90 120 150\r\n20 40 60 80 100\r\n"
                                    "97 98 99 100 101\r\n102 103 104 105 106\r\n"
                                    "107 108 0 13 32\r\n109 110 111 112 113\r\n"
                                    "114 115 0 116 117\r\n\r\n\r\n\r\n\r\n\r\n0 0 87\r\n"));
    EXPECT_EQ(TypeThenReplay(board, "Wa bc\nKUT", dir), "Wa bc\nKUT");
}

// Live writing with the pointer leaving and coming back, recorded, then replayed.
TEST(ReplayDemo, ARecordingWithEntriesReplaysToWhatWasWrittenLive) {
    TempDir dir;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    const std::string path = dir.Path() + "/live.dem";
    SelectionState state;
    PlainView live;
    {
        DemoFile file;
        OpenDemoForRecording(file, path);
        DemoRecorder recorder(file);
        const auto at = [&](int column, int row) {
            ProcessPointerSample(state, board, live, &recorder, 50 * column - 25, 40 * row - 20);
        };
        RestSelection(state);  // START
        at(7, 7), at(3, 3);    // in at "+"
        at(2, 3), at(3, 3);    // "s"
        at(3, 2), at(3, 1);    // out towards "f", then away to the menus
        Disarm(state, live);
        RestSelection(state);
        at(7, 6), at(3, 3);  // back in at DL
        at(1, 2), at(3, 3);  // "b"
        // The shift cell in place of "<": once, and locked for two, then off again.
        board.NormalCodes[4][7] = kCodeShiftCell;
        at(4, 7), at(3, 3), at(2, 2), at(3, 3);
        at(4, 7), at(3, 3), at(4, 7), at(3, 3), at(2, 2), at(3, 3), at(2, 2), at(3, 3);
        at(4, 7), at(3, 3), at(2, 2), at(3, 3);
    }
    EXPECT_EQ(live.Line, "sbAAAa");
    const Replay replay = ReplayDemo(board, path);
    EXPECT_EQ(replay.View.Line, live.Line);
    EXPECT_EQ(replay.View.TextArea, live.TextArea);
    EXPECT_TRUE(replay.Errors.empty());
}

// Files made before entries were marked hold only 0 and 1, and replay as they always did.
TEST(ReplayDemo, AnUnmarkedEntryStillFetchesAsBefore) {
    TempDir dir;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    const std::string path = dir.Write("old.dem", "125 100 0 0\r\n340 270 0 0\r\n125 100 1 0\r\n");
    EXPECT_EQ(ReplayDemo(board, path).View.Line, "+");
}

TEST(TypeDemo, NamesACharacterNoCellGives) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    try {
        TypeDemo(board, "aw");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "No cell of the board gives \"w\" (code 119)");
    }
}

TEST(ReplayDemo, TracesEveryTickAndGoesOnAfterAMalformedLine) {
    TempDir dir;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    const std::string demo = dir.Write(
        "t.dem", "125 100 0 0\r\n75 100 0 0\r\n25 1q 0 0\r\n25 100 1 0\r\n75 100 1 0\r\n");
    std::vector<ReplayTick> trace;
    const Replay replay = ReplayDemo(board, demo, [&](std::span<const ReplayTick> ticks) {
        trace.insert(trace.end(), ticks.begin(), ticks.end());
    });
    EXPECT_EQ(replay.Samples, 4);
    EXPECT_EQ(replay.Errors, std::vector<std::string>{"Invalid numeric input"});
    ASSERT_EQ(trace.size(), 4u);
    EXPECT_EQ(trace[1].Cell, (BoardCell{2, 3}));
    EXPECT_TRUE(trace[1].Armed);
    EXPECT_FALSE(trace[1].Fetched.has_value());
    EXPECT_EQ(trace[2].ch, 's');
    EXPECT_EQ(trace[2].CellColour, IndicatorColour::Yellow);
    EXPECT_EQ(trace[3].Fetched, std::optional<uint8_t>('m'));
    EXPECT_EQ(trace[3].X1, -50);
    EXPECT_EQ(replay.View.Line, "m");
}

// Playing a whole file takes plain lines a batch at a time; each tick must still be the one
// the window's timer makes, reading one sample at a time: random gestures over blocks of
// the reader's buffer, with malformed, short, long and resting lines among them.
TEST(ReplayDemo, PlaysEveryTickAsTheWindowsTimerDoes) {
    std::mt19937 random(11);
    std::string bytes;
    const char* odd[] = {"1 2 3\r\n",       "x 1 0 0\r\n",    "\r\n",
                         "5 5 1 0 9\r\n",   "-0 -7 -1 1\r\n", "12345678 1 0 0\r\n",
                         "  7  8  1  1\r\n"};
    while (bytes.size() < 300000) {
        if (random() % 50 == 0) {
            bytes += odd[random() % 7];
            continue;
        }
        bytes += std::to_string(static_cast<int>(random() % 420) - 60) + ' ' +
                 std::to_string(static_cast<int>(random() % 340) - 60) + ' ' +
                 std::to_string(static_cast<int>(random() % 3) - 1) + ' ' +
                 std::to_string(random() % 4 == 0) + "\r\n";
    }
    TempDir dir;
    const std::string demo = dir.Write("random.dem", bytes);
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    std::vector<ReplayTick> ticks;
    const Replay replay = ReplayDemo(board, demo, [&](std::span<const ReplayTick> batch) {
        ticks.insert(ticks.end(), batch.begin(), batch.end());
    });

    TextReader reader(demo);
    SelectionState state;
    PlainView view;
    std::size_t tick = 0, errors = 0;
    for (bool playing = true; playing;) {
        try {
            ReadDemoSample(reader, state, playing);
        } catch (const Error&) {
            ++errors;
            continue;
        }
        ProcessPointerSample(state, board, view, nullptr, state.X0, state.Y0);
        ASSERT_LT(tick, ticks.size());
        ASSERT_EQ(ticks[tick].X0, state.X0) << "tick " << tick;
        ASSERT_EQ(ticks[tick].Y0, state.Y0) << "tick " << tick;
        ASSERT_EQ(ticks[tick].Armed, state.Armed) << "tick " << tick;
        ASSERT_EQ(ticks[tick].ShiftHeld, state.ShiftHeld) << "tick " << tick;
        ASSERT_EQ(ticks[tick].ch, state.ch) << "tick " << tick;
        ++tick;
    }
    EXPECT_EQ(tick, ticks.size());
    EXPECT_EQ(errors, replay.Errors.size() + static_cast<std::size_t>(replay.MoreErrors));
    EXPECT_GT(errors, 10u);
    EXPECT_EQ(view.TextArea, replay.View.TextArea);
    EXPECT_EQ(view.Line, replay.View.Line);
    EXPECT_GT(replay.View.TextArea.size() + replay.View.Line.size(), 10u);
}

// A player that stops early (here an observer that fails) stops reading the file too, and a
// file that cannot be opened fails at once.
TEST(ReplayDemo, StopsReadingWhenPlayingStopsEarly) {
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += "125 100 0 0\r\n";
    TempDir dir;
    const std::string demo = dir.Write("long.dem", bytes);
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    int batches = 0;
    const auto failing = [&](std::span<const ReplayTick>) {
        if (++batches == 3) throw std::runtime_error("observer gave up");
    };
    EXPECT_THROW(ReplayDemo(board, demo, failing), std::runtime_error);
    EXPECT_EQ(batches, 3);
    EXPECT_EQ(ErrorOf([&] { ReplayDemo(board, dir.File("missing.dem")); }), "File not found");
}

// Edit distance over the meant text's length.
double ErrorRate(const std::string& written, const std::string& meant) {
    std::vector<std::size_t> previous(meant.size() + 1), current(meant.size() + 1);
    for (std::size_t j = 0; j <= meant.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= written.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= meant.size(); ++j) {
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                                   previous[j - 1] + (written[i - 1] != meant[j - 1])});
        }
        std::swap(previous, current);
    }
    return double(previous[meant.size()]) / double(meant.size());
}

// A hand trembling at sigma 4 px writes a Swedish sentence: unguarded it writes far more than
// it meant, the 8 px guard at most 1 % wrong, over five trembles.
TEST(ReplayDemo, TheGuardKeepsATremblingHandsErrorsUnderOnePercent) {
    TempDir dir;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    const std::string meant =
        "Det finns m\xE4nniskor som inte kan anv\xE4nda ett tangentbord.\n"
        "N\xE5gra styr datorn med huvudet, andra med en darrande hand.";
    for (uint32_t seed = 1; seed <= 5; ++seed) {
        const std::string demo = dir.Write("jitter.dem", TypeJitteredDemo(board, meant, 4, seed));
        EXPECT_GT(ErrorRate(Written(ReplayDemo(board, demo)), meant), 0.5) << seed;
        EXPECT_LE(ErrorRate(Written(ReplayDemo(board, demo, nullptr, 8)), meant), 0.01) << seed;
    }
}

}  // namespace
}  // namespace glidtavla
