// One JPEG, GIF or BMP file (by FUZZ_NAME's extension) opened and drawn as
// a run does: decoded, copied to the working bitmap and shrunk to a
// thumbnail. Every input must end in a picture or a LoadError. JPEG files
// also go through the row decoder, which must agree with the whole decode,
// and the reduced decode of the preview, which must give the reduced size.

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/jpegthumbnail.h"
#include "imaging/picture.h"
#include "imaging/resample.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#ifdef FUZZ_JPEG_ROWS
// A JPEG thumbnail made from the rows the resize reads exists only where
// the whole decode opens the file, and is the one made from the whole
// picture; the frame header found for planning is found without harm.
void checkRowThumbnail(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    (void)tessaly::peekJpegFrame(buffer);
    tessaly::Bitmap fromRows;
    try {
        int width = 0, height = 0;
        tessaly::readJpegSize(bytes, width, height);
        if (width < 2 || height < 2)
            return;
        tessaly::JpegThumbnailer thumbnailer;
        thumbnailer.makeThumbnail(bytes, width, height, 24, 16, true, fromRows);
    } catch (const tessaly::CodecError&) {
        return;
    }
    // The picture as stored, as the thumbnail was made (not turned by its
    // orientation nor converted by its colour profile, as loading does). A
    // CodecError escaping from here is a finding too.
    tessaly::Bitmap work = tessaly::decodeJpeg(bytes), scratch;
    tessaly::QualityResize(work, scratch, 24, 16);
    if (!(work == fromRows))
        __builtin_trap();
}
#endif

#ifdef FUZZ_JPEG_ROWS
void checkReducedDecode(const QByteArray& bytes)
{
    try {
        int width = 0, height = 0;
        tessaly::readJpegSize(bytes, width, height);
        const int denominator = tessaly::jpegReduction(width, height, 24, 16);
        const tessaly::Bitmap reduced = tessaly::decodeJpegReduced(bytes, 24, 16);
        if (reduced.width() != (width + denominator - 1) / denominator ||
            reduced.height() != (height + denominator - 1) / denominator)
            __builtin_trap();
    } catch (const tessaly::CodecError&) {
    }
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
#ifdef FUZZ_JPEG_ROWS
    checkRowThumbnail(bytes);
    checkReducedDecode(bytes);
#endif
    try {
        const tessaly::Picture picture = tessaly::decodePicture(bytes, QStringLiteral(FUZZ_NAME));
        tessaly::Bitmap work;
        tessaly::DrawToBitmap(work, picture);
        if (work.width() != picture.width() || work.height() != picture.height())
            __builtin_trap();
        tessaly::FastResize(work, picture, 24, 16);
    } catch (const tessaly::LoadError&) {
    }
    return 0;
}
