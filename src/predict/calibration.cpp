#include "predict/calibration.h"

#include <algorithm>

#include "predict/words.h"

namespace glidtavla {

CalibrationTable MeasureCalibration(const WordModel& model, std::string_view text,
                                    bool calibrated) {
    CalibrationTable table{};
    std::array<double, 10> sums{}, rights{};
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') lineStart = i + 1;
        const auto isWord = [&](std::size_t at) {
            return at < text.size() && IsWordByte(static_cast<unsigned char>(text[at]));
        };
        if (!isWord(i) || !isWord(i + 1)) continue;
        std::size_t start = i, end = i + 1;
        while (start > lineStart && isWord(start - 1))
            --start;
        while (isWord(end))
            ++end;
        const std::vector<Completion> ranked =
            model.Complete(text.substr(lineStart, i + 1 - lineStart), 1);
        if (ranked.empty()) continue;
        const double p =
            calibrated ? model.Calibrated(ranked[0].Probability) : ranked[0].Probability;
        const auto bin = static_cast<std::size_t>(std::clamp(int(p * 10), 0, 9));
        ++table[bin].Shown;
        sums[bin] += p;
        rights[bin] += ranked[0].Word == text.substr(start, end - start) ? 1 : 0;
    }
    for (std::size_t bin = 0; bin < table.size(); ++bin) {
        if (table[bin].Shown == 0) continue;
        table[bin].MeanProbability = sums[bin] / double(table[bin].Shown);
        table[bin].Right = rights[bin] / double(table[bin].Shown);
    }
    return table;
}

std::vector<std::pair<double, double>> CalibrationPoints(const CalibrationTable& table) {
    struct Pool {
        double Shown, P, Right;  // sums, weighed by how many were shown
    };
    std::vector<Pool> pools;
    for (const CalibrationBin& bin : table) {
        if (bin.Shown == 0) continue;
        const double n = double(bin.Shown);
        pools.push_back({n, bin.MeanProbability * n, bin.Right * n});
        while (pools.size() >= 2 && pools[pools.size() - 2].Right / pools[pools.size() - 2].Shown >=
                                        pools.back().Right / pools.back().Shown) {
            const Pool last = pools.back();
            pools.pop_back();
            pools.back() = {pools.back().Shown + last.Shown, pools.back().P + last.P,
                            pools.back().Right + last.Right};
        }
    }
    std::vector<std::pair<double, double>> points;
    for (const Pool& pool : pools)
        points.emplace_back(pool.P / pool.Shown, pool.Right / pool.Shown);
    return points;
}

}  // namespace glidtavla
