#include "app/demo_notice.h"

#include <QAction>
#include <QLabel>

#include "app/demo_session.h"
#include "app/form/form_controls.h"

namespace glidtavla {

void ShowDemoState(const DemoSession& demo, const FormControls& c) {
    c.Mdemo->setText(demo.Recording() ? "Sluta spela in" : "Gör demo");
    c.DemoNotice->setVisible(demo.Recording());
}

const char* BoardCommandRefusal(const DemoSession& demo) {
    if (!demo.Holds(DemoSession::Held::BoardChange)) return nullptr;
    if (demo.Recording()) {
        return "Teckenbordet kan inte bytas medan en demo spelas in. Välj först "
               "Bruksanvisning > Sluta spela in.";
    }
    return "Teckenbordet kan inte bytas medan en demo spelas upp.";
}

}  // namespace glidtavla
