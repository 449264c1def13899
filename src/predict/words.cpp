#include "predict/words.h"

#include <algorithm>

namespace glidtavla {

namespace {

enum class Kind { Letter, Space, SentenceEnd, Other };

Kind KindOf(unsigned char byte) {
    if (IsWordByte(byte)) return Kind::Letter;
    switch (byte) {
        case ' ':
        case '\t':
        case ',':
        case '"':
        case '\'':
        case '(':
        case ')':
        case 0x93:  // “ ”
        case 0x94:
        case 0xA0:  // no-break space
            return Kind::Space;
        default:
            return Kind::SentenceEnd;
    }
}

}  // namespace

bool IsWordByte(unsigned char byte) {
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')) return true;
    switch (byte) {
        case 0x8A:  // Š š Œ œ Ž ž Ÿ
        case 0x9A:
        case 0x8C:
        case 0x9C:
        case 0x8E:
        case 0x9E:
        case 0x9F:
            return true;
        default:
            return byte >= 0xC0 && byte != 0xD7 && byte != 0xF7;
    }
}

namespace {

unsigned char LowerByte(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<unsigned char>(byte + 32);
    if (byte == 0x8A || byte == 0x8C || byte == 0x8E) return static_cast<unsigned char>(byte + 16);
    if (byte == 0x9F) return 0xFF;
    return byte;
}

unsigned char UpperByte(unsigned char byte) {
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
        return static_cast<unsigned char>(byte - 32);
    if (byte == 0x9A || byte == 0x9C || byte == 0x9E) return static_cast<unsigned char>(byte - 16);
    if (byte == 0xFF) return 0x9F;
    return byte;  // ß has no capital of its own here
}

bool IsCapital(unsigned char byte) {
    return LowerByte(byte) != byte;
}

}  // namespace

std::string Lower(std::string_view word) {
    std::string lower(word);
    for (char& c : lower)
        c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
    return lower;
}

std::string Upper(std::string_view word) {
    std::string upper(word);
    for (char& c : upper)
        c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
    return upper;
}

std::string WithCaseOf(std::string_view typed, std::string_view word) {
    const long capitals = std::count_if(typed.begin(), typed.end(), [](char c) {
        return IsCapital(static_cast<unsigned char>(c));
    });
    std::string rest(word.substr(std::min(typed.size(), word.size())));
    if (capitals >= 2 && capitals == static_cast<long>(typed.size())) rest = Upper(rest);
    return std::string(typed) + rest;
}

std::vector<std::vector<std::string>> Sentences(std::string_view text) {
    std::vector<std::vector<std::string>> sentences(1);
    std::string word;
    const auto endWord = [&] {
        if (!word.empty()) sentences.back().push_back(Lower(word));
        word.clear();
    };
    for (const char c : text) {
        const Kind kind = KindOf(static_cast<unsigned char>(c));
        if (kind == Kind::Letter) {
            word += c;
            continue;
        }
        endWord();
        if (kind == Kind::SentenceEnd && !sentences.back().empty()) sentences.emplace_back();
    }
    endWord();
    if (sentences.back().empty()) sentences.pop_back();
    return sentences;
}

WordContext ContextAtEnd(std::string_view line) {
    std::size_t start = line.size();
    while (start > 0 && IsWordByte(static_cast<unsigned char>(line[start - 1])))
        --start;
    WordContext context;
    context.Typed = std::string(line.substr(start));
    // Whatever a sign breaks off is not context: only the last sentence counts.
    const std::vector<std::vector<std::string>> sentences = Sentences(line.substr(0, start));
    if (sentences.empty()) return context;
    std::size_t end = start;
    while (end > 0 && KindOf(static_cast<unsigned char>(line[end - 1])) == Kind::Space)
        --end;
    if (end > 0 && KindOf(static_cast<unsigned char>(line[end - 1])) == Kind::SentenceEnd)
        return context;
    const std::vector<std::string>& last = sentences.back();
    context.Before.assign(last.end() - std::min<std::ptrdiff_t>(2, std::ssize(last)), last.end());
    return context;
}

}  // namespace glidtavla
