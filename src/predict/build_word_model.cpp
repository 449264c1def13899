// Builds the base word model from a book in HTML, keeping a tenth of it (from 60 % to 70 %:
// prose, where the end is a list of books) apart as a text the model never saw, and ending in
// how sure its guesses may be (measured on the tenth before, left out for that); given a plain
// UTF-8 text too, also the larger model of the book's same part and that text, which keeps the
// n-grams seen once. Usage:
// glidtavla-build-word-model BOOK.html MODEL HELD-OUT.txt [TEXT.txt LARGER-MODEL]
#include <cstdio>
#include <fstream>
#include <string>

#include "base/errors.h"
#include "base/files.h"
#include "base/windows1252.h"
#include "predict/calibration.h"
#include "predict/word_model.h"

namespace {

struct Entity {
    const char* Name;
    char32_t C;
};
constexpr Entity kEntities[] = {
    {"aring", U'å'},  {"auml", U'ä'},   {"ouml", U'ö'},   {"Aring", U'Å'}, {"Auml", U'Ä'},
    {"Ouml", U'Ö'},   {"eacute", U'é'}, {"Eacute", U'É'}, {"uuml", U'ü'},  {"Uuml", U'Ü'},
    {"aacute", U'á'}, {"agrave", U'à'}, {"egrave", U'è'}, {"sect", U'§'},  {"nbsp", U' '},
    {"amp", U'&'},    {"lt", U'<'},     {"gt", U'>'},     {"quot", U'"'},
};

// The text of an HTML page in Windows-1252: tags dropped, a block's end a line end.
std::string TextOf(const std::string& html) {
    std::string text;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t end = html.find('>', i);
            if (end == std::string::npos) break;
            const std::string tag = html.substr(i + 1, end - i - 1);
            const bool block = tag.starts_with("/p") || tag.starts_with("p") ||
                               tag.starts_with("br") || tag.starts_with("/h") ||
                               tag.starts_with("/li") || tag.starts_with("/t");
            text += block ? '\n' : ' ';
            i = end;
        } else if (c == '&') {
            const std::size_t end = html.find(';', i);
            const std::string name =
                end == std::string::npos ? "" : html.substr(i + 1, end - i - 1);
            char32_t decoded = 0;
            for (const Entity& entity : kEntities) {
                if (name == entity.Name) decoded = entity.C;
            }
            if (name.size() > 1 && name[0] == '#') decoded = char32_t(std::stoul(name.substr(1)));
            const std::optional<uint8_t> byte = glidtavla::Windows1252Byte(decoded);
            if (decoded == 0 || !byte) {
                text += c;
                continue;
            }
            text += static_cast<char>(*byte);
            i = end;
        } else {
            text += (c == '\r' || c == '\n') ? ' ' : c;  // a line end in HTML is a space
        }
    }
    return text;
}

std::optional<std::string> ReadFile(const char* path) {
    bool tooLarge = false;
    try {
        std::string bytes = glidtavla::ReadRegularFile(path, 64 << 20, tooLarge);
        if (!tooLarge) return bytes;
    } catch (const glidtavla::Error&) {
    }
    return std::nullopt;
}

// How often the likeliest completion is right at each probability, measured for a model of
// training on a slice of text it did not see.
std::string CalibrationOf(const std::string& training, long minCount, const std::string& slice) {
    glidtavla::WordModel model;
    model.ReadBase(glidtavla::WriteBaseModel(training, minCount));
    return glidtavla::WriteCalibration(
        glidtavla::CalibrationPoints(glidtavla::MeasureCalibration(model, slice, false)));
}

bool Write(const char* path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return bool(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        std::fputs(
            "Usage: glidtavla-build-word-model BOOK.html MODEL HELD-OUT.txt "
            "[TEXT.txt LARGER-MODEL]\n",
            stderr);
        return 2;
    }
    const std::optional<std::string> html = ReadFile(argv[1]);
    const std::optional<std::string> more = argc == 6 ? ReadFile(argv[4]) : std::string();
    if (!html || !more) {
        std::fprintf(stderr, "Cannot read %s\n", html ? argv[4] : argv[1]);
        return 1;
    }
    const std::optional<std::string> plain = glidtavla::Utf8ToWindows1252(*more, true);
    if (!plain) {
        std::fprintf(stderr, "%s is not a text in UTF-8 that Windows-1252 can hold\n", argv[4]);
        return 1;
    }
    const std::string text = TextOf(*html);
    // The held-out slice begins and ends at a paragraph.
    const auto paragraphAt = [&text](std::size_t tenths) {
        const std::size_t at = text.find('\n', text.size() / 10 * tenths);
        return at == std::string::npos ? text.size() : at;
    };
    const std::size_t from = paragraphAt(6), to = paragraphAt(7);
    const std::string training = text.substr(0, from) + "\n" + text.substr(to);
    // The calibration's slice, the tenth before the held-out one, is left out of the models it
    // is measured for, and the models written then learn from it too.
    const std::size_t calibrationFrom = paragraphAt(5);
    const std::string slice = text.substr(calibrationFrom, from - calibrationFrom);
    const std::string sliceLeftOut = text.substr(0, calibrationFrom) + "\n" + text.substr(to);
    if (!Write(argv[2],
               glidtavla::WriteBaseModel(training) + CalibrationOf(sliceLeftOut, 2, slice)) ||
        !Write(argv[3], text.substr(from, to - from)) ||
        (argc == 6 && !Write(argv[5], glidtavla::WriteBaseModel(training + "\n" + *plain, 1) +
                                          CalibrationOf(sliceLeftOut + "\n" + *plain, 1, slice)))) {
        std::fputs("Cannot write the model\n", stderr);
        return 1;
    }
    return 0;
}
