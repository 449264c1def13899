#include "pictures/board_picture.h"

#include "pictures/board_drawing.h"
#include "pictures/builtin_picture.h"

namespace glidtavla {

QPixmap BoardPicture::At(int percent, qreal devicePixelRatio) const {
    const double scale = percent / 100.0 * devicePixelRatio;
    QImage shown;
    switch (kind_) {
        case Kind::BuiltIn:
            shown = BuiltInBoardPicture(scale);
            break;
        case Kind::Drawn:
            shown = DrawnBoard(BuiltInBoardPicture(scale), drawn_, scale);
            break;
        case Kind::Picture:
            shown = scale == 1.0 ? picture_
                                 : picture_.scaled(ScaledSide(picture_.width(), scale),
                                                   ScaledSide(picture_.height(), scale),
                                                   Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            break;
    }
    shown.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(shown);
}

}  // namespace glidtavla
