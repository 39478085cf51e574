#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/indexedimage.h"

#include <QByteArray>

namespace tessaly {

// The first picture of a GIF file on its logical screen: screen-sized, the
// first image painted at its position with its own or the global colour
// map, transparent and undrawn pixels white. Interlaced images are put back
// in row order. `morePictures`, when given, tells whether further images
// (an animation's frames) follow the first. Throws CodecError.
Bitmap decodeGif(const QByteArray& bytes, bool* morePictures = nullptr);

// The logical screen's width and height (the size decodeGif gives),
// checked as decodeGif checks them, without decoding. Throws CodecError.
void readGifSize(const QByteArray& bytes, int& width, int& height);

// Keeps only the palette entries that pixels use, in order of first use
// from the top-left pixel, and remaps the pixels to them.
void optimizeColorMap(IndexedImage& image);

// A single-image GIF file of the palette picture (the palette padded to a
// power of two as the format needs).
QByteArray gifFileBytes(const IndexedImage& image);

}  // namespace tessaly
