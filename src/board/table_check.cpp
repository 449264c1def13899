#include "board/table_check.h"

#include <algorithm>
#include <map>

#include "base/errors.h"
#include "base/files.h"
#include "base/text_reader.h"
#include "base/windows1252.h"
#include "board/board_table.h"

namespace glidtavla {

namespace {

// What the check keeps is bounded, whatever the file: tables are a few dozen lines.
constexpr std::size_t kMaxCheckedBytes = 16U << 20;
constexpr int kMaxDescribedLines = 10000;

// One line of the file as the reader splits it: CR or CR LF ends it (LF in a file without any
// CR), Ctrl-Z ends the file.
struct RawLine {
    std::string Text;
    bool LfInside = false;
    bool EndsWithLineEnd = false;
};

std::vector<RawLine> SplitLines(const std::string& bytes) {
    const char lineEnd = HasLfLineEnds(bytes) ? '\n' : '\r';
    std::vector<RawLine> lines(1);
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != 26; ++i) {
        const char c = bytes[i];
        if (c == lineEnd) {
            lines.back().EndsWithLineEnd = true;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            if (c == '\n') lines.back().LfInside = true;
            lines.back().Text.push_back(c);
        }
    }
    if (lines.size() > 1 && lines.back().Text.empty()) lines.pop_back();
    return lines;
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

int CountTokens(const std::string& text) {
    int count = 0;
    bool inToken = false;
    for (char c : text) {
        if (!IsBlank(c) && !inToken) ++count;
        inToken = !IsBlank(c);
    }
    return count;
}

std::string RoleName(TableSection section, int row) {
    switch (section) {
        case TableSection::Sensitivity:
            return "sensitivity value";
        case TableSection::ColumnLine:
            return "column line";
        case TableSection::RowLine:
            return "row line";
        case TableSection::NormalBlock:
            return "code row " + std::to_string(row);
        case TableSection::Separator:
            return "separator";
        case TableSection::ShiftBlock:
            return "shift row " + std::to_string(row);
    }
    return "?";
}

std::string Plural(int n, const std::string& word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// Collects the roles the reader gave each line.
class RoleCollector : public TableObserver {
  public:
    struct Use {
        TableSection Section;
        int Row;
        int Values = 0;
        bool StartsHere = false;
    };

    void OnLine(TableSection section, int row, int line) override {
        if (line > kMaxDescribedLines) return;
        UseOf(section, row, line).StartsHere = true;
        rowLines[{section, row}] = line;
    }
    void OnValue(TableSection section, int row, int line, int32_t value) override {
        if (line > kMaxDescribedLines) return;
        Use& use = UseOf(section, row, line);
        ++use.Values;
        // The column line proper begins after a sensitivity value.
        if (afterSensitivity_ && section == TableSection::ColumnLine) use.StartsHere = true;
        afterSensitivity_ = section == TableSection::Sensitivity;
        ++valuesOf[{section, row}];
        if (section == TableSection::Sensitivity) sensitivityLines.push_back(line);
        if (section == TableSection::ColumnLine) columnValues.push_back(value);
        if (section == TableSection::RowLine) rowValues.push_back(value);
    }

    std::map<int, std::vector<Use>> uses;  // by line
    std::map<std::pair<TableSection, int>, int> valuesOf;
    std::map<std::pair<TableSection, int>, int> rowLines;
    std::vector<int> sensitivityLines;
    std::vector<int32_t> columnValues, rowValues;

  private:
    bool afterSensitivity_ = false;

    Use& UseOf(TableSection section, int row, int line) {
        std::vector<Use>& list = uses[line];
        for (Use& use : list) {
            if (use.Section == section && use.Row == row) return use;
        }
        list.push_back({section, row});
        return list.back();
    }
};

std::string Line(int line) {
    return "line " + std::to_string(line) + ": ";
}

void WarnAboutRawLines(const std::vector<RawLine>& raw, TableCheck& check) {
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const RawLine& line = raw[i];
        const int number = static_cast<int>(i) + 1;
        if (line.LfInside) {
            check.Warnings.push_back(Line(number) +
                                     "a line ends in LF alone, which does not end a line in a "
                                     "file that also holds CR; the following text is read as "
                                     "part of this line (use CR LF throughout, or LF only)");
        }
        const bool trailingBlank = !line.Text.empty() && IsBlank(line.Text.back()) &&
                                   line.Text.back() != '\n' && CountTokens(line.Text) > 0;
        if (trailingBlank) {
            check.Warnings.push_back(
                Line(number) +
                (line.EndsWithLineEnd
                     ? "a blank after the last value makes the reader go on into the next line, "
                       "which shifts the role of every following line"
                     : "blanks at the very end of the file read one more value, 0"));
        }
    }
}

// The bounds as stored: the first values given, the last one in entry 20 when there were more.
void WarnAboutBounds(const CellLine<int32_t>& bounds, std::size_t given, const std::string& what,
                     TableCheck& check) {
    const int n = static_cast<int>(std::min<std::size_t>(given, kMaxCells));
    for (int i = 2; i <= n; ++i) {
        if (bounds[i] <= bounds[i - 1]) {
            check.Warnings.push_back(what +
                                     " bounds do not increase: " + std::to_string(bounds[i - 1]) +
                                     " then " + std::to_string(bounds[i]));
            return;
        }
    }
}

void Describe(const RoleCollector& roles, const std::vector<RawLine>& raw, TableCheck& check) {
    const int allLines = std::max<int>(static_cast<int>(raw.size()),
                                       roles.uses.empty() ? 0 : roles.uses.rbegin()->first);
    const int lastLine = std::min(allLines, kMaxDescribedLines);
    if (allLines > lastLine) {
        check.Warnings.push_back("only the first " + std::to_string(kMaxDescribedLines) +
                                 " lines are described; a board table needs at most 43");
    }
    for (int line = 1; line <= lastLine; ++line) {
        const auto found = roles.uses.find(line);
        if (found == roles.uses.end()) {
            check.Lines.push_back(Line(line) + "ignored");
            continue;
        }
        const std::vector<RoleCollector::Use>& uses = found->second;
        const bool sensitivity = std::any_of(
            uses.begin(), uses.end(),
            [](const RoleCollector::Use& use) { return use.Section == TableSection::Sensitivity; });
        std::string text;
        for (const RoleCollector::Use& use : uses) {
            // A sensitivity value's line holds nothing else the reader keeps.
            if (sensitivity && use.Section == TableSection::ColumnLine && use.Values == 0) continue;
            if (!text.empty()) text += "; ";
            if (use.Section == TableSection::Sensitivity) {
                text +=
                    "sensitivity line (a value above 1000, passed over with the rest of "
                    "the line)";
                continue;
            }
            text += (use.StartsHere ? "" : "continues the ") + RoleName(use.Section, use.Row);
            if (use.Section != TableSection::Separator) {
                text += use.Values == 0 ? " (blank)" : ", " + Plural(use.Values, "value");
            }
        }
        check.Lines.push_back(Line(line) + text);
    }
}

void WarnAboutBlocks(const RoleCollector& roles, const std::vector<RawLine>& raw,
                     const CharacterBoard& board, int columns, TableCheck& check) {
    auto lineOf = [&](TableSection section, int row) {
        const auto it = roles.rowLines.find({section, row});
        return it == roles.rowLines.end() ? 0 : it->second;
    };
    auto valuesOf = [&](TableSection section, int row) {
        const auto it = roles.valuesOf.find({section, row});
        return it == roles.valuesOf.end() ? 0 : it->second;
    };

    for (const auto& [line, uses] : roles.uses) {
        for (const RoleCollector::Use& use : uses) {
            if (use.Values > kMaxCells) {
                check.Warnings.push_back(Line(line) + Plural(use.Values, "value") +
                                         " on one line; only 20 exist, so every value from the "
                                         "21st on overwrites the 20th");
            }
        }
    }
    for (int line : roles.sensitivityLines) {
        const bool alone =
            line - 1 < static_cast<int>(raw.size()) && CountTokens(raw[line - 1].Text) == 1;
        if (!alone || line != 1) {
            check.Warnings.push_back(Line(line) +
                                     "a value above 1000 is taken as a sensitivity value: the "
                                     "rest of its line is skipped and the column line goes on "
                                     "with the next line");
        }
    }

    const int rowCount = board.RowCount;
    for (int r = 1; r <= rowCount; ++r) {
        const int line = lineOf(TableSection::NormalBlock, r);
        if (line == 0) {
            check.Warnings.push_back("code row " + std::to_string(r) +
                                     " is missing: the file ends before it");
            continue;
        }
        const int n = valuesOf(TableSection::NormalBlock, r);
        if (n != std::min(columns, kMaxCells)) {
            check.Warnings.push_back(Line(line) + "code row " + std::to_string(r) + " gives " +
                                     Plural(n, "code") + " for a board of " +
                                     Plural(std::min(columns, kMaxCells), "column") +
                                     (n < columns ? "; the other cells keep their earlier codes"
                                                  : "; the extra codes lie outside the board"));
        }
    }

    const int separator = lineOf(TableSection::Separator, 0);
    if (separator > 0 && separator <= static_cast<int>(raw.size()) &&
        CountTokens(raw[separator - 1].Text) > 0) {
        check.Warnings.push_back(Line(separator) +
                                 "this line is skipped as the separator but holds values: the "
                                 "shift rows must begin after one blank line");
    }
    for (const auto& [key, line] : roles.rowLines) {
        if (key.first != TableSection::ShiftBlock) continue;
        const int r = key.second;
        const int n = valuesOf(TableSection::ShiftBlock, r);
        if (r > rowCount && n > 0) {
            check.Warnings.push_back(Line(line) + "shift row " + std::to_string(r) +
                                     " lies beyond the board's " + Plural(rowCount, "row"));
        } else if (n > columns) {
            check.Warnings.push_back(Line(line) + "shift row " + std::to_string(r) + " gives " +
                                     Plural(n, "code") + " for a board of " +
                                     Plural(columns, "column"));
        }
    }
}

// A board that writes nothing, or a centre cell with a code: the pointer rests in the centre,
// so its code can never be fetched.
void WarnAboutCells(const CharacterBoard& board, int columns, int rows, TableCheck& check) {
    bool any = false;
    for (int column = 1; column <= std::min(columns, kMaxCells); ++column) {
        for (int row = 1; row <= std::min(rows, kMaxCells); ++row)
            any = any || board.NormalCodes[column][row] != kCodeEmpty;
    }
    if (!any)
        check.Warnings.push_back(
            "the table is empty: every cell is code 0, nothing can be written");
    if (board.NormalCodes[3][3] != kCodeEmpty) {
        check.Warnings.push_back("the centre cell (column 3, row 3) holds code " +
                                 std::to_string(board.NormalCodes[3][3]) +
                                 ": the pointer rests there, so it can never be written");
    }
}

// The token the reader could not take as a number: the one after the values it read on the line
// where it stopped (a number may continue on the lines after it).
std::string FaultOf(const RoleCollector& roles, const std::vector<RawLine>& raw) {
    if (roles.uses.empty()) return "";
    const int line = roles.uses.rbegin()->first;
    int skip = 0;
    for (const RoleCollector::Use& use : roles.uses.rbegin()->second)
        skip += use.Values;
    for (std::size_t at = static_cast<std::size_t>(line) - 1; at < raw.size(); ++at) {
        const std::string& text = raw[at].Text;
        std::size_t start = 0;
        while ((start = text.find_first_not_of(" \t", start)) != std::string::npos) {
            const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
            if (skip-- == 0) {
                // Table files are Windows-1252 text; the terminal reads UTF-8.
                return "line " + std::to_string(at + 1) + ", \"" +
                       Windows1252ToUtf8(
                           text.substr(start, std::min<std::size_t>(end - start, 40))) +
                       "\"";
            }
            start = end;
        }
    }
    return "";
}

}  // namespace

TableCheck CheckBoardTable(CharacterBoard& board, const std::string& path) {
    TableCheck check;
    RoleCollector roles;
    int code = 0;
    try {
        LoadBoardTable(board, path, &roles);
    } catch (const Error& error) {
        check.Error = error.what();
        code = error.Code();
        if (roles.uses.empty()) return check;
    }
    // The lines are looked at whole only in the first part of a file; a table is a few lines.
    bool tooLarge = false;
    std::string bytes;
    try {
        bytes = ReadRegularFile(path, kMaxCheckedBytes, tooLarge);
    } catch (const Error&) {
        return check;  // the reader's own error says why
    }
    if (tooLarge) {
        check.Error = "the table is larger than " + std::to_string(kMaxCheckedBytes >> 20) +
                      " MiB; a board table is a few lines";
        return check;
    }
    const std::vector<RawLine> raw = SplitLines(bytes);
    check.LineEnds =
        HasLfLineEnds(bytes) ? "line ends: LF (the file holds no CR)" : "line ends: CR or CR LF";

    if (check.Error.empty() || !roles.uses.empty()) Describe(roles, raw, check);
    if (code == kCodeInvalidNumericInput) check.Fault = FaultOf(roles, raw);
    const int columns = CellsInUse(board.ColumnBounds, board.BoardWidth);
    const int rows = CellsInUse(board.RowBounds, board.BoardHeight);
    check.Summary = "board: " + Plural(std::min(columns, kMaxCells), "column") + ", " +
                    Plural(std::min(rows, kMaxCells), "row") + ", width " +
                    std::to_string(board.BoardWidth) + ", height " +
                    std::to_string(board.BoardHeight) + " pixels";
    if (!roles.uses.empty()) {
        WarnAboutRawLines(raw, check);
        WarnAboutBounds(board.ColumnBounds, roles.columnValues.size(), "column", check);
        WarnAboutBounds(board.RowBounds, roles.rowValues.size(), "row", check);
        if (columns > kMaxCells || rows > kMaxCells) {
            check.Warnings.push_back(
                "the board reaches past the 20th column or row bound: every pixel beyond it "
                "belongs to column or row 20");
        }
        WarnAboutBlocks(roles, raw, board, std::min(columns, kMaxCells), check);
    }
    if (check.Error.empty()) WarnAboutCells(board, columns, rows, check);
    return check;
}

}  // namespace glidtavla
