#include "model/prediction_cost.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "board/word_column.h"
#include "demo/demo_typist.h"
#include "engine/selection_engine.h"
#include "predict/suggestion_policy.h"
#include "predict/words.h"

namespace glidtavla {

namespace {

// One glide: the cell, and whether the left button is held (which costs no time here).
using Glides = std::vector<BoardCell>;

// A writer: which profile's times it weighs looking by, or none for one who reads every
// suggestion shown.
struct Writer {
    std::optional<std::size_t> Profile;
    Glides Made;
    long long Looks = 0;
    double LookSeconds = 0;
    bool Accepted = false;  // the word being written
};

// What a writer sees: the suggestions offered that the board has a cell to accept by.
struct Shown {
    std::optional<Completion> Centre;
    std::vector<std::pair<Completion, BoardCell>> Column;  // with the slot's cell
};

bool IsLetter(uint8_t code) {
    return IsWordByte(code);
}

// What may follow an accepted word: its own space, or what takes that space away.
bool EndsAcceptedWord(uint8_t code) {
    return code == kCodeSpace || TakesSpaceAway(code);
}

double LookSeconds(const PredictionOptions& options, std::size_t words) {
    return options.LookA + options.LookB * std::log2(double(words) + 1);
}

// Seconds for a sequence of glides, out and back or chained.
double GlideSeconds(const CharacterBoard& board, const Glides& glides, GlideKind kind,
                    double bitsPerSecond) {
    double bits = 0;
    BoardCell from{3, 3};
    for (std::size_t i = 0; i < glides.size(); ++i) {
        const BoardCell turn = kind == GlideKind::Chained && i + 1 < glides.size()
                                   ? TurnBetween(glides[i], glides[i + 1])
                                   : BoardCell{3, 3};
        bits += MovementBits(board, from, glides[i]) + MovementBits(board, glides[i], turn);
        from = turn;
    }
    return bits / bitsPerSecond;
}

}  // namespace

PredictionCost CostWithPrediction(const CharacterBoard& given, const std::string& text,
                                  const WordModel& base, const PredictionOptions& options) {
    const bool centre =
        options.Mode == PredictionMode::Centre || options.Mode == PredictionMode::CentreAndColumn;
    const bool column =
        options.Mode == PredictionMode::Column || options.Mode == PredictionMode::CentreAndColumn;
    const int suggestions = std::clamp(options.Suggestions, 1, kMaxSlots + 1);
    const int slots = column ? std::min(suggestions - (centre ? 1 : 0), kMaxSlots) : 0;
    const CharacterBoard board = WithWordColumn(given, slots);
    const BoardCost plain = CostOfText(given, text);
    std::optional<BoardCell> space;
    if (const std::optional<CellSource> source = FindCellFor(board, kCodeSpace))
        space = source->Cell;

    WordModel model = base;
    std::vector<Writer> writers(kPointerProfiles.size() + 1);
    for (std::size_t p = 0; p < kPointerProfiles.size(); ++p)
        writers[p].Profile = p;
    Writer& reader = writers.back();
    const auto policy = [&](const Writer& writer) {
        const double threshold = options.Threshold >= 0
                                     ? options.Threshold
                                     : kDefaultThresholds[writer.Profile.value_or(0)];
        return SuggestionPolicy{centre, static_cast<std::size_t>(slots), threshold};
    };
    const auto glideSeconds = [&](const Writer& writer) {
        const double cpm = plain.Speeds[*writer.Profile].CharactersPerMinute;
        return cpm > 0 ? 60 / cpm : 0;
    };

    const std::vector<uint8_t> codes = TextCodes(text);
    std::string line;  // the character line as it is being written
    long long characters = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const uint8_t code = codes[i];
        const std::optional<CellSource> source = FindCellFor(board, code);
        if (!source) continue;
        ++characters;
        const bool wordStart = IsLetter(code) && (i == 0 || !IsLetter(codes[i - 1]));
        if (wordStart) {
            for (Writer& writer : writers)
                writer.Accepted = false;
        }
        const bool inWord = IsLetter(code);
        for (Writer& writer : writers) {
            // The space an accepted word brought is there already; a sign takes it away.
            const bool spaceGiven = !inWord && i > 0 && IsLetter(codes[i - 1]) && writer.Accepted;
            if (inWord && writer.Accepted) continue;
            if (spaceGiven && code == kCodeSpace) continue;
            writer.Made.push_back(source->Cell);
        }
        if (code == kCodeLineFeed) {
            if (options.LearnOnline) model.Learn(line, 0);
            line.clear();
        } else {
            line += static_cast<char>(code);
        }
        if (!inWord || options.Mode == PredictionMode::None) continue;

        // The rest of the word, and whether its end lets a completion's space stand.
        std::size_t end = i + 1;
        while (end < codes.size() && IsLetter(codes[end]))
            ++end;
        if (end == i + 1) continue;  // nothing left to complete
        if (end < codes.size() && !EndsAcceptedWord(codes[end])) continue;
        std::size_t start = i;
        while (start > 0 && IsLetter(codes[start - 1]))
            --start;
        const std::string meant(codes.begin() + std::ptrdiff_t(start),
                                codes.begin() + std::ptrdiff_t(end));
        if (std::all_of(writers.begin(), writers.end(), [](const Writer& w) { return w.Accepted; }))
            continue;

        const std::vector<Completion> ranked = model.Complete(line, WordsToAsk(policy(writers[0])));
        const std::size_t typed = i + 1 - start;
        for (Writer& writer : writers) {
            if (writer.Accepted) continue;
            const Suggestions offered = Offer(ranked, policy(writer));
            Shown shown;
            if (space) shown.Centre = offered.Centre;
            for (std::size_t slot = 1; slot <= offered.Column.size(); ++slot) {
                if (const std::optional<BoardCell> cell = SlotCell(board, int(slot)))
                    shown.Column.emplace_back(offered.Column[slot - 1], *cell);
            }
            // A writer with a profile looks only where the look is likely to pay.
            const auto pays = [&](double gain, std::size_t words) {
                if (!writer.Profile) return true;
                return gain * glideSeconds(writer) > LookSeconds(options, words);
            };
            const auto rest = [typed](const Completion& c) {
                return double(c.Word.size() - std::min(typed, c.Word.size()));
            };
            std::optional<BoardCell> accept;
            if (shown.Centre && pays(shown.Centre->Probability * rest(*shown.Centre), 1)) {
                ++writer.Looks;
                writer.LookSeconds += LookSeconds(options, 1);
                if (shown.Centre->Word == meant) accept = space;
            }
            double columnGain = 0;
            for (const auto& [completion, cell] : shown.Column)
                columnGain += completion.Probability * rest(completion);
            if (!accept && !shown.Column.empty() && pays(columnGain, shown.Column.size())) {
                ++writer.Looks;
                writer.LookSeconds += LookSeconds(options, shown.Column.size());
                for (const auto& [completion, cell] : shown.Column) {
                    if (completion.Word == meant) accept = cell;
                }
            }
            if (accept) {
                writer.Made.push_back(*accept);
                writer.Accepted = true;
            }
        }
    }

    PredictionCost cost;
    if (characters == 0) return cost;
    cost.KeystrokeSavings = 1 - double(reader.Made.size()) / double(characters);
    for (std::size_t p = 0; p < kPointerProfiles.size(); ++p) {
        const double throughput = kPointerProfiles[p].BitsPerSecond;
        const Writer& writer = writers[p];
        const double seconds =
            GlideSeconds(board, writer.Made, options.Glide, throughput) + writer.LookSeconds;
        ProfileCost& profile = cost.Profiles[p];
        if (seconds > 0) {
            profile.Speed.CharactersPerMinute = 60 * double(characters) / seconds;
            profile.Speed.WordsPerMinute = profile.Speed.CharactersPerMinute / 5;
        }
        profile.LooksPerCharacter = double(writer.Looks) / double(characters);
        // Against writing without prediction, glides as chosen, for the one who reads all.
        if (reader.Looks > 0) {
            Glides all;
            for (std::size_t i = 0; i < codes.size(); ++i) {
                if (const std::optional<CellSource> source = FindCellFor(board, codes[i]))
                    all.push_back(source->Cell);
            }
            const double without = GlideSeconds(board, all, options.Glide, throughput);
            const double with = GlideSeconds(board, reader.Made, options.Glide, throughput);
            profile.BreakEvenLookSeconds = std::max(0.0, (without - with) / double(reader.Looks));
        }
    }
    return cost;
}

}  // namespace glidtavla
