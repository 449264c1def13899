#include "model/writer_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "base/errors.h"
#include "demo/demo_replay.h"
#include "demo/demo_typist.h"
#include "engine/selection_engine.h"

namespace glidtavla {

namespace {

constexpr BoardCell kCentre{3, 3};
// Samples no farther apart than this, each way, stand still: a trembling hand at rest is still
// at rest.
constexpr int32_t kStillPixels = 4;
// At rest when it stayed so near for this long.
constexpr double kStillFor = 0.3;
// Without a sample for this long the pointer stood still (the window hears only movements).
constexpr double kStillGap = 0.1;
// The time between two movement events, so the start of a movement after a gap is not lost.
constexpr double kEventInterval = 0.02;

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

double GlideMeter::Rest::Away(const Sampled& sample) const {
    return std::max(std::abs(sample.X - SumX / double(Samples)),
                    std::abs(sample.Y - SumY / double(Samples)));
}

void GlideMeter::EndGlide(const CharacterBoard& board, double seconds) {
    if (glideStart_ && fetches_ == 1 && !(farthest_ == kCentre)) {
        const double bits =
            MovementBits(board, kCentre, farthest_) + MovementBits(board, farthest_, kCentre);
        glides_.push_back({bits, seconds - *glideStart_});
    }
    glideStart_.reset();
}

void GlideMeter::BeginGlide(double seconds) {
    (shown_ ? restsShown_ : restsPlain_).push_back(seconds - rest_->Since);
    rest_.reset();
    shown_ = false;
    glideStart_ = seconds;
    farthest_ = kCentre;
    fetches_ = 0;
}

void GlideMeter::Sample(const CharacterBoard& board, int32_t x, int32_t y, double seconds,
                        bool fetched) {
    const Sampled now{x, y, seconds, LocateCell(board, x, y)};
    const bool gap = last_ && seconds - last_->Seconds >= kStillGap;
    if (glideStart_ && fetched) ++fetches_;
    // A pointer is at rest near the mean of its rest; it began or ended to move where it was
    // last at most half that far from it.
    const auto still = [&](const Rest& rest, const Sampled& s) {
        return rest.Away(s) <= kStillPixels / 2.0;
    };
    if (!rest_ && gap && last_->Cell == kCentre) {
        // No sample for a while: the pointer stood where the last one was.
        rest_ = Rest{last_->Seconds, double(last_->X), double(last_->Y), 1};
        EndGlide(board, last_->Seconds);
    }
    if (rest_ && (rest_->Away(now) > kStillPixels || !(now.Cell == kCentre))) {
        double start = seconds - kEventInterval;
        if (!gap) {
            for (const Sampled& s : recent_) {
                if (s.Seconds >= rest_->Since && still(*rest_, s)) start = s.Seconds;
            }
        }
        BeginGlide(start);
    } else if (rest_) {
        rest_->SumX += x;
        rest_->SumY += y;
        ++rest_->Samples;
    } else if (now.Cell == kCentre) {
        // At rest once the samples of the last moment all stand within a few pixels.
        Rest window{seconds, double(x), double(y), 1};
        std::size_t first = recent_.size();
        while (first > 0 && seconds - recent_[first - 1].Seconds <= kStillFor) {
            --first;
            window.SumX += recent_[first].X;
            window.SumY += recent_[first].Y;
            ++window.Samples;
        }
        const bool longEnough =
            first > 0 || (!recent_.empty() && seconds - recent_.front().Seconds >= kStillFor);
        int32_t left = x, right = x, top = y, bottom = y;
        bool allNear = longEnough && first < recent_.size();
        for (std::size_t i = first; allNear && i < recent_.size(); ++i) {
            left = std::min(left, recent_[i].X);
            right = std::max(right, recent_[i].X);
            top = std::min(top, recent_[i].Y);
            bottom = std::max(bottom, recent_[i].Y);
            allNear = recent_[i].Cell == kCentre;
        }
        allNear = allNear && right - left <= kStillPixels && bottom - top <= kStillPixels;
        if (allNear) {
            // The rest began when the pointer first came so near.
            std::size_t since = first;
            while (since > 0 && still(window, recent_[since - 1]))
                --since;
            while (since < recent_.size() && !still(window, recent_[since]))
                ++since;
            window.Since = since < recent_.size() ? recent_[since].Seconds : seconds;
            EndGlide(board, window.Since);
            rest_ = window;
        }
    }
    if (glideStart_ && CellDistance(now.Cell) > CellDistance(farthest_)) farthest_ = now.Cell;
    last_ = now;
    recent_.push_back(now);
    while (!recent_.empty() && seconds - recent_.front().Seconds > 3 * kStillFor)
        recent_.pop_front();
}

void GlideMeter::CompletionShown() {
    shown_ = true;
}

void GlideMeter::Interrupt() {
    last_.reset();
    rest_.reset();
    recent_.clear();
    glideStart_.reset();
    shown_ = false;
}

void GlideMeter::Forget() {
    Interrupt();
    glides_.clear();
    restsShown_.clear();
    restsPlain_.clear();
}

void MeasureDemo(const CharacterBoard& board, const std::string& demoPath, GlideMeter& meter) {
    constexpr double kSecondsPerSample = 0.05;  // the player's timer
    long long samples = 0;
    meter.Interrupt();
    const Replay replay = ReplayDemo(board, demoPath, [&](std::span<const ReplayTick> ticks) {
        for (const ReplayTick& tick : ticks) {
            meter.Sample(board, tick.X0, tick.Y0, double(samples++) * kSecondsPerSample,
                         tick.Fetched.has_value());
        }
    });
    meter.Interrupt();
    if (!replay.Errors.empty()) throw Error(demoPath + ": " + replay.Errors.front());
}

std::string GlideMeter::Write() const {
    std::string text;
    char line[64];
    const auto newest = [](const auto& values) {
        return values.size() > kKeptGlides ? values.size() - kKeptGlides : 0;
    };
    for (std::size_t i = newest(glides_); i < glides_.size(); ++i) {
        std::snprintf(line, sizeof line, "glide %.4f %.3f\n", glides_[i].Bits, glides_[i].Seconds);
        text += line;
    }
    for (const auto& [name, rests] : {std::pair{"look", &restsShown_}, {"rest", &restsPlain_}}) {
        for (std::size_t i = newest(*rests); i < rests->size(); ++i) {
            std::snprintf(line, sizeof line, "%s %.3f\n", name, (*rests)[i]);
            text += line;
        }
    }
    return text;
}

bool GlideMeter::Read(std::string_view text) {
    std::vector<MeasuredGlide> glides;
    std::vector<double> shown, plain;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string line(text.substr(at, end - at));
        at = end + 1;
        char name[8] = {};
        double first = 0, second = 0;
        int used = 0;
        const bool isGlide =
            std::sscanf(line.c_str(), "glide %lf %lf%n", &first, &second, &used) == 2;
        const bool isRest = !isGlide &&
                            std::sscanf(line.c_str(), "%7s %lf%n", name, &first, &used) == 2 &&
                            (std::string_view(name) == "look" || std::string_view(name) == "rest");
        const bool sane = std::isfinite(first) && std::isfinite(second) && first >= 0 &&
                          second >= 0 && first < 1e6 && second < 1e6;
        if ((!isGlide && !isRest) || !sane || std::size_t(used) != line.size()) return false;
        if (isGlide) {
            glides.push_back({first, second});
        } else {
            (std::string_view(name) == "look" ? shown : plain).push_back(first);
        }
    }
    glides_.insert(glides_.begin(), glides.begin(), glides.end());
    restsShown_.insert(restsShown_.begin(), shown.begin(), shown.end());
    restsPlain_.insert(restsPlain_.begin(), plain.begin(), plain.end());
    return true;
}

WriterFit FitWriter(const std::vector<MeasuredGlide>& all, const std::vector<double>& shown,
                    const std::vector<double>& plain) {
    WriterFit fit;
    std::vector<double> times;
    for (const MeasuredGlide& glide : all)
        times.push_back(glide.Seconds);
    const double limit = 3 * Median(times);
    std::vector<MeasuredGlide> glides;
    for (const MeasuredGlide& glide : all) {
        if (glide.Seconds > 0 && glide.Seconds <= limit && glide.Bits > 0) glides.push_back(glide);
    }
    fit.Glides = static_cast<long long>(glides.size());
    fit.Looks = static_cast<long long>(shown.size());
    if (!shown.empty()) fit.LookSeconds = std::max(0.0, Median(shown) - Median(plain));
    if (glides.empty()) return fit;
    double bits = 0, seconds = 0;
    for (const MeasuredGlide& glide : glides) {
        bits += glide.Bits;
        seconds += glide.Seconds;
    }
    fit.BitsPerSecond = bits / seconds;
    const double n = double(glides.size()), meanBits = bits / n, meanSeconds = seconds / n;
    double spread = 0, together = 0;
    for (const MeasuredGlide& glide : glides) {
        spread += (glide.Bits - meanBits) * (glide.Bits - meanBits);
        together += (glide.Bits - meanBits) * (glide.Seconds - meanSeconds);
    }
    // Glides all of one length say nothing of a: the throughput is all there is.
    fit.B = spread > 1e-9 ? together / spread : 1 / fit.BitsPerSecond;
    fit.A = spread > 1e-9 ? meanSeconds - fit.B * meanBits : 0;
    return fit;
}

double ThresholdForWriter(double lookSeconds, double secondsPerCharacter, bool calibrated) {
    // The three pointer kinds on the built-in board: look 0.35 s against 0.645, 1.05 and
    // 4.84 s a character gave the best thresholds 0.5, 0.4 and 0.1, or calibrated 0.4, 0.3 and
    // 0.1 (within 0.015 of this line).
    constexpr double kMouseLogRatio = -0.6105;
    const double atMouse = calibrated ? 0.3884 : 0.5, slope = calibrated ? 0.1450 : 0.1984;
    if (lookSeconds <= 0 || secondsPerCharacter <= 0) return 0.05;
    const double threshold =
        atMouse + slope * (std::log(lookSeconds / secondsPerCharacter) - kMouseLogRatio);
    return std::clamp(threshold, 0.05, 0.9);
}

std::string WriterFitJson(const WriterFit& fit) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "{\"glides\":%lld,\"a\":%.6g,\"b\":%.6g,\"bitsPerSecond\":%.6g,\"looks\":%lld,"
                  "\"lookSeconds\":%.6g}\n",
                  fit.Glides, fit.A, fit.B, fit.BitsPerSecond, fit.Looks, fit.LookSeconds);
    return text;
}

std::optional<WriterFit> ParseWriterFit(std::string_view json) {
    std::map<std::string, double> values;
    std::size_t at = 0;
    const auto blank = [&] {
        while (at < json.size() &&
               (json[at] == ' ' || json[at] == '\n' || json[at] == '\t' || json[at] == '\r'))
            ++at;
    };
    const auto take = [&](char c) {
        blank();
        if (at >= json.size() || json[at] != c) return false;
        ++at;
        return true;
    };
    if (!take('{')) return std::nullopt;
    for (bool first = true; !take('}'); first = false) {
        if (!first && !take(',')) return std::nullopt;
        if (!take('"')) return std::nullopt;
        const std::size_t end = json.find('"', at);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string key(json.substr(at, end - at));
        at = end + 1;
        if (!take(':')) return std::nullopt;
        blank();
        const std::string number(json.substr(at, std::min<std::size_t>(json.size() - at, 32)));
        char* stop = nullptr;
        const double value = std::strtod(number.c_str(), &stop);
        if (stop == number.c_str() || !std::isfinite(value) || std::abs(value) > 1e9)
            return std::nullopt;
        at += std::size_t(stop - number.c_str());
        values[key] = value;
    }
    blank();
    if (at != json.size() || !values.contains("bitsPerSecond") || values["bitsPerSecond"] <= 0 ||
        values["glides"] < 0 || values["looks"] < 0 || values["lookSeconds"] < 0)
        return std::nullopt;
    WriterFit fit;
    fit.Glides = static_cast<long long>(values["glides"]);
    fit.A = values["a"];
    fit.B = values["b"];
    fit.BitsPerSecond = values["bitsPerSecond"];
    fit.Looks = static_cast<long long>(values["looks"]);
    fit.LookSeconds = values["lookSeconds"];
    return fit;
}

}  // namespace glidtavla
