#include "app/demo_session.h"

namespace glidtavla {

void DemoSession::End() {
    file_.Close();
    if (Recording()) recorded_.Remember(path_);
    use_ = Use::Idle;
}

void DemoSession::Record() {
    End();
    OpenDemoForRecording(file_, path_);
    use_ = Use::Recording;
}

void DemoSession::Play() {
    End();
    OpenDemoForPlayback(file_, path_);
    use_ = Use::Playing;
}

bool DemoSession::Holds(Held what) const {
    return what == Held::Typing ? Playing() || playingSample_ : InUse();
}

void DemoSession::ReadSample(SelectionState& state) {
    bool playing = Playing();
    ReadDemoSample(file_, state, playing);
    if (!playing && use_ == Use::Playing) use_ = Use::Idle;
}

}  // namespace glidtavla
