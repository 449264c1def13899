#include "demo/demo_stats.h"

#include <cmath>

#include "demo/demo_replay.h"

namespace glidtavla {

namespace {

constexpr double kSecondsPerSample = 0.05;  // the player's timer

// Counts a fetch: control codes each on their own, and every code that wrote something.
void CountFetch(uint8_t code, DemoStats& stats) {
    switch (code) {
        case kCodeEmpty:
            ++stats.EmptyFetches;
            return;
        case kCodeBackspace:
            ++stats.BackspaceFetches;
            return;
        case kCodeDeleteLine:
            ++stats.DeleteLineFetches;
            return;
        case kCodeLineFeed:
            ++stats.LineFeedFetches;
            break;
        case kCodeSpace:
            ++stats.SpaceFetches;
            break;
        default:
            break;
    }
    ++stats.Characters;
}

}  // namespace

long long CountWords(const std::string& text) {
    long long words = 0;
    bool inWord = false;
    for (const char c : text) {
        const bool blank = static_cast<unsigned char>(c) <= 32;
        if (!blank && !inWord) ++words;
        inWord = !blank;
    }
    return words;
}

DemoStats StatsOfDemo(const CharacterBoard& board, const std::string& demoPath) {
    DemoStats stats;
    double path = 0;
    bool first = true;
    int32_t lastX = 0, lastY = 0;
    const Replay replay = ReplayDemo(board, demoPath, [&](std::span<const ReplayTick> ticks) {
        // Locals, so the running sums stay in registers through the batch.
        double sum = path;
        int32_t x = lastX, y = lastY;
        for (const ReplayTick& tick : ticks) {
            // Not std::hypot: its care for overflow costs more than the rest of a tick, and
            // the squares of two int32 differences are far from any double's limits.
            const double dx = double(tick.X0) - x, dy = double(tick.Y0) - y;
            if (!first) sum += std::sqrt(dx * dx + dy * dy);
            first = false;
            x = tick.X0;
            y = tick.Y0;
            if (tick.Fetched) CountFetch(*tick.Fetched, stats);
        }
        path = sum;
        lastX = x;
        lastY = y;
    });
    stats.Samples = replay.Samples;
    stats.Errors = static_cast<long long>(replay.Errors.size()) + replay.MoreErrors;
    stats.Seconds = double(stats.Samples) * kSecondsPerSample;
    std::string text;
    for (const std::string& line : replay.View.TextArea)
        text += line + '\n';
    stats.Words = CountWords(text + replay.View.Line);
    if (stats.Seconds > 0)
        stats.CharactersPerMinute = double(stats.Characters) * 60 / stats.Seconds;
    if (stats.Characters > 0) stats.PathPerCharacter = path / double(stats.Characters);
    return stats;
}

}  // namespace glidtavla
