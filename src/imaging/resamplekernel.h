#pragma once

// The two resize loops, over any source that hands out rows by number, so
// that a picture held whole and one of which only the rows a resize reads
// were decoded go through the very same arithmetic. A source is anything
// with `const std::uint8_t* row(int y) const` giving packed blue, green,
// red pixels.

#include "imaging/bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tessaly::kernel {

// The bilinear scale of one side: target pixels per source step, stored as
// a 32-bit float.
inline float bilinearScale(int target, int source)
{
    return float((long double)target / (source - 1));
}

// Where target index `t` samples the source: the position stored as a
// 32-bit float, the truncated index and the stored fraction.
struct BilinearPosition {
    int index;
    float fraction;
};

inline BilinearPosition bilinearPosition(int t, float scale)
{
    const float f = float((long double)t / scale);
    const int index = int(f);
    return {index, float((long double)f - index)};
}

// The source rows the bilinear loop reads for a `targetHeight` high result
// from `sourceHeight` rows, ascending and without repeats.
inline std::vector<int> bilinearRows(int sourceHeight, int targetHeight)
{
    std::vector<int> rows;
    const float ky = bilinearScale(targetHeight, sourceHeight);
    for (int y = 0; y < targetHeight; ++y) {
        const int iy = bilinearPosition(y, ky).index;
        rows.push_back(std::min(iy, sourceHeight - 1));
        rows.push_back(std::min(iy + 1, sourceHeight - 1));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// Where target index `t` samples a side of `source` pixels with the scale
// `scale`. A side of one pixel has no neighbour to blend with (its scale
// would divide by zero): every target index takes that pixel whole.
inline BilinearPosition bilinearPositionOnSide(int t, float scale, int source)
{
    return source > 1 ? bilinearPosition(t, scale) : BilinearPosition{0, 0.0f};
}

// Bilinear resampling of a `sw` by `sh` source (at least 1 by 1) into
// `target`, already sized. Scale factors and weights are 32-bit floats,
// products and sums in extended precision stored back as 32-bit floats,
// source indices truncated, channels rounded to nearest with ties to even.
// A side of one pixel is only stretched: the picture is blended along the
// other side alone.
template <typename Source>
void resampleBilinear(const Source& source, int sw, int sh, Bitmap& target)
{
    const int width = target.width();
    const int height = target.height();
    const float kx = sw > 1 ? bilinearScale(width, sw) : 0.0f;
    const float ky = sh > 1 ? bilinearScale(height, sh) : 0.0f;
    for (int y = 0; y < height; ++y) {
        const BilinearPosition py = bilinearPositionOnSide(y, ky, sh);
        const int iy = py.index;
        const float dy = py.fraction;
        const float wy[2] = {float(1.0L - dy), dy};
        std::uint8_t* out = target.row(y);
        for (int x = 0; x < width; ++x) {
            const BilinearPosition px = bilinearPositionOnSide(x, kx, sw);
            const int ix = px.index;
            const float dx = px.fraction;
            const float wx[2] = {float(1.0L - dx), dx};
            float red = 0, green = 0, blue = 0;
            for (int i = 0; i < 2; ++i) {
                // The sample point stays below the last column and row; the
                // clamp only guards against float rounding at huge scales.
                const int column = std::min(ix + i, sw - 1);
                for (int j = 0; j < 2; ++j) {
                    const std::uint8_t* pixel = source.row(std::min(iy + j, sh - 1)) + column * 3;
                    const float weight = float((long double)wx[i] * wy[j]);
                    red = float(red + (long double)pixel[2] * weight);
                    green = float(green + (long double)pixel[1] * weight);
                    blue = float(blue + (long double)pixel[0] * weight);
                }
            }
            out[x * 3] = std::uint8_t(std::llrint(blue));
            out[x * 3 + 1] = std::uint8_t(std::llrint(green));
            out[x * 3 + 2] = std::uint8_t(std::llrint(red));
        }
    }
}

// The source row the nearest-pixel loop copies for target row `y`.
inline int nearestRow(int y, int sourceHeight, int targetHeight)
{
    return int(std::int64_t(y) * sourceHeight / targetHeight);
}

// The source rows the nearest-pixel loop reads, ascending, no repeats.
inline std::vector<int> nearestRows(int sourceHeight, int targetHeight)
{
    std::vector<int> rows;
    for (int y = 0; y < targetHeight; ++y)
        rows.push_back(nearestRow(y, sourceHeight, targetHeight));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// Every target pixel copies one source pixel: rows and columns are dropped
// or repeated, nothing is averaged. `target` is already sized and not empty.
template <typename Source>
void stretchNearest(const Source& source, int sw, int sh, Bitmap& target)
{
    const int width = target.width();
    const int height = target.height();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = source.row(nearestRow(y, sh, height));
        std::uint8_t* out = target.row(y);
        for (int x = 0; x < width; ++x)
            std::memcpy(out + std::size_t(x) * 3, in + std::int64_t(x) * sw / width * 3, 3);
    }
}

}  // namespace tessaly::kernel
