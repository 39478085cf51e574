#pragma once

#include "imaging/bitmap.h"
#include "support/printers.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <vector>

struct jpeg_compress_struct;

namespace tessaly::testing {

using Rgb = std::array<int, 3>;

// The red, green, blue of one pixel.
Rgb pixelAt(const Bitmap& bitmap, int x, int y);
void setPixel(Bitmap& bitmap, int x, int y, Rgb rgb);

// A bitmap of `width` by `height` filled by `colour(x, y)`.
template <typename F>
Bitmap makeBitmap(int width, int height, F colour)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            setPixel(bitmap, x, y, colour(x, y));
    return bitmap;
}

QByteArray readTestFile(const QString& name);
QString testDataPath(const QString& name);

// A GIF written with giflib, with the features a reader must handle.
struct GifRecipe {
    int screenWidth = 4, screenHeight = 4;
    int left = 0, top = 0, width = 4, height = 4;
    std::vector<std::uint8_t> pixels;  // width * height indices, rows top first
    std::vector<Rgb> globalColours;    // empty: no global map
    std::vector<Rgb> localColours;     // empty: no local map
    int transparent = -1;
    bool interlaced = false;
    int frames = 1;  // the image written this many times, each after a graphics control block
};
QByteArray makeGif(const GifRecipe& recipe);

// A JPEG written directly with libjpeg, row by row: `colourSpace` is the
// libjpeg input colour space of `components` samples a pixel, `configure`
// changes the settings after the defaults (quality, sampling, progression),
// `fillRow` writes the samples of row y.
QByteArray compressJpeg(int width, int height, int components, int colourSpace,
                        const std::function<void(jpeg_compress_struct&)>& configure,
                        const std::function<void(int y, unsigned char* row)>& fillRow);
// A JPEG written directly with libjpeg (greyscale when `grey`).
QByteArray makeJpeg(const Bitmap& bitmap, bool grey, int quality = 95);

// The process's peak resident memory in megabytes since the last
// resetPeakMemory() (Linux; 0 where it cannot be read).
void resetPeakMemory();
long peakMemoryMegabytes();

// A baseline little-endian TIFF, uncompressed RGB, one strip a page, with
// a page per bitmap (Qt's writer makes single pages only). `claimed`, when
// valid, replaces the first page's width and height in its directory.
QByteArray tiffPages(const std::vector<Bitmap>& pages, QSize claimed = {});

}  // namespace tessaly::testing
