#pragma once

#include <QImage>

namespace glidtavla {

constexpr int kPictureWidth = 354;
constexpr int kPictureHeight = 284;

// The built-in board's picture: 354 x 284, black on white, grid lines at x = 50..350 and
// y = 40..280 across the whole picture, one label per cell.
QImage BuiltInBoardPicture();

// The demo marker: a 16 x 16 pointer arrow on a transparent ground.
QImage DemoMarkerIcon();

}  // namespace glidtavla
