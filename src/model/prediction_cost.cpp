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

// A writer: the throughput, look time and threshold it weighs looking by, or none for one who
// reads every suggestion shown.
struct Writer {
    bool Weighs = true;
    double BitsPerSecond = 0;
    double SecondsPerGlide = 0;  // a character without prediction
    double Threshold = 0;
    double LookA = 0, LookB = 0;
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

double LookSeconds(const Writer& writer, std::size_t words) {
    return writer.LookA + writer.LookB * std::log2(double(words) + 1);
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
    const bool calibrated = options.Calibrated && base.HasCalibration();
    const double givenThreshold = options.Threshold;
    const auto makeWriter = [&](double bitsPerSecond, double secondsPerGlide, double threshold) {
        Writer made;
        made.BitsPerSecond = bitsPerSecond;
        made.SecondsPerGlide = secondsPerGlide;
        made.Threshold = givenThreshold >= 0 ? givenThreshold : threshold;
        made.LookA = options.LookA;
        made.LookB = options.LookB;
        return made;
    };
    std::vector<Writer> writers;
    for (std::size_t p = 0; p < kPointerProfiles.size(); ++p) {
        const double cpm = plain.Speeds[p].CharactersPerMinute;
        writers.push_back(makeWriter(kPointerProfiles[p].BitsPerSecond, cpm > 0 ? 60 / cpm : 0,
                                     ThresholdFor(int(p), calibrated)));
    }
    if (options.Writer && options.Writer->BitsPerSecond > 0) {
        const double bitsPerSecond = options.Writer->BitsPerSecond;
        Writer own = makeWriter(bitsPerSecond, 2 * plain.IndexOfDifficulty / bitsPerSecond, 0);
        // A fit from demos saw no completion: the look stays the model's.
        if (options.Writer->Looks > 0)
            own.LookA = std::max(0.0, options.Writer->LookSeconds - own.LookB);
        if (givenThreshold < 0)
            own.Threshold =
                ThresholdForWriter(LookSeconds(own, 1), own.SecondsPerGlide, calibrated);
        writers.push_back(own);
    }
    writers.push_back(makeWriter(0, 0, ThresholdFor(0, calibrated)));
    writers.back().Weighs = false;
    Writer& reader = writers.back();
    const auto policy = [&](const Writer& writer) {
        return SuggestionPolicy{centre, static_cast<std::size_t>(slots), writer.Threshold,
                                calibrated};
    };

    const std::vector<uint8_t> codes = TextCodes(text);
    std::string line;        // the character line as it is being written
    bool signSpace = false;  // the last sign wrote its space
    std::optional<BoardCell> backspace;
    if (const std::optional<CellSource> source = FindCellFor(board, kCodeBackspace))
        backspace = source->Cell;
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
        // A sign's own space stands: the text's space needs no glide, a sign or LF takes it
        // away, and anything else needs a BS first.
        const bool signSpaced = signSpace;
        signSpace = false;
        for (Writer& writer : writers) {
            // The space an accepted word brought is there already; a sign takes it away.
            const bool spaceGiven = !inWord && i > 0 && IsLetter(codes[i - 1]) && writer.Accepted;
            if (inWord && writer.Accepted) continue;
            if ((spaceGiven || signSpaced) && code == kCodeSpace) continue;
            if (signSpaced && !TakesSpaceAway(code) && backspace) writer.Made.push_back(*backspace);
            writer.Made.push_back(source->Cell);
        }
        if (options.AutoSpace && code != kCodeLineFeed && TakesSpaceAway(code))
            signSpace = SpaceFollowsSign(line + static_cast<char>(code));
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

        const std::vector<Completion> ranked = Rank(model, line, policy(writers[0]));
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
                if (!writer.Weighs) return true;
                return gain * writer.SecondsPerGlide > LookSeconds(writer, words);
            };
            const auto rest = [typed](const Completion& c) {
                return double(c.Word.size() - std::min(typed, c.Word.size()));
            };
            std::optional<BoardCell> accept;
            if (shown.Centre && pays(shown.Centre->Probability * rest(*shown.Centre), 1)) {
                ++writer.Looks;
                writer.LookSeconds += LookSeconds(writer, 1);
                if (shown.Centre->Word == meant) accept = space;
            }
            double columnGain = 0;
            for (const auto& [completion, cell] : shown.Column)
                columnGain += completion.Probability * rest(completion);
            if (!accept && !shown.Column.empty() && pays(columnGain, shown.Column.size())) {
                ++writer.Looks;
                writer.LookSeconds += LookSeconds(writer, shown.Column.size());
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
    Glides all;  // every character by its own glide
    for (const uint8_t code : codes) {
        if (const std::optional<CellSource> source = FindCellFor(board, code))
            all.push_back(source->Cell);
    }
    const auto profileCost = [&](const Writer& writer) {
        const double throughput = writer.BitsPerSecond;
        const double seconds =
            GlideSeconds(board, writer.Made, options.Glide, throughput) + writer.LookSeconds;
        ProfileCost profile;
        if (seconds > 0) {
            profile.Speed.CharactersPerMinute = 60 * double(characters) / seconds;
            profile.Speed.WordsPerMinute = profile.Speed.CharactersPerMinute / 5;
        }
        profile.LooksPerCharacter = double(writer.Looks) / double(characters);
        // Against writing without prediction, glides as chosen, for the one who reads all.
        if (reader.Looks > 0) {
            const double without = GlideSeconds(board, all, options.Glide, throughput);
            const double with = GlideSeconds(board, reader.Made, options.Glide, throughput);
            profile.BreakEvenLookSeconds = std::max(0.0, (without - with) / double(reader.Looks));
        }
        return profile;
    };
    for (std::size_t p = 0; p < kPointerProfiles.size(); ++p)
        cost.Profiles[p] = profileCost(writers[p]);
    if (writers.size() > kPointerProfiles.size() + 1)
        cost.Writer = profileCost(writers[kPointerProfiles.size()]);
    return cost;
}

WriterSpeeds ModelWriter(const CharacterBoard& board, const std::string& text,
                         const WordModel* model, PredictionOptions options, const WriterFit& fit) {
    const WordModel none;
    if (model == nullptr) options.Mode = PredictionMode::None;
    options.Writer = fit;
    const auto speed = [&](GlideKind kind) {
        options.Glide = kind;
        const PredictionCost cost = CostWithPrediction(board, text, model ? *model : none, options);
        return cost.Writer ? cost.Writer->Speed.CharactersPerMinute : 0;
    };
    return {speed(GlideKind::OutAndBack), speed(GlideKind::Chained)};
}

}  // namespace glidtavla
