#pragma once

#include "imaging/bitmap.h"
#include "imaging/encoders.h"

namespace tessaly {

// The pictures the main window makes once and lends to every run: the
// bitmap each picture passes through between loading and encoding, the
// target of the quality resampler, and the three encoder objects.
struct WorkingPictures {
    Bitmap WorkBitmap;
    Bitmap ResampleBitmap;
    JpegOutput OutputJpeg;
    GifOutput OutputGif;
    MetafileOutput OutputMetafile;
};

}  // namespace tessaly
