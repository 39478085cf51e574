#include "imaging/rotation.h"

#include <cstring>

namespace tessaly {

Bitmap rotateClockwise(const Bitmap& source)
{
    const int w = source.width(), h = source.height();
    Bitmap turned(h, w);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = source.row(y);
        for (int x = 0; x < w; ++x)
            std::memcpy(turned.row(x) + (h - 1 - y) * 3, in + x * 3, 3);
    }
    return turned;
}

Bitmap rotateCounterClockwise(const Bitmap& source)
{
    const int w = source.width(), h = source.height();
    Bitmap turned(h, w);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = source.row(y);
        for (int x = 0; x < w; ++x)
            std::memcpy(turned.row(w - 1 - x) + y * 3, in + x * 3, 3);
    }
    return turned;
}

}  // namespace tessaly
