#include "app/form/zoom_scale.h"

#include <algorithm>
#include <cmath>

namespace glidtavla {

int64_t Zoomed(int64_t boardPixels, int percent) {
    return boardPixels * percent / 100;
}

int32_t Unzoomed(int windowPixels, int percent) {
    const int64_t scaled = int64_t{windowPixels} * 100;
    const int64_t quotient = scaled / percent;
    return static_cast<int32_t>(quotient - ((scaled % percent != 0 && scaled < 0) ? 1 : 0));
}

double TextFactor(int percent) {
    return std::clamp(percent / 100.0, 1.0, 2.0);
}

int ZoomToFit(int boardWidth, int boardHeight, int belowAt100, int besideAt100, int availableWidth,
              int availableHeight) {
    for (int percent = kMaxZoom; percent > kMinZoom; --percent) {
        const int64_t below = std::llround(belowAt100 * TextFactor(percent));
        if (Zoomed(boardWidth, percent) + besideAt100 <= availableWidth &&
            Zoomed(boardHeight, percent) + below <= availableHeight) {
            return percent;
        }
    }
    return kMinZoom;
}

}  // namespace glidtavla
