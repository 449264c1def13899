#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/character_board.h"

namespace glidtavla {

// One glide out to a cell and back to the centre, as the pointer made it.
struct MeasuredGlide {
    double Bits;     // Fitts' index out and back, as board cost counts it
    double Seconds;  // from leaving rest in the centre to coming to rest there again
};

// Watches the pointer while a person writes and keeps what a speed model needs of them: the
// glides that went out from the centre, fetched once and came back, and how much longer the
// writer rested in the centre when a completion was shown there.
class GlideMeter {
  public:
    // A pointer sample at a time in seconds; fetched when it fetched a cell.
    void Sample(const CharacterBoard& board, int32_t x, int32_t y, double seconds, bool fetched);
    // A completion is shown in the centre: the rest it falls in is one with a completion.
    void CompletionShown();
    // The pointer left the board, or writing paused: the glide under way does not count.
    void Interrupt();

    const std::vector<MeasuredGlide>& Glides() const { return glides_; }
    // Seconds at rest in the centre before a glide: with a completion shown, and without.
    const std::vector<double>& RestsWithCompletion() const { return restsShown_; }
    const std::vector<double>& RestsWithout() const { return restsPlain_; }
    void Forget();

    // What was measured as a file of lines ("glide BITS SECONDS", "look SECONDS", "rest
    // SECONDS"), the newest kKeptGlides glides and as many rests; and back, added to what is
    // measured. Read gives false, adding nothing, when the text is not such a file.
    static constexpr std::size_t kKeptGlides = 2000;
    std::string Write() const;
    bool Read(std::string_view text);

  private:
    struct Sampled {
        int32_t X, Y;
        double Seconds;
        BoardCell Cell;
    };
    // A rest in the centre: since when, and the sum of its samples for their mean.
    struct Rest {
        double Since;
        double SumX = 0, SumY = 0;
        long long Samples = 0;
        double Away(const Sampled& sample) const;
    };
    void EndGlide(const CharacterBoard& board, double seconds);
    void BeginGlide(double seconds);
    std::optional<Sampled> last_;
    std::optional<Rest> rest_;
    std::deque<Sampled> recent_;        // the last samples, a few moments back
    std::optional<double> glideStart_;  // the glide under way left rest then
    bool shown_ = false;                // a completion shown during this rest
    BoardCell farthest_{3, 3};
    int fetches_ = 0;
    std::vector<MeasuredGlide> glides_;
    std::vector<double> restsShown_, restsPlain_;
};

// Adds the glides of a demo, replayed as the window plays it (a sample every 50 ms). Throws
// when the demo cannot be opened or has a malformed line.
void MeasureDemo(const CharacterBoard& board, const std::string& demoPath, GlideMeter& meter);

// A writer's figures, fitted from their glides.
struct WriterFit {
    long long Glides = 0;
    double A = 0;              // seconds of a glide whatever its length (Fitts' a)
    double B = 0;              // seconds a bit (Fitts' b)
    double BitsPerSecond = 0;  // throughput with a fixed at 0, as board cost models a pointer
    long long Looks = 0;       // rests with a completion shown
    double LookSeconds = 0;    // how much longer those rests were
};

// Enough glides for the fit to steer anything.
constexpr long long kGlidesForFit = 200;

// The least squares fit of seconds = A + B * bits over the glides, and the throughput. Glides
// of over three times the median are left out: a pause, not a movement.
WriterFit FitWriter(const std::vector<MeasuredGlide>& glides, const std::vector<double>& shown,
                    const std::vector<double>& plain);

// The least probability a centre completion needs for this writer on a board where a
// character costs secondsPerCharacter: the pointer kinds' thresholds (0.5, 0.4, 0.1) lie on
// one line over the log of the look time to the character time, and so does the writer.
double ThresholdForWriter(double lookSeconds, double secondsPerCharacter, bool calibrated = false);

// The fit as a JSON object of numbers, and back; nothing when the text is not one.
std::string WriterFitJson(const WriterFit& fit);
std::optional<WriterFit> ParseWriterFit(std::string_view json);

}  // namespace glidtavla
