#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace glidtavla {

struct Completion {
    std::string Word;    // the whole Word, in the case it was begun in
    double Probability;  // among all words that begin so, the one meant
};

// An interpolated trigram model of words (Witten-Bell), case-insensitive, over three layers of
// counts: the base text built with the program, word counts found on the system (a unigram
// list, weighed as much as the base), and what the user has written, which weighs more. Words
// are Windows-1252 bytes.
class WordModel {
  public:
    // A learnt n-gram ("w", "v w", "u v w"; "^" starts a sentence): how often, and the day it
    // was last written.
    struct Learnt {
        uint32_t Count;
        int Day;
    };
    using LearntGrams = std::map<std::string, Learnt>;

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
    // The user's layer as another window left it on disk (bytes; empty for no file), with what
    // this model learnt since it last merged added: two windows that learn at once keep each
    // other's words, and what one forgot stays forgotten. Throws Error, changing nothing, when
    // bytes are not such a file.
    void MergeUser(std::string_view bytes);

    // The same merge in two halves, so that the file's part needs no model and can run on a
    // thread of its own: TakeLearntSinceMerge hands over what was learnt since the last merge;
    // once written (WriteLearntGrams), KeepWritten makes what the file now holds, with what was
    // learnt meanwhile, the layer that is written next; after a failure PutBack keeps the
    // taken grams for the next write.
    LearntGrams TakeLearntSinceMerge();
    void KeepWritten(LearntGrams written);
    void PutBack(const LearntGrams& taken);
    // A file's learnt grams; throws Error when bytes are not such a file.
    static LearntGrams ParseUser(std::string_view bytes);
    // Grams as a file of at most maxBytes, the least used and oldest left out; kept, when
    // given, is told the grams written.
    static std::string WriteGrams(const LearntGrams& grams, std::size_t maxBytes,
                                  LearntGrams* kept = nullptr);
    // since added into grams, counts saturating.
    static void AddGrams(LearntGrams& grams, const LearntGrams& since);

    std::size_t Words() const { return words_.Size(); }

    // The share of likeliest completions found to be the word meant at probability p, as the
    // build measured on text the model had not seen, linear between its points; p itself when
    // the base model came without.
    double Calibrated(double p) const;
    bool HasCalibration() const { return !calibration_.empty(); }

  private:
    enum Layer { kBase, kCounts, kUser, kLayers };
    // A word that followed a context (one word, or two), and how often.
    struct Follower {
        uint64_t Context;
        uint32_t Word;
        float Count;
    };
    struct Counts {
        std::vector<float> Unigram;  // by word id
        double Total = 0;
        std::vector<Follower> Next;  // by context, then word, once each
        std::size_t Tidy = 0;        // how many of next are in that order; the rest were added
    };
    std::string_view WordOf(uint32_t id) const;
    uint32_t Find(std::string_view word) const;  // kUnknown when not known
    // Words one after another, where each ends: many words without an allocation each.
    struct WordList {
        std::string Text;
        std::vector<uint32_t> Ends;
        void Add(std::string_view word);
        std::size_t Size() const { return Ends.size(); }
        std::string_view operator[](std::size_t i) const;
    };
    // The ids of words, the new ones added; the same word twice gets one id.
    std::vector<uint32_t> IdsOf(const WordList& words);
    void Add(Layer layer, const std::vector<uint32_t>& gram, double count);
    // Puts what Add added to the n-grams in order; before the model is asked again.
    void Tidy(Layer layer);
    void AddSentence(Layer layer, const std::vector<std::string>& words, int day);
    void RebuildUser();
    bool Offered(uint32_t id) const;
    double Weight(Layer layer) const;

    WordList words_;                // lower case, by id: in the order they were met
    std::vector<uint32_t> sorted_;  // ids in the order of their words
    Counts counts_[kLayers];
    double countsScale_ = 0;  // makes the word counts weigh as much as the base text
    // The user's n-grams ("w", "v w", "u v w"; "^" starts a sentence) and when each was last
    // written, the source of the user's layer.
    LearntGrams user_;
    LearntGrams sinceMerge_;  // what was learnt since the layer was merged
    std::vector<std::pair<double, double>> calibration_;  // (probability, share right), rising
};

// The base model of a text, for WordModel::ReadBase. N-grams of two and three words that
// occur fewer than minCount times are left out: in a small text those seen once rarely recur
// and would double the file.
std::string WriteBaseModel(std::string_view text, long minCount = 2);
// Points (probability, share right), rising in both, as a part the base model's file ends in.
std::string WriteCalibration(const std::vector<std::pair<double, double>>& points);

}  // namespace glidtavla
