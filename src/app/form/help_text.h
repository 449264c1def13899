#pragma once

#include <QString>

namespace glidtavla {

// The Swedish user guide shown in the help panel.
QString HelpText();

}  // namespace glidtavla
