#include "engine/writing_speed.h"

#include "board/character_board.h"

namespace glidtavla {

void WritingSpeed::Fetched(uint8_t ch, Clock now) {
    if (ch == kCodeEmpty) return;
    const bool correction = ch == kCodeBackspace || ch == kCodeDeleteLine;
    ++fetches_;
    if (correction) ++corrections_;
    if (!correction) ++written_;

    Clock gap{0};
    if (any_ && now > last_ && now - last_ <= kLongestPause) gap = now - last_;
    any_ = true;
    last_ = now;
    recent_.push_back({gap, !correction});
    recentTime_ += gap;
    if (!correction) ++recentCharacters_;
    // Keep one minute of writing time: the oldest fetch's own gap lies before the window.
    while (recent_.size() > 1 && recentTime_ - recent_[1].Gap >= kWindow) {
        recentTime_ -= recent_[1].Gap;
        if (recent_.front().Character) --recentCharacters_;
        recent_.pop_front();
        recent_.front().Gap = Clock{0};
    }
}

SpeedFigures WritingSpeed::Figures() const {
    SpeedFigures figures;
    figures.CharactersWritten = written_;
    figures.CorrectionShare = fetches_ == 0 ? 0 : double(corrections_) / double(fetches_);
    if (recentTime_.count() > 0) {
        // The first fetch of the window starts its time: it is not counted as written in it.
        const long long counted = recentCharacters_ - (recent_.front().Character ? 1 : 0);
        figures.CharactersPerMinute = double(counted) * 60'000.0 / double(recentTime_.count());
        figures.WordsPerMinute = figures.CharactersPerMinute / 5;
    }
    return figures;
}

}  // namespace glidtavla
