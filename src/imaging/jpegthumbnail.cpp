#include "imaging/jpegthumbnail.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/resamplekernel.h"

#include <algorithm>
#include <stdexcept>

namespace tessaly {

namespace {

// About the most pixels a byte of a real JPEG file stands for: a flat
// progressive picture spends a few bits on every 8 by 8 block.
constexpr std::size_t kMostPixelsPerByte = 1024;

}  // namespace

void JpegThumbnailer::makeThumbnail(const QByteArray& bytes, int sourceWidth, int sourceHeight, int width, int height,
                                    bool quality, Bitmap& target)
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

    m_rows.reset(sourceWidth, sourceHeight,
                 quality ? kernel::bilinearRows(sourceHeight, height) : kernel::nearestRows(sourceHeight, height));
    decodeJpegRows(bytes, m_rows);
    target.resize(width, height);
    if (quality)
        kernel::resampleBilinear(m_rows, sourceWidth, sourceHeight, target);
    else
        kernel::stretchNearest(m_rows, sourceWidth, sourceHeight, target);
}

}  // namespace tessaly
