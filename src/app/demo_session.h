#pragma once

#include <string>

#include "app/known_files.h"
#include "demo/demo_file.h"
#include "engine/selection_engine.h"

namespace glidtavla {

// The one demo file of the window, and what it is used for.
class DemoSession {
  public:
    enum class Use { Idle, Recording, Playing };

    Use State() const { return use_; }
    bool Recording() const { return use_ == Use::Recording; }
    bool Playing() const { return use_ == Use::Playing; }
    bool InUse() const { return use_ != Use::Idle; }
    // What a demo holds back while it is in use: whatever would make a replay differ from the
    // recording (word prediction and learning, another board), and, while it plays, typing into
    // other programs: a received demo must never type into a terminal.
    enum class Held { Prediction, BoardChange, Typing };
    bool Holds(Held what) const;
    // The name the demo dialogs offer: the last one chosen.
    const std::string& Path() const { return path_; }
    void Choose(std::string path) { path_ = std::move(path); }
    // Whether a recording may replace path: as a save asks, unless this window recorded it
    // last and it is unchanged since. path becomes the free name beside it when that is chosen.
    bool MayRecordOver(Dialogs& dialogs, std::string& path) const {
        return recorded_.MayReplace(dialogs, path);
    }

    // A new recording or playback first ends the earlier use: everything recorded is already
    // in the file, and no later tick or sample meets a file that is closed.
    void End();
    void Record();
    void Play();
    // Where the samples of the pointer are recorded, or nullptr when not recording.
    SampleRecorder* Recorder() { return Recording() ? &recorder_ : nullptr; }
    // The next sample of the playback into state, handed to process; the end of the demo ends
    // the playback, and the sample that ended it is still the demo's.
    template <typename Process>
    void PlaySample(SelectionState& state, const Process& process) {
        ReadSample(state);
        // A demo writes as it was made: no sign brings a space of its own.
        state.SpaceAfterSigns = state.SpaceAfterSign = false;
        playingSample_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{playingSample_};
        process();
    }

  private:
    void ReadSample(SelectionState& state);

    DemoFile file_;
    DemoRecorder recorder_{file_};
    Use use_ = Use::Idle;
    std::string path_ = "demonst.dem";
    bool playingSample_ = false;
    KnownFiles recorded_;
};

}  // namespace glidtavla
