#pragma once

#include "imaging/bitmap.h"

namespace tessaly {

// The picture a camera meant: `stored` turned and mirrored as the Exif
// orientation says (1 upright, 2 mirrored left to right, 3 turned half
// round, 4 mirrored top to bottom, 5 mirrored across the main diagonal,
// 6 to be turned a quarter clockwise, 7 mirrored across the other
// diagonal, 8 to be turned a quarter counter-clockwise). Orientations 5 to 8
// swap width and height. Any other number leaves the picture as it is.
Bitmap turnedUpright(Bitmap stored, int orientation);

// Whether turning upright swaps the picture's width and height.
inline bool swapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

}  // namespace tessaly
