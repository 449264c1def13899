#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace glidtavla {

struct Completion {
    std::string word;    // the whole word, in the case it was begun in
    double probability;  // among all words that begin so, the one meant
};

// An interpolated trigram model of words (Witten-Bell), case-insensitive, over three layers of
// counts: the base text built with the program, word counts found on the system (a unigram
// list, weighed as much as the base), and what the user has written, which weighs more. Words
// are Windows-1252 bytes.
class WordModel {
  public:
    // The base model as the build writes it (WriteBaseModel). Throws Error when it is not one.
    void ReadBase(std::string_view bytes);
    // A list of word counts ("COUNT WORD" lines in UTF-8, as in the "\1-grams:" part of an
    // ARPA-style file). Words of other than letters, and names in capitals, are passed over.
    // Returns how many words it gave.
    std::size_t ReadWordCounts(std::string_view utf8);

    // The likeliest words that complete the word a line ends in, best first, at most count.
    // Nothing when the line does not end in a begun word.
    std::vector<Completion> Complete(std::string_view line, std::size_t count) const;

    // Learns from text the user has written, on a day (days since 1970). A word the model did not
    // know is offered once it has been written twice.
    void Learn(std::string_view text, int day);
    void Forget();
    bool HasLearnt() const { return !user_.empty(); }
    // The user's layer as a file of at most maxBytes, the least used and oldest left out.
    std::string WriteUser(std::size_t maxBytes) const;
    // Throws Error, and keeps what was learnt before, when bytes are not such a file.
    void ReadUser(std::string_view bytes);

    std::size_t Words() const { return words_.size(); }

  private:
    enum Layer { kBase, kCounts, kUser, kLayers };
    struct Counts {
        std::vector<double> unigram;  // by word id
        double total = 0;
        // Context (one word, or two) to the words that followed it and how often.
        std::unordered_map<uint64_t, std::vector<std::pair<uint32_t, double>>> next;
    };
    struct Learnt {
        uint32_t count;
        int day;
    };

    uint32_t IdOf(const std::string& word);
    void Add(Layer layer, const std::vector<uint32_t>& gram, double count);
    void AddSentence(Layer layer, const std::vector<std::string>& words, int day);
    void RebuildUser();
    void SortWords();
    bool Offered(uint32_t id) const;
    double Weight(Layer layer) const;

    std::vector<std::string> words_;
    std::unordered_map<std::string, uint32_t> ids_;
    std::vector<uint32_t> sorted_;  // ids in the order of their words
    Counts counts_[kLayers];
    double countsScale_ = 0;  // makes the word counts weigh as much as the base text
    // The user's n-grams ("w", "v w", "u v w"; "^" starts a sentence) and when each was last
    // written, the source of the user's layer.
    std::map<std::string, Learnt> user_;
};

// The base model of a text, for WordModel::ReadBase. N-grams of two and three words that
// occur once are left out: they rarely recur and would double the file.
std::string WriteBaseModel(std::string_view text);

}  // namespace glidtavla
