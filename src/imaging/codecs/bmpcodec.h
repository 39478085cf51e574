#pragma once

#include "imaging/bitmap.h"

#include <QByteArray>

class QImage;

namespace tessaly {

// Reads every common BMP variant (1, 4, 8, 16, 24 and 32 bits, RLE4, RLE8,
// bit fields, bottom-up and top-down) into a 24-bit bitmap. Throws
// CodecError.
Bitmap decodeBmp(const QByteArray& bytes);

// The width and height decodeBmp gives, from the headers checked against
// the file as decodeBmp checks them, without decoding. Throws CodecError.
void readBmpSize(const QByteArray& bytes, int& width, int& height);

// A 24-bit bottom-up BMP file of the bitmap, at 96 dots per inch.
QByteArray encodeBmp(const Bitmap& bitmap);

// Converts between our bitmaps and Qt's pictures (for display and for the
// readers that Qt provides).

Bitmap bitmapFromImage(const QImage& image);
QImage imageFromBitmap(const Bitmap& bitmap);

}  // namespace tessaly
