#pragma once

#include <QImage>

#include <cstdint>
#include <string>

namespace glidtavla {

constexpr int kPictureWidth = 354;
constexpr int kPictureHeight = 284;

// The built-in board's picture: 354 x 284, black on white, grid lines at x = 50..350 and
// y = 40..280 across the whole picture, one label per cell. At a scale it is drawn afresh at
// that size (lines one pixel wide, text crisp), not blown up.
QImage BuiltInBoardPicture(double scale = 1.0);
// The same, always drawn.
QImage DrawBuiltInBoardPicture(double scale = 1.0);
// The drawn picture as the build ships it (builtin-board.pbm): a portable bitmap (P4), black on
// white, which is read without an image reader (Qt's looks through all its image plugins first).
std::string BuiltInPictureFile();
// That file read back; a null image when it is not one of its size.
QImage ReadBuiltInPictureFile(const std::string& path);

// The largest side of a picture drawn at a scale; a table may name sizes far beyond a screen.
constexpr int kMaxScaledSide = 8192;
// A side in board pixels at a scale, whole device pixels, within 0..kMaxScaledSide.
int ScaledSide(int64_t side, double scale);

// The demo marker: a 16 x 16 pointer arrow on a transparent ground.
QImage DemoMarkerIcon();

}  // namespace glidtavla
