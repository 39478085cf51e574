#include "imaging/jpegthumbnail.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/jpegrows.h"
#include "imaging/resamplekernel.h"

#include <stdexcept>

namespace tessaly {

void JpegThumbnailer::makeThumbnail(const QByteArray& bytes, int sourceWidth, int sourceHeight,
                                    int width, int height, bool quality, Bitmap& target)
{
    if (width < 1 || height < 1 || (quality && (sourceWidth < 2 || sourceHeight < 2)))
        throw std::invalid_argument("a thumbnail size the row decoder does not make");
    // The limits decodeJpeg puts on a picture: one it refuses is refused
    // here too, although its rows alone would fit.
    if (sourceWidth <= 0 || sourceHeight <= 0 || sourceWidth > 65535 || sourceHeight > 65535 ||
        std::size_t(sourceWidth) * std::size_t(sourceHeight) > Bitmap::kMaxPixels)
        throw CodecError("JPEG picture has an unusable size");

    m_rows.reset(sourceWidth, sourceHeight,
                 quality ? kernel::bilinearRows(sourceHeight, height)
                         : kernel::nearestRows(sourceHeight, height));
    decodeJpegRows(bytes, m_rows);
    target.resize(width, height);
    if (quality)
        kernel::resampleBilinear(m_rows, sourceWidth, sourceHeight, target);
    else
        kernel::stretchNearest(m_rows, sourceWidth, sourceHeight, target);
}

}  // namespace tessaly
