#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/indexedimage.h"

#include <QByteArray>

namespace tessaly {

// Decodes a JPEG stream at full size with the accurate integer transform
// into 24-bit colour. Greyscale becomes grey RGB; CMYK and YCCK (as Adobe
// programs write them, inverted) are turned into RGB. Throws CodecError.
Bitmap decodeJpeg(const QByteArray& bytes);

// The width and height a JPEG stream claims, without decoding it.
void readJpegSize(const QByteArray& bytes, int& width, int& height);

// Compresses a bitmap as a baseline JFIF stream: the library's defaults with
// `quality` (1 to 100) set through baseline-forced tables, RGB input.
QByteArray encodeJpeg(const Bitmap& bitmap, int quality);

// Decodes a JPEG stream into a palette picture of at most `colors` colours,
// with the library's two-pass quantiser and Floyd-Steinberg dithering.
IndexedImage decodeJpegQuantized(const QByteArray& bytes, int colors);

}  // namespace tessaly
