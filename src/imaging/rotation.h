#pragma once

#include "imaging/bitmap.h"

namespace tessaly {

// A quarter turn clockwise: the pixel at (x, y) goes to (H - 1 - y, x); the
// top-left corner becomes the top-right one.
Bitmap rotateClockwise(const Bitmap& source);

// A quarter turn counter-clockwise: (x, y) goes to (y, W - 1 - x); the
// top-left corner becomes the bottom-left one.
Bitmap rotateCounterClockwise(const Bitmap& source);

}  // namespace tessaly
