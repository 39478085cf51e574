#include "imaging/resample.h"

#include "imaging/picture.h"
#include "imaging/resamplekernel.h"

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
    if (source.isEmpty() || target.isEmpty())
        return target;
    kernel::stretchNearest(source, source.width(), source.height(), target);
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
    if (sw < 1 || sh < 1)
        throw ResizeError("an empty picture cannot be resampled");

    resampleBitmap.resize(width, height);
    if (!resampleBitmap.isEmpty())
        kernel::resampleBilinear(source, sw, sh, resampleBitmap);
    DrawToBitmap(workBitmap, resampleBitmap);
}

}  // namespace tessaly
