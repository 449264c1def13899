#pragma once

namespace glidtavla {

class DemoSession;
struct FormControls;

// What the window shows of the demo: while one is recorded, "Gör demo" reads "Sluta spela in"
// and a notice right of the board says so.
void ShowDemoState(const DemoSession& demo, const FormControls& controls);

// Why a board command does nothing now, or nullptr when it may run.
const char* BoardCommandRefusal(const DemoSession& demo);

}  // namespace glidtavla
