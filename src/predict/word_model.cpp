#include "predict/word_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "base/errors.h"
#include "base/windows1252.h"
#include "predict/words.h"

namespace glidtavla {

namespace {

constexpr uint32_t kStart = 0x1FFFFF;    // before the first word of a sentence
constexpr uint32_t kUnknown = 0x1FFFFE;  // a word the model has never seen
constexpr uint32_t kMaxWords = 0x1FFFF0;
constexpr std::string_view kBaseHeader = "glidtavla-word-model 2";  // words in UTF-8
constexpr std::string_view kUserHeader = "glidtavla-user-words 1";
// What the user writes counts this much more than the base text.
constexpr double kUserWeight = 10;
constexpr int kHalfLifeDays = 180;

uint64_t ContextKey(uint32_t v) {
    return (uint64_t{1} << 42) | v;
}
uint64_t ContextKey(uint32_t u, uint32_t v) {
    return (uint64_t{2} << 42) | (uint64_t{u} << 21) | v;
}

// Splits on single spaces; the fields of one line, into fields (one vector for many lines
// spares the large base model an allocation a line).
void FieldsInto(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    while (!line.empty()) {
        const std::size_t space = line.find(' ');
        fields.push_back(line.substr(0, space));
        if (space == std::string_view::npos) break;
        line.remove_prefix(space + 1);
    }
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    FieldsInto(line, fields);
    return fields;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool IsWord(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return IsWordByte(static_cast<unsigned char>(c));
    });
}

// Reads lines one at a time; the last may lack its line end.
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (text_.empty()) return false;
        const std::size_t end = text_.find('\n');
        line = text_.substr(0, end);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

  private:
    std::string_view text_;
};

[[noreturn]] void NotAModel(const char* what) {
    throw Error(std::string("Not a word model of this program: ") + what);
}

}  // namespace

void WordModel::WordList::Add(std::string_view word) {
    Text += word;
    Ends.push_back(static_cast<uint32_t>(Text.size()));
}

std::string_view WordModel::WordList::operator[](std::size_t i) const {
    const uint32_t start = i == 0 ? 0 : Ends[i - 1];
    return std::string_view(Text).substr(start, Ends[i] - start);
}

std::string_view WordModel::WordOf(uint32_t id) const {
    return words_[id];
}

uint32_t WordModel::Find(std::string_view word) const {
    const auto found =
        std::lower_bound(sorted_.begin(), sorted_.end(), word,
                         [this](uint32_t id, std::string_view text) { return WordOf(id) < text; });
    return found != sorted_.end() && WordOf(*found) == word ? *found : kUnknown;
}

std::vector<uint32_t> WordModel::IdsOf(const WordList& words) {
    std::vector<uint32_t> order(words.Size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&words](uint32_t a, uint32_t b) { return words[a] < words[b]; });
    std::vector<uint32_t> ids(words.Size(), kUnknown);
    std::vector<uint32_t> added;  // in the order of their words
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::string_view word = words[order[k]];
        if (k > 0 && word == words[order[k - 1]]) {
            ids[order[k]] = ids[order[k - 1]];
            continue;
        }
        uint32_t id = Find(word);
        if (id == kUnknown && Words() < kMaxWords &&
            words_.Text.size() + word.size() < UINT32_MAX) {
            id = static_cast<uint32_t>(Words());
            words_.Add(word);
            added.push_back(id);
            for (Counts& counts : counts_)
                counts.Unigram.push_back(0);
        }
        ids[order[k]] = id;
    }
    const std::size_t known = sorted_.size();
    sorted_.insert(sorted_.end(), added.begin(), added.end());
    std::inplace_merge(sorted_.begin(), sorted_.begin() + std::ptrdiff_t(known), sorted_.end(),
                       [this](uint32_t a, uint32_t b) { return WordOf(a) < WordOf(b); });
    return ids;
}

void WordModel::Add(Layer layer, const std::vector<uint32_t>& gram, double count) {
    Counts& counts = counts_[layer];
    const uint32_t w = gram.back();
    if (w == kUnknown) return;
    if (gram.size() == 1) {
        counts.Unigram[w] += static_cast<float>(count);
        counts.Total += count;
        return;
    }
    const uint64_t key = gram.size() == 2 ? ContextKey(gram[0]) : ContextKey(gram[0], gram[1]);
    counts.Next.push_back({key, w, static_cast<float>(count)});
}

void WordModel::Tidy(Layer layer) {
    std::vector<Follower>& next = counts_[layer].Next;
    const auto before = [](const Follower& a, const Follower& b) {
        return a.Context != b.Context ? a.Context < b.Context : a.Word < b.Word;
    };
    const auto added = next.begin() + std::ptrdiff_t(counts_[layer].Tidy);
    std::sort(added, next.end(), before);
    std::inplace_merge(next.begin(), added, next.end(), before);
    // The same n-gram added again counts once, with both counts.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < next.size(); ++i) {
        if (kept > 0 && next[kept - 1].Context == next[i].Context &&
            next[kept - 1].Word == next[i].Word) {
            next[kept - 1].Count += next[i].Count;
        } else {
            next[kept++] = next[i];
        }
    }
    next.resize(kept);
    counts_[layer].Tidy = kept;
}

double WordModel::Weight(Layer layer) const {
    switch (layer) {
        case kBase:
            return 1;
        case kCounts:
            return countsScale_;
        default:
            return kUserWeight;
    }
}

bool WordModel::Offered(uint32_t id) const {
    return counts_[kBase].Unigram[id] > 0 || counts_[kCounts].Unigram[id] > 0 ||
           counts_[kUser].Unigram[id] >= 2;
}

std::vector<Completion> WordModel::Complete(std::string_view line, std::size_t count) const {
    const WordContext context = ContextAtEnd(line);
    if (context.Typed.empty() || count == 0) return {};
    const std::string prefix = Lower(context.Typed);
    const auto begins = [this, &prefix](uint32_t id) {
        return WordOf(id).substr(0, prefix.size()) == prefix;
    };
    const auto first = std::lower_bound(
        sorted_.begin(), sorted_.end(), prefix,
        [this](uint32_t id, const std::string& text) { return WordOf(id) < text; });
    auto last = first;
    while (last != sorted_.end() && begins(*last))
        ++last;
    if (first == last) return {};

    const std::size_t known = context.Before.size();
    const uint32_t v = known >= 1 ? Find(context.Before.back()) : kStart;
    const uint32_t u = known >= 2 ? Find(context.Before.front()) : kStart;
    const bool hasTrigram = known >= 1 && v != kUnknown && u != kUnknown;

    // Witten-Bell: a context's own counts, and as many again as it has followers for the
    // order below. Only the followers that begin with the prefix matter.
    struct Order {
        std::unordered_map<uint32_t, double> Followers;
        double Total = 0, types = 0;
    } bigram, trigram;
    double unigramTotal = 0;
    for (int layer = 0; layer < kLayers; ++layer) {
        const Counts& counts = counts_[layer];
        const double weight = Weight(static_cast<Layer>(layer));
        unigramTotal += weight * counts.Total;
        const auto gather = [&](uint64_t key, Order& order) {
            const auto [from, to] = std::equal_range(
                counts.Next.begin(), counts.Next.end(), Follower{key, 0, 0},
                [](const Follower& a, const Follower& b) { return a.Context < b.Context; });
            for (auto it = from; it != to; ++it) {
                order.Total += weight * it->Count;
                if (begins(it->Word)) order.Followers[it->Word] += weight * it->Count;
            }
            order.types += double(to - from);
        };
        if (v != kUnknown) gather(ContextKey(v), bigram);
        if (hasTrigram) gather(ContextKey(u, v), trigram);
    }
    if (unigramTotal <= 0) return {};
    const auto interpolate = [](const Order& order, uint32_t w, double lower) {
        if (order.Total <= 0) return lower;
        const auto found = order.Followers.find(w);
        const double own = found == order.Followers.end() ? 0 : found->second;
        return (own + order.types * lower) / (order.Total + order.types);
    };

    std::vector<Completion> all;
    double sum = 0;
    for (auto it = first; it != last; ++it) {
        const uint32_t w = *it;
        if (!Offered(w)) continue;
        double unigram = 0;
        for (int layer = 0; layer < kLayers; ++layer)
            unigram += Weight(static_cast<Layer>(layer)) * counts_[layer].Unigram[w];
        const double p = interpolate(trigram, w, interpolate(bigram, w, unigram / unigramTotal));
        sum += p;
        // The word as typed so far is meant too, but there is nothing to complete.
        if (WordOf(w).size() > prefix.size()) all.push_back({std::string(WordOf(w)), p});
    }
    if (sum <= 0) return {};
    const std::size_t kept = std::min(count, all.size());
    std::partial_sort(all.begin(), all.begin() + std::ptrdiff_t(kept), all.end(),
                      [](const Completion& a, const Completion& b) {
                          return a.Probability != b.Probability ? a.Probability > b.Probability
                                                                : a.Word < b.Word;
                      });
    all.resize(kept);
    for (Completion& completion : all) {
        completion.Word = WithCaseOf(context.Typed, completion.Word);
        completion.Probability /= sum;
    }
    return all;
}

void WordModel::AddSentence(Layer layer, const std::vector<std::string>& words, int day) {
    WordList list;
    for (const std::string& word : words)
        list.Add(word);
    const std::vector<uint32_t> ids = IdsOf(list);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const uint32_t v = i >= 1 ? ids[i - 1] : kStart;
        const uint32_t u = i >= 2 ? ids[i - 2] : kStart;
        Add(layer, {ids[i]}, 1);
        Add(layer, {v, ids[i]}, 1);
        if (i >= 1) Add(layer, {u, v, ids[i]}, 1);
        if (layer != kUser) continue;
        const auto learn = [&](const std::string& gram) {
            for (auto* grams : {&user_, &sinceMerge_}) {
                Learnt& learnt = grams->try_emplace(gram, Learnt{0, day}).first->second;
                if (learnt.Count < std::numeric_limits<uint32_t>::max()) ++learnt.Count;
                learnt.Day = std::max(learnt.Day, day);
            }
        };
        const std::string before1 = i >= 1 ? words[i - 1] : "^";
        const std::string before2 = i >= 2 ? words[i - 2] : "^";
        learn(words[i]);
        learn(before1 + ' ' + words[i]);
        if (i >= 1) learn(before2 + ' ' + before1 + ' ' + words[i]);
    }
}

void WordModel::Learn(std::string_view text, int day) {
    for (const std::vector<std::string>& sentence : Sentences(text))
        AddSentence(kUser, sentence, day);
    Tidy(kUser);
}

void WordModel::RebuildUser() {
    counts_[kUser] = Counts();
    counts_[kUser].Unigram.assign(Words(), 0);
    // All the words at once, then each n-gram from them in the same order.
    WordList words;
    for (const auto& entry : user_) {
        for (const std::string_view word : Fields(entry.first)) {
            if (word != "^") words.Add(word);
        }
    }
    const std::vector<uint32_t> ids = IdsOf(words);
    std::size_t next = 0;
    for (const auto& [gram, learnt] : user_) {
        std::vector<uint32_t> gramIds;
        for (const std::string_view word : Fields(gram))
            gramIds.push_back(word == "^" ? kStart : ids[next++]);
        Add(kUser, gramIds, learnt.Count);
    }
    Tidy(kUser);
}

void WordModel::Forget() {
    user_.clear();
    sinceMerge_.clear();
    RebuildUser();
}

std::string WordModel::WriteUser(std::size_t maxBytes) const {
    return WriteGrams(user_, maxBytes);
}

std::string WordModel::WriteGrams(const LearntGrams& grams, std::size_t maxBytes,
                                  LearntGrams* kept) {
    int today = std::numeric_limits<int>::min();
    for (const auto& entry : grams)
        today = std::max(today, entry.second.Day);
    // Kept by how much and how lately each was written; what does not fit is pruned.
    std::vector<std::pair<double, const std::pair<const std::string, Learnt>*>> ranked;
    for (const auto& entry : grams) {
        // In doubles: days at the ends of their range would overflow a subtraction of ints.
        const double age = (double(today) - double(entry.second.Day)) / kHalfLifeDays;
        ranked.emplace_back(entry.second.Count * std::exp2(-age), &entry);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::string out = std::string(kUserHeader) + '\n';
    for (const auto& [score, entry] : ranked) {
        const std::string line = std::to_string(entry->second.Day) + ' ' +
                                 std::to_string(entry->second.Count) + ' ' + entry->first + '\n';
        if (out.size() + line.size() > maxBytes) break;
        out += line;
        if (kept != nullptr) kept->insert(*entry);
    }
    return out;
}

void WordModel::ReadUser(std::string_view bytes) {
    user_ = ParseUser(bytes);
    sinceMerge_.clear();
    RebuildUser();
}

void WordModel::AddGrams(LearntGrams& grams, const LearntGrams& since) {
    for (const auto& [gram, learnt] : since) {
        Learnt& into = grams.try_emplace(gram, Learnt{0, learnt.Day}).first->second;
        into.Count = static_cast<uint32_t>(std::min<uint64_t>(
            uint64_t{into.Count} + learnt.Count, std::numeric_limits<uint32_t>::max()));
        into.Day = std::max(into.Day, learnt.Day);
    }
}

void WordModel::MergeUser(std::string_view bytes) {
    LearntGrams merged = bytes.empty() ? LearntGrams{} : ParseUser(bytes);
    AddGrams(merged, sinceMerge_);
    user_ = std::move(merged);
    sinceMerge_.clear();
    RebuildUser();
}

WordModel::LearntGrams WordModel::TakeLearntSinceMerge() {
    return std::exchange(sinceMerge_, {});
}

// The counts the window completes from stay as they are (rebuilding them would take the window
// as long as the write): what is kept is the source of the next write, pruned as the file is.
void WordModel::KeepWritten(LearntGrams written) {
    AddGrams(written, sinceMerge_);
    user_ = std::move(written);
}

void WordModel::PutBack(const LearntGrams& taken) {
    AddGrams(sinceMerge_, taken);
}

WordModel::LearntGrams WordModel::ParseUser(std::string_view bytes) {
    Lines lines(bytes);
    std::string_view line;
    if (!lines.Next(line) || line != kUserHeader) NotAModel("the first line is not its own");
    LearntGrams read;
    while (lines.Next(line)) {
        const std::vector<std::string_view> fields = Fields(line);
        Learnt learnt{};
        if (fields.size() < 3 || fields.size() > 5 || !ParseNumber(fields[0], learnt.Day) ||
            !ParseNumber(fields[1], learnt.Count) || learnt.Count == 0) {
            NotAModel("a line is damaged");
        }
        std::string gram;
        for (std::size_t i = 2; i < fields.size(); ++i) {
            const bool start = fields[i] == "^" && i + 1 < fields.size();
            if (!start && !IsWord(fields[i])) NotAModel("a word is damaged");
            gram += (i > 2 ? " " : "") + Lower(fields[i]);
        }
        read[gram] = learnt;
    }
    return read;
}

void WordModel::ReadBase(std::string_view bytes) {
    Lines lines(bytes);
    std::string_view line;
    std::size_t count = 0;
    if (!lines.Next(line) || line != kBaseHeader) NotAModel("the first line is not its own");
    if (!lines.Next(line) || !ParseNumber(line, count)) NotAModel("no word count");
    WordList words;
    std::vector<double> counts;
    for (std::size_t i = 0; i < count; ++i) {
        double n = 0;
        std::vector<std::string_view> fields;
        std::optional<std::string> word;
        if (!lines.Next(line) || (fields = Fields(line)).size() != 2 ||
            !ParseNumber(fields[0], n) || !std::isfinite(n) || n < 0 ||
            !(word = Utf8ToWindows1252(fields[1])) || !IsWord(*word)) {
            NotAModel("a word line is damaged");
        }
        words.Add(Lower(*word));
        counts.push_back(n);
    }
    const std::vector<uint32_t> ids = IdsOf(words);
    for (std::size_t i = 0; i < ids.size(); ++i)
        Add(kBase, {ids[i]}, counts[i]);
    if (!lines.Next(line) || !ParseNumber(line, count)) NotAModel("no n-gram count");
    const auto id = [&ids](std::string_view field, uint32_t& out) {
        std::size_t index = 0;
        if (field == "^") {
            out = kStart;
            return true;
        }
        if (!ParseNumber(field, index) || index >= ids.size()) return false;
        out = ids[index];
        return true;
    };
    std::vector<std::string_view> fields;
    std::vector<uint32_t> gram;
    for (std::size_t i = 0; i < count; ++i) {
        double n = 0;
        if (!lines.Next(line) || (FieldsInto(line, fields), fields.size() < 3) ||
            fields.size() > 4 || !ParseNumber(fields.back(), n)) {
            NotAModel("an n-gram line is damaged");
        }
        gram.resize(fields.size() - 1);
        for (std::size_t k = 0; k < gram.size(); ++k) {
            if (!id(fields[k], gram[k])) NotAModel("an n-gram line is damaged");
        }
        Add(kBase, gram, n);
    }
    Tidy(kBase);
    // The calibration the build measured, when the file ends in one.
    std::vector<std::pair<double, double>> points;
    if (lines.Next(line)) {
        FieldsInto(line, fields);
        if (fields.size() != 2 || fields[0] != "calibration" || !ParseNumber(fields[1], count))
            NotAModel("what follows the n-grams is not a calibration");
        for (std::size_t i = 0; i < count; ++i) {
            std::vector<std::string_view> point;
            double p = 0, right = 0;
            if (!lines.Next(line) || (point = Fields(line)).size() != 2 ||
                !ParseNumber(point[0], p) || !ParseNumber(point[1], right) || !(p > 0) || p > 1 ||
                !(right >= 0) || right > 1 ||
                (!points.empty() && (p <= points.back().first || right < points.back().second)))
                NotAModel("a calibration line is damaged");
            points.emplace_back(p, right);
        }
    }
    calibration_ = std::move(points);
}

double WordModel::Calibrated(double p) const {
    if (calibration_.empty()) return p;
    const auto above = std::find_if(calibration_.begin(), calibration_.end(),
                                    [p](const auto& point) { return point.first >= p; });
    if (above == calibration_.end()) return calibration_.back().second;
    const auto [p1, right1] = *above;
    const auto [p0, right0] =
        above == calibration_.begin() ? std::pair{0.0, 0.0} : *std::prev(above);
    return right0 + (right1 - right0) * (p - p0) / (p1 - p0);
}

std::size_t WordModel::ReadWordCounts(std::string_view utf8) {
    Lines lines(utf8);
    std::string_view line;
    bool inUnigrams = false;
    double total = 0;
    WordList words;
    std::vector<double> counts;
    while (lines.Next(line)) {
        if (!line.empty() && line[0] == '\\') {
            inUnigrams = line == "\\1-grams:";
            continue;
        }
        const std::vector<std::string_view> fields = Fields(line);
        double n = 0;
        if (!inUnigrams || fields.size() != 2 || !ParseNumber(fields[0], n) || !(n > 0) ||
            !std::isfinite(n)) {
            continue;
        }
        const std::optional<std::string> word = Utf8ToWindows1252(fields[1]);
        if (!word || !IsWord(*word)) continue;
        const std::string lower = Lower(*word);
        if (word->size() > 1 && lower.substr(1) != word->substr(1)) continue;  // "AIK", "iPod"
        words.Add(lower);
        counts.push_back(n);
        total += n;
    }
    const std::vector<uint32_t> ids = IdsOf(words);
    for (std::size_t i = 0; i < ids.size(); ++i)
        Add(kCounts, {ids[i]}, counts[i]);
    countsScale_ = total > 0 ? std::max(counts_[kBase].Total, 1.0) / total : 0;
    return ids.size();
}

std::string WriteBaseModel(std::string_view text, long minCount) {
    std::map<std::string, long> unigrams;
    std::map<std::vector<std::string>, long> grams;
    for (const std::vector<std::string>& sentence : Sentences(text)) {
        for (std::size_t i = 0; i < sentence.size(); ++i) {
            ++unigrams[sentence[i]];
            const std::string v = i >= 1 ? sentence[i - 1] : "^";
            const std::string u = i >= 2 ? sentence[i - 2] : "^";
            ++grams[{v, sentence[i]}];
            if (i >= 1) ++grams[{u, v, sentence[i]}];
        }
    }
    std::map<std::string, std::size_t> index;
    std::string out = std::string(kBaseHeader) + '\n' + std::to_string(unigrams.size()) + '\n';
    for (const auto& [word, n] : unigrams) {
        index.emplace(word, index.size());
        out += std::to_string(n) + ' ' + Windows1252ToUtf8(word) + '\n';
    }
    std::string body;
    std::size_t kept = 0;
    for (const auto& [gram, n] : grams) {
        if (n < minCount) continue;
        for (const std::string& word : gram)
            body += (word == "^" ? "^" : std::to_string(index.at(word))) + ' ';
        body += std::to_string(n) + '\n';
        ++kept;
    }
    return out + std::to_string(kept) + '\n' + body;
}

std::string WriteCalibration(const std::vector<std::pair<double, double>>& points) {
    std::string out = "calibration " + std::to_string(points.size()) + '\n';
    char number[64];
    for (const auto& [p, right] : points) {
        std::snprintf(number, sizeof number, "%.6f %.6f\n", p, right);
        out += number;
    }
    return out;
}

}  // namespace glidtavla
