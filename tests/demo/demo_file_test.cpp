#include "demo/demo_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

#include <functional>
#include <string>

#include "base/errors.h"
#include "test_support.h"

namespace glidtavla {
namespace {

TEST(DemoRecording, LinesAreWrittenAsTheyAreMade) {
    TempDir dir;
    const std::string path = dir.Write("d.dem", "old content that must go");
    DemoFile file;
    OpenDemoForRecording(file, path);
    EXPECT_EQ(ReadAll(path), "");
    DemoRecorder recorder(file);
    SelectionState state;
    state.X0 = -12;
    state.Y0 = 2147483647;
    state.Armed = true;
    recorder.WriteDemoSample(state);
    EXPECT_EQ(ReadAll(path), "-12 2147483647 1 0\r\n");  // on disk before the file closes
    state.X0 = 0;
    state.Y0 = -2147483647 - 1;
    state.Armed = false;
    state.ShiftHeld = true;
    recorder.WriteDemoSample(state);
    EXPECT_EQ(ReadAll(path), "-12 2147483647 1 0\r\n0 -2147483648 0 1\r\n");
}

TEST(DemoRecording, OpenFailuresCarryTheirCodes) {
    TempDir dir;
    DemoFile file;
    EXPECT_EQ(ErrorOf([&] { OpenDemoForRecording(file, dir.File("none/d.dem")); }),
              "Invalid filename");
    EXPECT_EQ(ErrorOf([&] { OpenDemoForRecording(file, dir.Path()); }), "File access denied");
    const std::string held = dir.Write("held.dem", "keep");
    const int other = open(held.c_str(), O_WRONLY);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ErrorOf([&] { OpenDemoForRecording(file, held); }), "I/O error 32");
    EXPECT_EQ(ErrorOf([&] { OpenDemoForPlayback(file, held); }), "I/O error 32");
    EXPECT_EQ(ReadAll(held), "keep");  // a file someone else writes is not emptied
    close(other);
    EXPECT_EQ(ErrorOf([&] { OpenDemoForPlayback(file, dir.File("missing.dem")); }),
              "File not found");
    EXPECT_EQ(file.CurrentMode(), DemoFile::Mode::Closed);
}

TEST(DemoRecording, AWriteTheFileSystemRefusesIsDiskFull) {
    TempDir dir;
    DemoFile file;
    OpenDemoForRecording(file, dir.File("full.dem"));
    DemoRecorder recorder(file);
    const FileSizeLimit full(4);
    EXPECT_EQ(ErrorOf([&] { recorder.WriteDemoSample(SelectionState{}); }), "Disk full");
    EXPECT_EQ(file.CurrentMode(), DemoFile::Mode::Writing);  // the next sample tries again
}

TEST(DemoFileModes, WrongUseIsCode104Or105) {
    TempDir dir;
    DemoFile file;
    SelectionState state;
    bool playing = true;
    EXPECT_EQ(ErrorOf([&] { ReadDemoSample(file, state, playing); }), "I/O error 104");
    EXPECT_EQ(ErrorOf([&] { DemoRecorder(file).WriteDemoSample(state); }), "I/O error 105");
    OpenDemoForRecording(file, dir.File("d.dem"));
    EXPECT_EQ(ErrorOf([&] { ReadDemoSample(file, state, playing); }), "I/O error 104");
    // Recording then playing the same file works once the recording is closed.
    DemoRecorder(file).WriteDemoSample(state);
    file.Close();
    OpenDemoForPlayback(file, dir.File("d.dem"));
    ReadDemoSample(file, state, playing);
    EXPECT_FALSE(playing);
}

class DemoReading : public ::testing::Test {
  protected:
    // Reads one sample from a file holding bytes.
    void Read(const std::string& bytes) {
        path = dir.Write("r.dem", bytes);
        file.Close();
        OpenDemoForPlayback(file, path);
        ReadDemoSample(file, state, playing);
    }
    void Next() { ReadDemoSample(file, state, playing); }

    TempDir dir;
    std::string path;
    DemoFile file;
    SelectionState state;
    bool playing = true;
};

TEST_F(DemoReading, ASampleSetsPositionFlagsAndFindsTheEndAfterTheLastLine) {
    Read("10 20 1 1\r\n30 40 0 0\r\n");
    EXPECT_EQ(state.X0, 10);
    EXPECT_EQ(state.Y0, 20);
    EXPECT_TRUE(state.Armed);
    EXPECT_TRUE(state.ShiftHeld);
    EXPECT_TRUE(playing);
    Next();
    EXPECT_EQ(state.X0, 30);
    EXPECT_TRUE(state.Armed);  // 0 leaves Armed as it is
    EXPECT_FALSE(state.ShiftHeld);
    EXPECT_FALSE(playing);  // the end is found on the tick that read the last line
}

TEST_F(DemoReading, EmptyFileEndsAtOnceKeepingPosition) {
    state.X0 = 7;
    state.ShiftHeld = true;
    state.Armed = true;
    Read("");
    EXPECT_FALSE(playing);
    EXPECT_EQ(state.X0, 7);
    EXPECT_TRUE(state.Armed);
    EXPECT_FALSE(state.ShiftHeld);
}

TEST_F(DemoReading, LastLineWithoutLineEndIsReadWhole) {
    Read("123 -45 0 1");
    EXPECT_EQ(state.X0, 123);
    EXPECT_EQ(state.Y0, -45);
    EXPECT_TRUE(state.ShiftHeld);
    EXPECT_FALSE(playing);
}

TEST_F(DemoReading, TrailingEmptyLineGivesASampleAtZero) {
    Read("5 6 0 1\r\n\r\n");
    EXPECT_TRUE(playing);
    state.Armed = true;
    Next();
    EXPECT_EQ(state.X0, 0);
    EXPECT_EQ(state.Y0, 0);
    EXPECT_TRUE(state.Armed);
    EXPECT_FALSE(state.ShiftHeld);
    EXPECT_FALSE(playing);
}

TEST_F(DemoReading, OnlyOneSetsTheFlags) {
    Read("1 1 2 2\r\n1 1 -1 -1\r\n");
    EXPECT_FALSE(state.Armed);
    EXPECT_FALSE(state.ShiftHeld);
    state.ShiftHeld = true;
    Next();
    EXPECT_FALSE(state.ShiftHeld);
}

// The quick way through a plain line reads every file exactly as the general reading does:
// random lines, most plain, some with extra blanks, signs, letters, long numbers, more or
// fewer values, lone LFs and CRs.
TEST(DemoPlainLines, ReadAsTheGeneralWayReadsThem) {
    std::mt19937 random(5);
    const auto number = [&] {
        const char* odd[] = {"+7", "12345678", "x", "-", "5-", "-0", "0007", "1-2", "--3"};
        switch (random() % 12) {
            case 0:
            case 1:
            case 2:
                return std::string(odd[random() % 9]);
            case 3:
                return std::to_string(-static_cast<int>(random() % 50000));
            default:
                return std::to_string(random() % (random() % 3 == 0 ? 9999999 : 400));
        }
    };
    const char* separators[] = {" ", " ", " ", " ", " ", "  ", "\t"};
    const char* ends[] = {"\r\n", "\r\n", "\r\n", "\r", "\n", " \r\n", ""};
    std::string bytes;
    for (int line = 0; line < 20000; ++line) {
        const int values = random() % 10 == 0 ? 3 + static_cast<int>(random() % 3) : 4;
        for (int i = 0; i < values; ++i)
            bytes += (i > 0 ? separators[random() % 7] : "") + number();
        bytes += ends[random() % 7];
    }
    TempDir dir;
    TextReader quick(dir.Write("random.dem", bytes));  // from a file: across block edges
    TextReader general(TextReader::InMemory{}, bytes);
    SelectionState state;
    bool playing = true;
    int errors = 0;
    while (playing) {
        std::string quickError = "no error", generalError = "no error";
        quickError = ErrorOf([&] { ReadDemoSample(quick, state, playing); });
        int32_t values[4] = {state.X0, state.Y0, 0, 0};
        if (!general.AtEndOfFile()) {
            bool ok = true;
            for (int32_t& value : values) {
                const ValueRead got = general.TryReadValue();
                if (!got.Ok) {
                    ok = false;
                    break;
                }
                value = got.Value;
            }
            general.SkipLine();
            if (!ok) generalError = "Invalid numeric input";
        }
        ASSERT_EQ(quickError, generalError);
        ASSERT_EQ(quick.LineNumber(), general.LineNumber());
        if (quickError != "no error") {
            ++errors;
            continue;
        }
        ASSERT_EQ(state.X0, values[0]);
        ASSERT_EQ(state.Y0, values[1]);
        ASSERT_EQ(state.ShiftHeld, values[3] == 1);
        ASSERT_EQ(quick.AtEndOfFile(), general.AtEndOfFile());
    }
    EXPECT_GT(errors, 100);
}

TEST(DemoLine, MarksTheFirstSampleAfterAnEntryWithMinusOne) {
    SelectionState state;
    state.X0 = -3;
    state.Y0 = 40;
    state.Armed = true;
    state.ShiftHeld = true;
    EXPECT_EQ(FormatDemoLine(state), "-3 40 1 1\r\n");
    RestSelection(state);
    EXPECT_EQ(FormatDemoLine(state), "-3 40 -1 1\r\n");
}

TEST_F(DemoReading, MinusOneRestsTheSelection) {
    state.Armed = true;
    state.PreviousCell = {1, 3};
    state.PreviousDistance = 2;
    Read("340 270 -1 0\r\n");
    EXPECT_TRUE(state.Resting);
    EXPECT_FALSE(state.Armed);
    EXPECT_EQ(state.X0, 340);
}

TEST_F(DemoReading, NumbersAcrossLinesMakeOneSampleAndExtrasAreSkipped) {
    Read("1 2\r\n3 1 99 98\r\n7 8 0 0\r\n");
    EXPECT_EQ(state.X0, 1);
    EXPECT_EQ(state.Y0, 2);
    EXPECT_FALSE(state.Armed);  // A was 3
    EXPECT_TRUE(state.ShiftHeld);
    Next();
    EXPECT_EQ(state.X0, 7);
}

TEST_F(DemoReading, LfOnlyFileReplaysEverySample) {
    Read("1 2 0 0 9\n3 4 1 0\n");
    EXPECT_EQ(state.X0, 1);
    EXPECT_TRUE(playing);
    Next();
    EXPECT_EQ(state.X0, 3);
    EXPECT_TRUE(state.Armed);
    EXPECT_FALSE(playing);
}

TEST_F(DemoReading, LoneLfInAFileWithCrDoesNotEndALine) {
    Read("1 2 0 0\n3 4 0 0\r\n");
    EXPECT_EQ(state.X0, 1);
    EXPECT_FALSE(playing);
}

TEST_F(DemoReading, CtrlZEndsTheFile) {
    Read(
        "1 2 0 0\r\n\x1A"
        "3 4 0 0\r\n");
    EXPECT_FALSE(playing);
}

TEST_F(DemoReading, AMalformedValueSkipsItsLineAndRaises) {
    state.X0 = 99;
    EXPECT_EQ(ErrorOf([&] { Read("1 2x 0 1 5\r\n3 4 1 0\r\n"); }), "Invalid numeric input");
    EXPECT_EQ(state.X0, 99);  // nothing of the bad line reaches the state
    EXPECT_TRUE(playing);     // no end test on that tick
    Next();
    EXPECT_EQ(state.X0, 3);
    EXPECT_TRUE(state.Armed);
}

}  // namespace
}  // namespace glidtavla
