#include "model/board_cost.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string_view>

#include "base/errors.h"
#include "board/board_table.h"
#include "board/shift.h"
#include "board/word_column.h"
#include "demo/demo_typist.h"

namespace glidtavla {

// Throughput of pointing and selecting (ISO 9241-9), movement time = index / throughput.
const std::array<PointerProfile, 3> kPointerProfiles = {{
    // MacKenzie, Kauppinen & Silfverberg, "Accuracy measures for evaluating computer pointing
    // devices", CHI 2001, pp. 9-16: mouse 4.9 bits/s, trackball 3.0 bits/s.
    {"mouse", 4.9},
    {"trackball", 3.0},
    // Hassan, Magee & MacKenzie, "A Fitts' law evaluation of hands-free and hands-on input on
    // a laptop computer", HCII 2019, LNCS 11572, pp. 234-249: face tracking (Camera Mouse)
    // with dwell selection, 0.65 bits/s. Turning back selects here, so this is a lower bound.
    {"headMouse", 0.65},
}};

namespace {

// Out to the cell and back, in bits, and the path in pixels.
struct Trip {
    double Bits, pixels;
};

Trip TripTo(const CharacterBoard& board, BoardCell cell) {
    const BoardCell centre{3, 3};
    return {MovementBits(board, centre, cell) + MovementBits(board, cell, centre),
            2 * CellCentreDistance(board, centre, cell)};
}

}  // namespace

std::vector<uint8_t> TextCodes(const std::string& text) {
    std::vector<uint8_t> codes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        codes.push_back(c == '\n' || c == '\r' ? kCodeLineFeed : c);
    }
    return codes;
}

BoardCost CostOfText(const CharacterBoard& board, const std::string& text) {
    BoardCost cost;
    std::map<uint8_t, long long> counts;
    for (const uint8_t code : TextCodes(text))
        ++counts[code];
    long long writable = 0, shifted = 0;
    double bits = 0, pixels = 0;
    const std::optional<CellSource> shiftCell = FindCellFor(board, kCodeShiftCell);
    for (const auto& [code, count] : counts) {
        cost.Characters += count;
        const std::optional<CellSource> source = FindCellFor(board, code);
        if (!source) {
            cost.Missing[code] = count;
            continue;
        }
        Trip trip = TripTo(board, source->Cell);
        writable += count;
        if (source->Shifted) shifted += count;
        // A board with a shift cell is written without a button: a shifted character takes a
        // glide to the shift cell first.
        if (source->Shifted && shiftCell) {
            const Trip extra = TripTo(board, shiftCell->Cell);
            trip = {trip.Bits + extra.Bits, trip.pixels + extra.pixels};
        }
        bits += trip.Bits * double(count);
        pixels += trip.pixels * double(count);
    }
    if (writable == 0) return cost;
    cost.ShiftShare = double(shifted) / double(writable);
    cost.PathPerCharacter = pixels / double(writable);
    cost.IndexOfDifficulty = bits / double(2 * writable);
    for (std::size_t i = 0; i < kPointerProfiles.size(); ++i) {
        const double secondsPerCharacter =
            bits / double(writable) / kPointerProfiles[i].BitsPerSecond;
        if (secondsPerCharacter <= 0) continue;
        cost.Speeds[i].CharactersPerMinute = 60 / secondsPerCharacter;
        cost.Speeds[i].WordsPerMinute = cost.Speeds[i].CharactersPerMinute / 5;
    }
    return cost;
}

namespace {

// Capital letters that their small letter gives by shift, so they need no cell of their own.
std::optional<uint8_t> SmallLetterOf(uint8_t code) {
    const bool capital =
        (code >= 'A' && code <= 'Z') || (code >= 0xC0 && code <= 0xDE && code != 0xD7);
    if (!capital) return std::nullopt;
    const auto small = static_cast<uint8_t>(code + 32);
    if (ApplyShift(small, 0) != code) return std::nullopt;
    return small;
}

// The built-in board's places of the control cells.
constexpr struct {
    uint8_t Code;
    BoardCell Cell;
} kBuiltInControls[] = {{kCodeSpace, {4, 4}},
                        {kCodeBackspace, {5, 6}},
                        {kCodeLineFeed, {6, 6}},
                        {kCodeDeleteLine, {7, 6}}};

// Rearranges the codes of the movable cells so that chained glides over the text's pairs of
// characters cost least (simulated annealing from the given layout, seeded: the same text
// gives the same board).
void ArrangeForChainedGlides(CharacterBoard& board, const std::vector<BoardCell>& cells,
                             const std::vector<bool>& movable,
                             const std::map<std::pair<uint8_t, uint8_t>, double>& pairs) {
    const std::size_t n = cells.size();
    std::vector<double> step(n * n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            const BoardCell turn = TurnBetween(cells[i], cells[j]);
            step[i * n + j] =
                MovementBits(board, cells[i], turn) + MovementBits(board, turn, cells[j]);
        }
    }
    std::vector<double> weight(256 * 256, 0.0);
    for (const auto& [pair, share] : pairs)
        weight[pair.first * 256 + pair.second] = share;
    std::vector<uint8_t> code(n);
    for (std::size_t i = 0; i < n; ++i)
        code[i] = board.NormalCodes[cells[i].Column][cells[i].Row];
    const auto w = [&](std::size_t i, std::size_t j) {
        return weight[code[i] * 256 + code[j]] * step[i * n + j];
    };
    // What the pairs touching cell a or b cost, each pair once.
    const auto local = [&](std::size_t a, std::size_t b) {
        double sum = 0;
        for (std::size_t j = 0; j < n; ++j) {
            sum += w(a, j) + w(j, b);
            if (j != a) sum += w(j, a);
            if (j != b) sum += w(b, j);
        }
        return sum - w(a, b) - w(b, a);
    };
    std::vector<std::size_t> free;
    for (std::size_t i = 0; i < n; ++i) {
        if (movable[i]) free.push_back(i);
    }
    if (free.size() < 2) return;
    std::mt19937 random(1);
    std::uniform_int_distribution<std::size_t> pick(0, free.size() - 1);
    std::uniform_real_distribution<double> chance(0, 1);
    constexpr int kSteps = 400'000;
    constexpr double kHot = 0.02, kCold = 0.00005;  // bits a character
    for (int round = 0; round < kSteps; ++round) {
        const std::size_t a = free[pick(random)], b = free[pick(random)];
        if (a == b || code[a] == code[b]) continue;
        const double temperature = kHot * std::pow(kCold / kHot, double(round) / kSteps);
        const double before = local(a, b);
        std::swap(code[a], code[b]);
        const double delta = local(a, b) - before;
        if (delta > 0 && chance(random) >= std::exp(-delta / temperature))
            std::swap(code[a], code[b]);  // kept as it was
    }
    for (std::size_t i = 0; i < n; ++i)
        board.NormalCodes[cells[i].Column][cells[i].Row] = code[i];
}

}  // namespace

std::string MakeBoardTable(const std::string& text, int columns, int rows, int cellWidth,
                           int cellHeight, bool keepControls, int wordSlots, bool shiftCell,
                           std::vector<uint8_t>& leftOut, bool chained) {
    if (columns < 3 || rows < 3 || columns > kMaxCells || rows > kMaxCells) {
        throw Error("A board has 3 to 20 columns and rows (the centre cell is column 3, row 3)");
    }
    if (cellWidth < 1 || cellHeight < 1 || columns * cellWidth > 1000 || rows * cellHeight > 1000) {
        throw Error("Cells must be at least 1 pixel and the board at most 1000 pixels each way");
    }
    if (keepControls && (columns < 7 || rows < 6)) {
        throw Error("--keep-controls needs at least 7 columns and 6 rows");
    }
    CharacterBoard board;
    for (int i = 1; i <= kMaxCells; ++i) {
        board.ColumnBounds[i] = cellWidth * std::min(i, columns);
        board.RowBounds[i] = cellHeight * std::min(i, rows);
    }

    // How often each code is written; capitals count for their small letter.
    std::map<uint8_t, long long> counts;
    long long total = 0;
    long long capitals = 0;
    for (const uint8_t code : TextCodes(text)) {
        ++counts[SmallLetterOf(code).value_or(code)];
        if (SmallLetterOf(code)) ++capitals;
        ++total;
    }
    counts.erase(kCodeEmpty);
    // The corrections the text does not show: about one BS in twenty characters, a DL more
    // rarely; SP and LF always have a cell.
    counts[kCodeBackspace] = std::max<long long>(counts[kCodeBackspace], total / 20 + 1);
    counts[kCodeDeleteLine] = std::max<long long>(counts[kCodeDeleteLine], total / 200 + 1);
    counts[kCodeSpace] = std::max<long long>(counts[kCodeSpace], 1);
    counts[kCodeLineFeed] = std::max<long long>(counts[kCodeLineFeed], 1);
    if (wordSlots < 0 || wordSlots > kMaxSlots) throw Error("A board has 0 to 6 word slots");
    if (shiftCell) counts[kCodeShiftCell] = std::max(capitals, total / 30 + 1);
    // A board to write on at length has the digits, é and the apostrophe, however rare.
    if (chained) {
        for (const uint8_t code : std::string_view("0123456789\xE9'"))
            counts[code] = std::max<long long>(counts[code], 1);
    }
    for (int slot = 1; slot <= wordSlots; ++slot) {
        counts[static_cast<uint8_t>(kCodeFirstSlot + slot - 1)] =
            std::max<long long>(total / (10 * slot), 1);
    }

    std::vector<std::vector<bool>> taken(columns + 1, std::vector<bool>(rows + 1, false));
    taken[3][3] = true;
    if (keepControls) {
        for (const auto& control : kBuiltInControls) {
            board.NormalCodes[control.Cell.Column][control.Cell.Row] = control.Code;
            taken[control.Cell.Column][control.Cell.Row] = true;
            counts.erase(control.Code);
        }
    }
    std::vector<BoardCell> cells;
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            if (!taken[column][row]) cells.push_back({column, row});
        }
    }
    std::stable_sort(cells.begin(), cells.end(), [&](BoardCell a, BoardCell b) {
        return TripTo(board, a).Bits < TripTo(board, b).Bits;
    });
    std::vector<std::pair<uint8_t, long long>> byFrequency(counts.begin(), counts.end());
    std::stable_sort(byFrequency.begin(), byFrequency.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    // The controls must be there even when the text would fill the board: they go first.
    std::stable_partition(byFrequency.begin(), byFrequency.end(), [](const auto& entry) {
        return entry.first == kCodeSpace || entry.first == kCodeBackspace ||
               entry.first == kCodeLineFeed || entry.first == kCodeDeleteLine;
    });
    std::vector<std::pair<uint8_t, long long>> placed;
    for (std::size_t i = 0; i < byFrequency.size(); ++i) {
        if (i < cells.size()) {
            placed.push_back(byFrequency[i]);
        } else {
            leftOut.push_back(byFrequency[i].first);
        }
    }
    // The most frequent in the cheapest cells.
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    for (std::size_t i = 0; i < placed.size(); ++i)
        board.NormalCodes[cells[i].Column][cells[i].Row] = placed[i].first;

    if (chained) {
        // Every cell but the centre, the fixed controls among them: they take part in pairs.
        std::vector<BoardCell> all;
        std::vector<bool> movable;
        for (int row = 1; row <= rows; ++row) {
            for (int column = 1; column <= columns; ++column) {
                if (column == 3 && row == 3) continue;
                all.push_back({column, row});
                movable.push_back(!taken[column][row]);
            }
        }
        std::map<std::pair<uint8_t, uint8_t>, double> pairs;
        const std::vector<uint8_t> codes = TextCodes(text);
        for (std::size_t i = 1; i < codes.size(); ++i) {
            pairs[{SmallLetterOf(codes[i - 1]).value_or(codes[i - 1]),
                   SmallLetterOf(codes[i]).value_or(codes[i])}] += 1.0 / double(codes.size());
        }
        ArrangeForChainedGlides(board, all, movable, pairs);
    }
    return WriteBoardTable(board, columns, rows);
}

}  // namespace glidtavla
