#include "imaging/photo/orientation.h"

#include <cstddef>

namespace tessaly {

Bitmap turnedUpright(Bitmap stored, int orientation)
{
    if (orientation < 2 || orientation > 8 || stored.isEmpty())
        return stored;
    const std::ptrdiff_t w = stored.width(), h = stored.height();
    // Upright pixel (x, y) is stored pixel `first + x * across + y * down`,
    // in pixels counted from the stored picture's first one.
    std::ptrdiff_t first = 0, across = 1, down = w;
    switch (orientation) {
    case 2: first = w - 1, across = -1, down = w; break;
    case 3: first = (h - 1) * w + w - 1, across = -1, down = -w; break;
    case 4: first = (h - 1) * w, across = 1, down = -w; break;
    case 5: first = 0, across = w, down = 1; break;
    case 6: first = (h - 1) * w, across = -w, down = 1; break;
    case 7: first = (h - 1) * w + w - 1, across = -w, down = -1; break;
    case 8: first = w - 1, across = w, down = -1; break;
    }
    Bitmap upright(swapsSides(orientation) ? int(h) : int(w), swapsSides(orientation) ? int(w) : int(h));
    const std::uint8_t* source = stored.row(0);
    for (int y = 0; y < upright.height(); ++y) {
        std::uint8_t* target = upright.row(y);
        std::ptrdiff_t at = first + y * down;
        for (int x = 0; x < upright.width(); ++x, at += across, target += 3) {
            const std::uint8_t* pixel = source + at * 3;
            target[0] = pixel[0];
            target[1] = pixel[1];
            target[2] = pixel[2];
        }
    }
    return upright;
}

}  // namespace tessaly
