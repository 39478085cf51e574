#include "imaging/resample.h"

#include "imaging/picture.h"

#include <cmath>
#include <cstring>

namespace tessaly {

namespace {

void checkTargetSize(int width, int height)
{
    if (width < 0 || height < 0)
        throw ResizeError("a thumbnail cannot have a negative size");
}

}  // namespace

Bitmap stretchNearest(const Bitmap& source, int width, int height)
{
    if (source.width() == width && source.height() == height)
        return source;
    Bitmap target(width, height);
    if (source.isEmpty())
        return target;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = source.row(int(std::int64_t(y) * source.height() / height));
        std::uint8_t* out = target.row(y);
        for (int x = 0; x < width; ++x)
            std::memcpy(out + std::size_t(x) * 3, in + std::int64_t(x) * source.width() / width * 3, 3);
    }
    return target;
}

void FastResize(Bitmap& workBitmap, const Picture& picture, int width, int height)
{
    checkTargetSize(width, height);
    workBitmap = picture.render(width, height);
}

void QualityResize(Bitmap& workBitmap, Bitmap& resampleBitmap, int width, int height)
{
    checkTargetSize(width, height);
    const Bitmap& source = workBitmap;
    const int sw = source.width();
    const int sh = source.height();
    if (sw <= 1 || sh <= 1)
        throw ResizeError("a picture one pixel wide or high cannot be resampled");

    resampleBitmap.resize(width, height);

    const float kx = float((long double)width / (sw - 1));
    const float ky = float((long double)height / (sh - 1));
    for (int y = 0; y < height; ++y) {
        const float fy = float((long double)y / ky);
        const int iy = int(fy);
        const float dy = float((long double)fy - iy);
        const float wy[2] = {float(1.0L - dy), dy};
        std::uint8_t* out = resampleBitmap.row(y);
        for (int x = 0; x < width; ++x) {
            const float fx = float((long double)x / kx);
            const int ix = int(fx);
            const float dx = float((long double)fx - ix);
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
    DrawToBitmap(workBitmap, resampleBitmap);
}

}  // namespace tessaly
