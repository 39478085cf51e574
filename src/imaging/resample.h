#pragma once

#include "imaging/bitmap.h"

#include "platform/error.h"

namespace tessaly {

class Picture;

// A resize that cannot be done (an empty source for the quality method, a
// negative size).
class ResizeError : public Error {
public:
    explicit ResizeError(const char* message) : Error(QString::fromUtf8(message)) {}
};

// A `width` by `height` copy of `source` in which every target pixel takes
// one source pixel: rows and columns are dropped or repeated, nothing is
// averaged. An empty source gives a black target.
Bitmap stretchNearest(const Bitmap& source, int width, int height);

// Leaves a `width` by `height` drawing of the picture in `workBitmap`: every
// target pixel copies one source pixel; metafiles are played back at that
// size, GIFs and metafiles on white.
void FastResize(Bitmap& workBitmap, const Picture& picture, int width, int height);

// Resamples the picture in `workBitmap` bilinearly to `width` by `height`,
// with `resampleBitmap` as the target, and leaves the result in
// `workBitmap`. The arithmetic is fixed to the last bit: scale factors and
// weights stored as 32-bit floats, products and sums in extended precision
// stored back as 32-bit floats, source indices truncated, channels rounded
// to nearest with ties to even. A picture one pixel wide or high (whose
// scale along that side would divide by zero) is blended along its other
// side and stretched along that one.
void QualityResize(Bitmap& workBitmap, Bitmap& resampleBitmap, int width, int height);

}  // namespace tessaly
