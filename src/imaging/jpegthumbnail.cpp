#include "imaging/jpegthumbnail.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/photo/orientation.h"
#include "imaging/resamplekernel.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tessaly {

namespace {

// About the most pixels a byte of a real JPEG file stands for: a flat
// progressive picture spends a few bits on every 8 by 8 block.
constexpr std::size_t kMostPixelsPerByte = 1024;

struct Point {
    int x;
    int y;
};

// Where pixel (x, y) of the upright picture is in the stored `w` by `h`
// picture, for the Exif orientations as turnedUpright reads them.
Point storedPoint(int orientation, int w, int h, int x, int y)
{
    switch (orientation) {
    case 2: return {w - 1 - x, y};
    case 3: return {w - 1 - x, h - 1 - y};
    case 4: return {x, h - 1 - y};
    case 5: return {y, x};
    case 6: return {y, h - 1 - x};
    case 7: return {w - 1 - y, h - 1 - x};
    case 8: return {w - 1 - y, x};
    }
    return {x, y};
}

// The source lines (rows, or columns: the loops treat both sides alike)
// a resize to `target` pixels reads of `source` pixels.
std::vector<int> linesRead(int source, int target, bool quality)
{
    return quality ? kernel::bilinearRows(source, target) : kernel::nearestRows(source, target);
}

}  // namespace

void JpegThumbnailer::makeThumbnail(const QByteArray& bytes, int sourceWidth, int sourceHeight, int width, int height,
                                    bool quality, Bitmap& target, int orientation)
{
    if (width < 1 || height < 1 || (quality && (sourceWidth < 2 || sourceHeight < 2)))
        throw std::invalid_argument("a thumbnail size the row decoder does not make");
    // A picture decodeJpeg might refuse is refused here too (and left to
    // it), although its rows alone would fit: sizes past its limits, and
    // headers claiming more pixels than real data of that length holds.
    const std::size_t pixels = std::size_t(std::max(sourceWidth, 0)) * std::size_t(std::max(sourceHeight, 0));
    if (sourceWidth <= 0 || sourceHeight <= 0 || sourceWidth > 65535 || sourceHeight > 65535 ||
        pixels > Bitmap::kMaxPixels || pixels / kMostPixelsPerByte > std::size_t(bytes.size()))
        throw CodecError("JPEG picture has an unusable size");

    if (orientation < 2 || orientation > 8) {
        m_rows.reset(sourceWidth, sourceHeight, linesRead(sourceHeight, height, quality));
        decodeJpegRows(bytes, m_rows);
        target.resize(width, height);
        if (quality)
            kernel::resampleBilinear(m_rows, sourceWidth, sourceHeight, target);
        else
            kernel::stretchNearest(m_rows, sourceWidth, sourceHeight, target);
        return;
    }

    // The upright picture's rows and columns the resize reads, and the
    // stored rows they lie on: the upright rows' own when the picture is
    // mirrored or turned half round, the upright columns' when a quarter
    // turn swaps the sides.
    const int uprightWidth = swapsSides(orientation) ? sourceHeight : sourceWidth;
    const int uprightHeight = swapsSides(orientation) ? sourceWidth : sourceHeight;
    const std::vector<int> rows = linesRead(uprightHeight, height, quality);
    const std::vector<int> columns = linesRead(uprightWidth, width, quality);
    std::vector<int> stored;
    if (swapsSides(orientation))
        for (const int x : columns)
            stored.push_back(storedPoint(orientation, sourceWidth, sourceHeight, x, 0).y);
    else
        for (const int y : rows)
            stored.push_back(storedPoint(orientation, sourceWidth, sourceHeight, 0, y).y);
    std::sort(stored.begin(), stored.end());

    m_rows.reset(sourceWidth, sourceHeight, stored);
    decodeJpegRows(bytes, m_rows);
    // Only the pixels the resize reads are set; the others of these rows
    // are never read.
    m_upright.reset(uprightWidth, uprightHeight, rows);
    for (const int y : rows) {
        std::uint8_t* out = m_upright.row(y);
        for (const int x : columns) {
            const Point from = storedPoint(orientation, sourceWidth, sourceHeight, x, y);
            std::memcpy(out + std::size_t(x) * 3, m_rows.row(from.y) + std::size_t(from.x) * 3, 3);
        }
    }
    target.resize(width, height);
    if (quality)
        kernel::resampleBilinear(m_upright, uprightWidth, uprightHeight, target);
    else
        kernel::stretchNearest(m_upright, uprightWidth, uprightHeight, target);
}

}  // namespace tessaly
