#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

#include "base/errors.h"
#include "predict/model_files.h"
#include "predict/word_model.h"
#include "predict/words.h"
#include "test_support.h"

namespace glidtavla {
namespace {

// "ett hus" twice and "ett hav" once; n-grams seen once are left out of a base model.
WordModel SmallModel() {
    WordModel model;
    model.ReadBase(WriteBaseModel("Ett hus. Ett hus. Ett hav.\n\xC4r \xF6l. \xC4r \xF6l."));
    return model;
}

double Sum(const std::vector<Completion>& completions) {
    return std::accumulate(completions.begin(), completions.end(), 0.0,
                           [](double sum, const Completion& c) { return sum + c.Probability; });
}

TEST(WordModel, InterpolatesTrigramsAsComputedByHand) {
    // Unigrams ett 3, hus 2, hav 1 of 9 words (3 of them "är" and "öl"); bigram ett→hus 2;
    // trigram ^ ett→hus 2. P1(hus) = 2/10, P1(hav) = 1/10 with "är" 2 and "öl" 2 too.
    // P2(hus) = (2 + 1 * 2/10) / 3, P2(hav) = (1/10) / 3;
    // P3(w) = (c3 + 1 * P2) / 3. Normalised over the words that begin with "h".
    const double p2hus = (2 + 0.2) / 3, p2hav = 0.1 / 3;
    const double p3hus = (2 + p2hus) / 3, p3hav = p2hav / 3;
    const std::vector<Completion> ranked = SmallModel().Complete("ett h", 10);
    ASSERT_EQ(ranked.size(), 2u);
    EXPECT_EQ(ranked[0].Word, "hus");
    EXPECT_NEAR(ranked[0].Probability, p3hus / (p3hus + p3hav), 1e-12);
    EXPECT_EQ(ranked[1].Word, "hav");
    EXPECT_NEAR(Sum(ranked), 1.0, 1e-12);
}

TEST(WordModel, KeepsTheCaseOfWhatWasTypedAndKnowsSwedishLetters) {
    const WordModel model = SmallModel();
    const struct {
        const char* line;
        const char* best;
    } cases[] = {
        {"Ett H", "Hus"},        {"ETT HU", "HUS"},       {"\xC4", "\xC4r"},
        {"\xC4R \xD6", "\xD6l"}, {"\xE4r \xF6", "\xF6l"}, {"x. \xC4", "\xC4r"},
    };
    for (const auto& c : cases) {
        const std::vector<Completion> ranked = model.Complete(c.line, 1);
        ASSERT_EQ(ranked.size(), 1u) << c.line;
        EXPECT_EQ(ranked[0].Word, c.best) << c.line;
    }
    // Nothing to complete: no word begun, or a word no known word begins with.
    for (const char* line : {"", "ett ", "ett.", "qz"})
        EXPECT_TRUE(model.Complete(line, 5).empty()) << line;
}

TEST(WordModel, ContextIsTheSentenceBeforeTheWordBegun) {
    EXPECT_EQ(ContextAtEnd("Vi, ser hit").Before, (std::vector<std::string>{"vi", "ser"}));
    EXPECT_EQ(ContextAtEnd("Vi, ser hit").Typed, "hit");
    EXPECT_TRUE(ContextAtEnd("Det var. Hej").Before.empty());
    EXPECT_TRUE(ContextAtEnd("Det var 12 h").Before.empty());
    EXPECT_EQ(ContextAtEnd("jag ").Before, (std::vector<std::string>{"jag"}));
}

TEST(WordModel, LearnsANewWordOnceWrittenTwiceAndForgetsIt) {
    WordModel model = SmallModel();
    model.Learn("ett hem", 20000);
    EXPECT_EQ(model.Complete("ett he", 1).size(), 0u);
    model.Learn("Ett hem.", 20000);
    ASSERT_EQ(model.Complete("ett he", 1).size(), 1u);
    EXPECT_EQ(model.Complete("ett he", 1)[0].Word, "hem");
    // What the user writes weighs more than the book: "hem" now comes before "hus".
    EXPECT_EQ(model.Complete("ett h", 2)[0].Word, "hem");
    model.Forget();
    EXPECT_FALSE(model.HasLearnt());
    EXPECT_EQ(model.Complete("ett he", 1).size(), 0u);
}

TEST(WordModel, WordsFromTheBookAndFromTheUserAreOneSortedVocabulary) {
    WordModel model = SmallModel();
    // New words before, between and after the book's, each met twice, one of them twice in a
    // line: each is one word, found by every prefix.
    model.Learn("hal hem hyr hem", 20000);
    model.Learn("hal hem hyr", 20001);
    const auto words = [&model](const char* prefix) {
        std::vector<std::string> found;
        for (const Completion& completion : model.Complete(prefix, 10))
            found.push_back(completion.Word);
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(words("h"), (std::vector<std::string>{"hal", "hav", "hem", "hus", "hyr"}));
    EXPECT_EQ(words("ha"), (std::vector<std::string>{"hal", "hav"}));
    EXPECT_EQ(words("hy"), (std::vector<std::string>{"hyr"}));
    EXPECT_EQ(model.Words(), 8u);  // the book's five and the three new ones
    EXPECT_NEAR(Sum(model.Complete("h", 10)), 1.0, 1e-12);
}

TEST(WordModel, TheUsersFileRoundTripsIsBoundedAndADamagedOneChangesNothing) {
    WordModel model = SmallModel();
    for (int i = 0; i < 5; ++i)
        model.Learn("hem ljuva hem", 20000);
    model.Learn("gammal glömd", 19000);
    const std::string file = model.WriteUser(1 << 20);
    WordModel read = SmallModel();
    read.ReadUser(file);
    EXPECT_EQ(read.WriteUser(1 << 20), file);
    EXPECT_EQ(read.Complete("lj", 1)[0].Word, "ljuva");

    // Bounded: the most written and the latest are kept, the old and rare pruned.
    const std::string small = model.WriteUser(60);
    EXPECT_LE(small.size(), 60u);
    EXPECT_NE(small.find(" hem\n"), std::string::npos);
    EXPECT_EQ(small.find("gammal"), std::string::npos);

    for (const std::string& damaged : std::vector<std::string>{
             std::string("hello\n"), file + "x y\n", file + "1 2 a b c d\n", file + "1 1 a1\n",
             std::string("glidtavla-user-words 1\n20000 0 hem\n")}) {
        EXPECT_THROW(read.ReadUser(damaged), Error);
        EXPECT_EQ(read.WriteUser(1 << 20), file);
    }
}

// Two windows learning at once, each merging what the other wrote before it writes: neither
// loses the other's words, and what one forgot the other does not write back.
TEST(WordModel, TwoWindowsMergeTheirLearntWordsAndAForgetHolds) {
    WordModel one = SmallModel(), two = SmallModel();
    std::string disk;
    const auto write = [&disk](WordModel& model) {
        model.MergeUser(disk);
        disk = model.WriteUser(1 << 20);
    };
    one.Learn("kanel kanel", 20000);
    write(one);
    two.Learn("vanilj vanilj", 20000);
    write(two);
    one.Learn("kanel", 20001);
    write(one);
    EXPECT_NE(disk.find("20001 3 kanel\n"), std::string::npos);
    EXPECT_NE(disk.find("20000 2 vanilj\n"), std::string::npos);
    EXPECT_EQ(one.Complete("va", 1)[0].Word, "vanilj");
    EXPECT_EQ(two.Complete("ka", 1)[0].Word, "kanel");

    one.Forget();
    disk = one.WriteUser(1 << 20);
    two.Learn("mandel mandel", 20002);
    write(two);
    EXPECT_EQ(disk.find("kanel"), std::string::npos);
    EXPECT_EQ(disk.find("vanilj"), std::string::npos);
    EXPECT_NE(disk.find("20002 2 mandel\n"), std::string::npos);
    EXPECT_TRUE(two.Complete("ka", 1).empty());

    // A damaged file merges nothing and changes nothing.
    EXPECT_THROW(two.MergeUser("hello\n"), Error);
    EXPECT_EQ(two.WriteUser(1 << 20), disk);
}

// The write in two halves, the file's on a thread of its own: what is learnt while the file is
// written goes with the next write, a failed write keeps what it was handed, another window's
// words are merged in, and the file and the layer kept stay within the bound.
TEST(WordModel, AWriteOffTheWindowLosesNothingLearntMeanwhile) {
    const auto ReadWhole = [](const std::string& path, std::size_t) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    TempDir dir;
    const std::string path = dir.File("ord.txt");
    dir.Write("ord.txt", "glidtavla-user-words 1\n20000 2 vanilj\n");
    WordModel model = SmallModel();
    model.Learn("kanel kanel", 20000);
    WordModel::LearntGrams handed = model.TakeLearntSinceMerge();
    model.Learn("mandel", 20001);  // while the file is written
    model.KeepWritten(WriteLearntGrams(handed, path));
    const std::string first = ReadWhole(path, kMaxLearntBytes);
    EXPECT_NE(first.find("20000 2 kanel\n"), std::string::npos);
    EXPECT_NE(first.find("20000 2 vanilj\n"), std::string::npos);
    EXPECT_EQ(first.find("mandel"), std::string::npos);

    handed = model.TakeLearntSinceMerge();
    std::filesystem::remove(path + ".lock");
    std::filesystem::create_directory(path + ".lock");  // no lock to be had: the write fails
    EXPECT_THROW(WriteLearntGrams(handed, path), Error);
    std::filesystem::remove(path + ".lock");
    model.PutBack(handed);
    model.Learn("mandel", 20002);
    model.KeepWritten(WriteLearntGrams(model.TakeLearntSinceMerge(), path));
    const std::string second = ReadWhole(path, kMaxLearntBytes);
    EXPECT_NE(second.find("20002 2 mandel\n"), std::string::npos);
    EXPECT_NE(second.find("20000 2 kanel\n"), std::string::npos);
    EXPECT_EQ(model.WriteUser(SIZE_MAX), second);  // the layer kept is what the file holds

    // At the bound the file is pruned, and so is what the model keeps for the next write.
    std::string many;
    for (int word = 0; word < 200000; ++word)
        many += "ord" + std::to_string(word % 26) + static_cast<char>('a' + word % 26) + ' ';
    model.Learn(many, 20003);
    model.KeepWritten(WriteLearntGrams(model.TakeLearntSinceMerge(), path));
    EXPECT_LE(std::filesystem::file_size(path), kMaxLearntBytes);
    EXPECT_LE(model.WriteUser(SIZE_MAX).size(), kMaxLearntBytes);
}

// A count at its bound stays there when learnt once more, so the file stays readable; days at
// the ends of their range are ranked without overflow.
TEST(WordModel, ExtremeCountsAndDaysStayReadable) {
    WordModel model = SmallModel();
    model.ReadUser("glidtavla-user-words 1\n20000 4294967295 kanel\n");
    model.Learn("kanel", 20001);
    model.MergeUser("glidtavla-user-words 1\n20000 4294967295 kanel\n");
    const std::string file = model.WriteUser(1 << 20);
    EXPECT_NE(file.find("20001 4294967295 kanel\n"), std::string::npos);
    WordModel read = SmallModel();
    EXPECT_NO_THROW(read.ReadUser(file));

    read.ReadUser("glidtavla-user-words 1\n-2147483648 1 gammal\n2147483647 1 ny\n");
    const std::string ranked = read.WriteUser(1 << 20);
    EXPECT_LT(ranked.find(" ny\n"), ranked.find(" gammal\n"));  // the newest first
}

TEST(WordModel, ReadsWordCountsAndRefusesADamagedBase) {
    WordModel model = SmallModel();
    const std::size_t given = model.ReadWordCounts(
        "\\data\\\nngram 1=4\n\n\\1-grams:\n90 Stockholm\n50 AIK\n70 h\xC3\xA4st\n5 -tal\n"
        "\\2-grams:\n40 h\xC3\xA4st hus\n");
    EXPECT_EQ(given, 2u);  // not the capitals' name nor the part of a word
    EXPECT_EQ(model.Complete("st", 1)[0].Word, "stockholm");
    EXPECT_EQ(model.Complete("h\xE4", 1)[0].Word, "h\xE4st");
    EXPECT_TRUE(model.Complete("ai", 1).empty());
    // Counts that are no counts are passed over; the base still suggests.
    WordModel other = SmallModel();
    EXPECT_EQ(other.ReadWordCounts("\\data\\\n\\1-grams:\nnan hav\ninf husen\n-3 hem\n"), 0u);
    ASSERT_FALSE(other.Complete("hu", 1).empty());
    EXPECT_EQ(other.Complete("hu", 1)[0].Word, "hus");

    for (const std::string& damaged : std::vector<std::string>{
             std::string("glidtavla-word-model 2\n2\n1 a\n"),
             std::string("glidtavla-word-model 2\n1\n1 \xE5\n0\n"),
             std::string("glidtavla-word-model 2\n1\n1 a\n1\n0 9 2\n"), std::string("<html>"),
             // counts no text gives: every suggestion would be lost in them
             std::string("glidtavla-word-model 2\n1\nnan a\n"),
             std::string("glidtavla-word-model 2\n1\ninf a\n"),
             std::string("glidtavla-word-model 2\n1\n-1e30 a\n")}) {
        WordModel base;
        EXPECT_THROW(base.ReadBase(damaged), Error);
    }
}

// The system's word counts only add to the base: a file of them too large to read leaves the
// base model working, prediction on.
TEST(WordModel, WordCountsTooLargeLeaveTheBaseWorking) {
    TempDir dir;
    const std::string base = dir.Write("base.model", WriteBaseModel("Ett hus. Ett hus."));
    const std::string counts = dir.Write("sv_SE.lm", "");
    std::filesystem::resize_file(counts, (64u << 20) + 1);  // sparse: nothing is written
    const WordModel model = LoadWordModel(base, counts);
    EXPECT_EQ(model.Complete("hu", 1)[0].Word, "hus");
}

}  // namespace
}  // namespace glidtavla
