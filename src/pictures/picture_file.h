#pragma once

#include <QImage>

#include <string>

namespace glidtavla {

// Pixels a decoded picture may have on a side.
constexpr int kMaxPictureSide = 8192;

enum class PictureKind { Bitmap, Icon, EnhancedMetafile, Metafile, Png, Jpeg, Svg };

// Loads a board picture, its kind chosen by the extension without regard to case, before the
// file is opened. Each fault is an Error with the message the window shows: "Unknown picture
// file extension (.%s)", "Cannot open file %s", "Bitmap image is not valid", "Icon image is not
// valid", "Metafile is not valid", "PNG image is not valid", "JPEG image is not valid", "SVG
// image is not valid", or "Stream read error" for a file shorter than its header says. SVG and
// metafiles are drawn by a program of their own, so a hostile file cannot crash or hang us.
QImage LoadPictureFile(const std::string& path);

// The bytes of a picture file of that kind, checked and decoded as LoadPictureFile does.
QImage DecodePicture(PictureKind kind, const std::string& bytes);

}  // namespace glidtavla
