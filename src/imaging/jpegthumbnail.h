#pragma once

#include "imaging/bitmap.h"
#include "imaging/sourcerows.h"

#include <QByteArray>

namespace tessaly {

// Makes thumbnails of JPEG streams from only the rows the resize reads: a
// 96-row thumbnail of a 3000-row photo decodes about 190 rows (the quality
// method reads two neighbouring rows per target row, the fast method one)
// and never holds the whole picture. The result is byte for byte what
// FastResize or QualityResize make of the fully decoded picture. The row
// buffers are kept from one thumbnail to the next.
//
// A photo whose camera orientation asks for a turn is made the same way:
// the resize of the upright picture reads some of its rows and some of its
// columns, which are rows and columns of the stored picture too (a turn by
// a quarter swaps them), so only the stored rows behind them are decoded,
// and of the upright picture only the pixels the resize reads are put
// together. The result is byte for byte that of the whole decode, turned
// upright, then resized; no full-size or turned copy is made.
class JpegThumbnailer {
public:
    // Leaves the `width` by `height` thumbnail of `bytes`, a picture stored
    // `sourceWidth` by `sourceHeight` (as readJpegSize says), in `target`,
    // turned upright as the Exif `orientation` (1 to 8) says: `width` and
    // `height` are those of the upright thumbnail. `quality` chooses the
    // bilinear method, otherwise one source pixel per pixel. Only for what
    // both methods can do: a size of at least 1 by 1, and for the quality
    // method a source at least 2 by 2. Throws CodecError when the stream is
    // damaged or too large for decodeJpeg: a caller then decodes it whole,
    // which decides whether it opens.
    void makeThumbnail(const QByteArray& bytes, int sourceWidth, int sourceHeight, int width, int height, bool quality,
                       Bitmap& target, int orientation = 1);

private:
    SourceRows m_rows;
    SourceRows m_upright;  // the pixels of the upright picture the resize reads
};

}  // namespace tessaly
