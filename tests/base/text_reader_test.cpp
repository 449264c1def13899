#include "base/text_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

#include <string>
#include <vector>

#include "base/errors.h"
#include "test_support.h"

namespace glidtavla {
namespace {

TEST(ParseToken, DecimalWithinTheSigned32BitRange) {
    EXPECT_EQ(ParseToken("0").Value, 0);
    EXPECT_EQ(ParseToken("+17").Value, 17);
    EXPECT_EQ(ParseToken("-17").Value, -17);
    EXPECT_EQ(ParseToken("000123").Value, 123);
    EXPECT_EQ(ParseToken("2147483647").Value, INT32_MAX);
    EXPECT_EQ(ParseToken("-2147483648").Value, INT32_MIN);
    EXPECT_TRUE(ParseToken("-2147483648").Ok);
    EXPECT_FALSE(ParseToken("2147483648").Ok);
    EXPECT_FALSE(ParseToken("-2147483649").Ok);
}

TEST(ParseToken, HexadecimalIsA32BitPattern) {
    EXPECT_EQ(ParseToken("$41").Value, 65);
    EXPECT_EQ(ParseToken("$ff").Value, 255);
    EXPECT_EQ(ParseToken("$FFFFFFFF").Value, -1);
    EXPECT_EQ(ParseToken("$7FFFFFFF").Value, INT32_MAX);
    EXPECT_FALSE(ParseToken("$100000000").Ok);
    EXPECT_FALSE(ParseToken("$").Ok);
    EXPECT_FALSE(ParseToken("-$41").Ok);
    EXPECT_FALSE(ParseToken("$4G").Ok);
}

TEST(ParseToken, FaultsKeepTheDigitsBeforeThemWithoutSign) {
    const std::vector<std::pair<std::string, int32_t>> faults = {
        {"12,", 12},
        {"-12x", 12},
        {"a", 0},
        {"+", 0},
        {"-", 0},
        {",", 0},
        {"2147483648", 214748364},
        {"$12G", 0x12},
    };
    for (const auto& [token, partial] : faults) {
        const ValueRead read = ParseToken(token);
        EXPECT_FALSE(read.Ok) << token;
        EXPECT_EQ(read.Value, partial) << token;
    }
}

TEST(TextReader, ValuesPassOverBlanksControlBytesAndLineEnds) {
    const std::string bytes = " \t12\r\n\r\n\x01-3\n\t$a";
    TextReader reader(TextReader::InMemory{}, bytes);
    EXPECT_EQ(reader.ReadValue(), 12);
    EXPECT_TRUE(reader.AtEndOfLine());
    EXPECT_EQ(reader.ReadValue(), -3);
    EXPECT_FALSE(reader.AtEndOfLine());  // a lone LF ends no line
    EXPECT_EQ(reader.ReadValue(), 10);
    EXPECT_TRUE(reader.AtEndOfFile());
    EXPECT_EQ(reader.ReadValue(), 0);  // at the end: 0 and no error
    EXPECT_EQ(reader.LineNumber(), 3);
}

TEST(TextReader, AtEndOfLineDoesNotPassOverBlanks) {
    TextReader reader(TextReader::InMemory{}, "5 \r\n6");
    EXPECT_EQ(reader.ReadValue(), 5);
    EXPECT_FALSE(reader.AtEndOfLine());
    EXPECT_EQ(reader.ReadValue(), 6);  // the blank made the read run into the next line
    EXPECT_TRUE(reader.AtEndOfLine());
}

TEST(TextReader, SkipLineTakesCrAndOneFollowingLf) {
    TextReader reader(TextReader::InMemory{}, "1 2\r\r\n3\n4\r\n\n5");
    reader.SkipLine();
    EXPECT_TRUE(reader.AtEndOfLine());  // the second CR
    reader.SkipLine();
    EXPECT_EQ(reader.ReadValue(), 3);
    reader.SkipLine();  // runs over the lone LF to the CR LF
    EXPECT_EQ(reader.LineNumber(), 4);
    EXPECT_EQ(reader.ReadValue(), 5);
    reader.SkipLine();
    EXPECT_TRUE(reader.AtEndOfFile());
}

TEST(TextReader, CtrlZEndsTheFileWhereverItStands) {
    TextReader reader(TextReader::InMemory{}, "7 8\x1A 9\r\n10");
    EXPECT_EQ(reader.ReadValue(), 7);
    EXPECT_EQ(reader.ReadValue(), 8);
    EXPECT_TRUE(reader.AtEndOfFile());
    EXPECT_TRUE(reader.AtEndOfLine());
    reader.SkipLine();
    EXPECT_EQ(reader.ReadValue(), 0);
    EXPECT_TRUE(reader.AtEndOfFile());
}

TEST(TextReader, LongTokensAreSplitAt32Bytes) {
    const std::string bytes = std::string(30, '0') + "12" + "345";
    TextReader reader(TextReader::InMemory{}, bytes);
    EXPECT_EQ(reader.ReadValue(), 12);
    EXPECT_EQ(reader.ReadValue(), 345);
}

TEST(TextReader, MalformedTokenIsInvalidNumericInput) {
    TextReader reader(TextReader::InMemory{}, "12, 5");
    EXPECT_EQ(ErrorOf([&] { reader.ReadValue(); }), "Invalid numeric input");
    EXPECT_EQ(reader.ReadValue(), 5);  // the bad token is consumed
}

TEST(TextReader, ReadsAFileLargerThanItsBuffer) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 30000; ++i)
        bytes += std::to_string(i) + (i % 10 == 9 ? "\r\n" : " ");
    TextReader reader(dir.Write("big.txt", bytes));
    int64_t sum = 0;
    for (int i = 0; i < 30000; ++i)
        sum += reader.ReadValue();
    EXPECT_EQ(sum, int64_t{30000} * 29999 / 2);
    reader.SkipLine();
    EXPECT_TRUE(reader.AtEndOfFile());
}

TEST(TextReaderErrors, OpeningFailuresCarryTheirCodes) {
    TempDir dir;
    EXPECT_EQ(ErrorOf([&] { TextReader r(dir.File("missing.tab")); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { TextReader r(dir.File("no-folder/x.tab")); }), "Invalid filename");
    EXPECT_EQ(ErrorOf([&] { TextReader r(dir.Path()); }), "File access denied");
    const std::string file = dir.Write("plain.tab", "1");
    EXPECT_EQ(ErrorOf([&] { TextReader r(file + "/x"); }), "Invalid filename");
    if (geteuid() != 0) {  // root reads anything
        const std::string locked = dir.Write("locked.tab", "1");
        chmod(locked.c_str(), 0);
        EXPECT_EQ(ErrorOf([&] { TextReader r(locked); }), "File access denied");
    }
}

TEST(TextReaderErrors, AFileHeldByAWriterIsASharingViolation) {
    TempDir dir;
    const std::string path = dir.Write("held.tab", "1 2");
    const int writer = open(path.c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(flock(writer, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ErrorOf([&] { TextReader r(path); }), "I/O error 32");
    close(writer);
    TextReader reader(path);
    EXPECT_EQ(reader.ReadValue(), 1);
    // Readers share: a second reader may open it meanwhile.
    TextReader second(path);
    EXPECT_EQ(second.ReadValue(), 1);
}

// Every value read, from a file of random tokens (long, signed, out of range, hexadecimal,
// with letters), read in small and large buffers alike, is what ParseToken makes of the token
// as the format splits it.
TEST(TextReaderValues, AgreeWithParseTokenOnRandomTokens) {
    std::mt19937 random(11);
    // With the neighbours of the digits, and bytes whose low seven bits are digits.
    const std::string alphabet = "0123456789000000123+-$Aa x\t\r\n/:\xB0\xB9";
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes.push_back(alphabet[random() % alphabet.size()]);
    std::vector<ValueRead> expected;
    for (std::size_t i = 0; i < bytes.size();) {
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) <= 32)
            ++i;
        if (i == bytes.size()) break;
        std::size_t end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) > 32 && end - i < 32)
            ++end;
        expected.push_back(ParseToken(std::string_view(bytes).substr(i, end - i)));
        i = end;
    }
    TempDir dir;
    TextReader fromFile(dir.Write("random.tab", bytes));
    TextReader inMemory(TextReader::InMemory{}, bytes);
    for (const ValueRead& want : expected) {
        for (TextReader* reader : {&fromFile, &inMemory}) {
            const ValueRead got = reader->TryReadValue();
            ASSERT_EQ(got.Ok, want.Ok);
            ASSERT_EQ(got.Value, want.Value);
        }
    }
    EXPECT_TRUE(fromFile.AtEndOfFile());
}

TEST(IoMessage, ChosenByCode) {
    EXPECT_EQ(IoMessage(2), "File not found");
    EXPECT_EQ(IoMessage(3), "Invalid filename");
    EXPECT_EQ(IoMessage(4), "Too many open files");
    EXPECT_EQ(IoMessage(5), "File access denied");
    EXPECT_EQ(IoMessage(100), "Read beyond end of file");
    EXPECT_EQ(IoMessage(101), "Disk full");
    EXPECT_EQ(IoMessage(106), "Invalid numeric input");
    EXPECT_EQ(IoMessage(104), "I/O error 104");
    EXPECT_EQ(IoMessage(32), "I/O error 32");
}

}  // namespace
}  // namespace glidtavla
