#pragma once

#include <chrono>
#include <cstdint>
#include <deque>

namespace glidtavla {

// What the live speed line shows.
struct SpeedFigures {
    double CharactersPerMinute = 0;   // over the last minute of writing
    double WordsPerMinute = 0;        // five characters to a word, as text entry measures it
    long long CharactersWritten = 0;  // this session: every fetch that adds to the text
    double CorrectionShare = 0;       // BS and DL among all fetches that did something
};

// Bookkeeping of writing speed, fed by the fetches with the time they happened. Pauses longer
// than ten seconds do not count as writing time.
class WritingSpeed {
  public:
    using Clock = std::chrono::milliseconds;  // any steady origin; tests pass their own
    static constexpr Clock kLongestPause{10'000};
    static constexpr Clock kWindow{60'000};

    void Fetched(uint8_t ch, Clock now);
    SpeedFigures Figures() const;

  private:
    struct Fetch {
        Clock Gap;  // writing time since the fetch before (0 after a long pause)
        bool Character;
    };
    std::deque<Fetch> recent_;  // within the last minute of writing
    Clock recentTime_{0};
    long long recentCharacters_ = 0;
    bool any_ = false;
    Clock last_{0};
    long long written_ = 0;
    long long corrections_ = 0;
    long long fetches_ = 0;
};

}  // namespace glidtavla
