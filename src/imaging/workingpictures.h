#pragma once

#include "imaging/bitmap.h"

namespace tessaly {

// The pictures the main window makes once and lends to every run: the
// bitmap each picture passes through between loading and encoding, and the
// target of the quality resampler.
struct WorkingPictures {
    Bitmap workBitmap;
    Bitmap resampleBitmap;
};

}  // namespace tessaly
