#include "imaging/codecs/bmpcodec.h"

#include "imaging/codecs/byteorder.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/sizecheck.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tessaly {

namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

// One byte of run-length data stands for at most this many pixels in a
// real file (a run of 255 pixels takes two bytes; an end of line skips the
// rest of its row).
constexpr std::int64_t kRlePixelsPerByte = 2048;

// Walks run-length data as Qt's reader will: it must reach its end of
// bitmap (or fill every row) before the file ends. Data cut short would
// otherwise give a picture with its missing part blank.
void checkRunLengths(const QByteArray& bytes, std::int64_t at, std::int64_t height, bool fourBit)
{
    const std::int64_t size = bytes.size();
    std::int64_t y = 0;
    const auto next = [&]() -> std::uint32_t {
        if (at >= size)
            throw CodecError("BMP file is cut short in its run-length data");
        return std::uint8_t(bytes[qsizetype(at++)]);
    };
    while (y < height) {
        const std::uint32_t count = next();
        const std::uint32_t value = next();
        if (count > 0)
            continue;      // a run
        if (value == 0) {  // end of line
            ++y;
        } else if (value == 1) {  // end of bitmap
            return;
        } else if (value == 2) {  // jump
            next();
            y += next();
        } else {  // literal pixels, padded to a 16-bit boundary
            const std::int64_t bytesUsed = fourBit ? (value + 1) / 2 : value;
            at += bytesUsed + (bytesUsed & 1);
            if (at > size)
                throw CodecError("BMP file is cut short in its run-length data");
        }
    }
}

// What the headers of a BMP file say about its pixel data, checked against
// the file before Qt's reader sees it.
struct BmpLayout {
    int width = 0;
    int height = 0;  // rows, whatever the direction
    int bits = 0;
    std::uint32_t compression = kRgb;
    QImage::Format format = QImage::Format_Invalid;  // what Qt's reader makes of it
};

BmpLayout checkedLayout(const QByteArray& bytes)
{
    const qsizetype size = bytes.size();
    if (size < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        throw CodecError("not a BMP file");
    const std::int64_t offBits = le32(bytes, 10);
    const std::int64_t headerSize = le32(bytes, 14);
    if (headerSize < 12 || 14 + headerSize > size)
        throw CodecError("BMP file is cut short in its header");
    BmpLayout layout;
    std::int64_t width = 0, height = 0, colours = 0;
    if (headerSize == 12) {
        width = le16(bytes, 18);
        height = le16(bytes, 20);
        layout.bits = int(le16(bytes, 24));
    } else {
        if (headerSize < 40)
            throw CodecError("BMP file has an unknown header");
        width = std::int32_t(le32(bytes, 18));
        height = std::int32_t(le32(bytes, 22));
        layout.bits = int(le16(bytes, 28));
        layout.compression = le32(bytes, 30);
        colours = le32(bytes, 46);
    }
    height = height < 0 ? -height : height;
    const int bits = layout.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw CodecError("BMP file has an unknown pixel depth");
    const std::uint32_t compression = layout.compression;
    const bool rle = compression == kRle8 || compression == kRle4;
    if (!(compression == kRgb || (compression == kRle8 && bits == 8) || (compression == kRle4 && bits == 4) ||
          ((compression == kBitFields || compression == kAlphaBitFields) && (bits == 16 || bits == 32))))
        throw CodecError("BMP file uses a compression this program does not read");

    // The colour table (or the colour masks after a 40-byte header) lies
    // between the header and the pixels; Qt reads the pixels from the
    // offset the file header gives, or straight after the table when that
    // offset points back into it.
    std::int64_t tableBytes = 0;
    if (bits <= 8) {
        const std::int64_t count = colours ? colours : (std::int64_t(1) << bits);
        if (count > 256)
            throw CodecError("BMP file has a damaged colour table");
        tableBytes = count * (headerSize == 12 ? 3 : 4);
    } else if (headerSize == 40 && compression == kBitFields) {
        tableBytes = 12;
    } else if (headerSize == 40 && compression == kAlphaBitFields) {
        tableBytes = 16;
    }
    const std::int64_t tableEnd = 14 + headerSize + tableBytes;
    const std::int64_t pixelsAt = std::max(offBits, tableEnd);
    if (tableEnd > size || pixelsAt >= size)
        throw CodecError("BMP file is cut short before its pixels");
    const std::int64_t dataBytes = size - pixelsAt;

    if (rle) {
        checkClaimedSize(width, height, dataBytes, kRlePixelsPerByte, "BMP");
        checkRunLengths(bytes, pixelsAt, height, compression == kRle4);
    } else {
        checkClaimedSize(width, height, dataBytes, 1024, "BMP");
        // Uncompressed rows are padded to four bytes; every row must be there.
        const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
        if (rowBytes * height > dataBytes)
            throw CodecError("BMP file is cut short: it holds fewer pixel rows than its header claims");
    }
    layout.width = int(width);
    layout.height = int(height);
    if (bits <= 1)
        layout.format = QImage::Format_Mono;
    else if (bits <= 8)
        layout.format = QImage::Format_Indexed8;
    return layout;
}

// The colour channels of a 32-bit or any other picture, alpha ignored.
Bitmap colourChannelsOf(const QImage& image)
{
    const bool direct = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QImage rgb = direct ? image : image.convertToFormat(QImage::Format_RGB32);
    Bitmap bitmap(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < rgb.width(); ++x) {
            out[x * 3] = std::uint8_t(qBlue(in[x]));
            out[x * 3 + 1] = std::uint8_t(qGreen(in[x]));
            out[x * 3 + 2] = std::uint8_t(qRed(in[x]));
        }
    }
    return bitmap;
}

}  // namespace

Bitmap bitmapFromImage(const QImage& image)
{
    // Transparent parts of a drawing show the white they stand on.
    if (image.hasAlphaChannel()) {
        QImage onWhite(image.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter(&onWhite).drawImage(0, 0, image);
        return colourChannelsOf(onWhite);
    }
    return colourChannelsOf(image);
}

QImage imageFromBitmap(const Bitmap& bitmap)
{
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* in = bitmap.row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x)
            out[x] = qRgb(in[x * 3 + 2], in[x * 3 + 1], in[x * 3]);
    }
    return image;
}

void readBmpSize(const QByteArray& bytes, int& width, int& height)
{
    const BmpLayout layout = checkedLayout(bytes);
    width = layout.width;
    height = layout.height;
}

Bitmap decodeBmp(const QByteArray& bytes)
{
    const BmpLayout layout = checkedLayout(bytes);
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // The layout check above bounds the size by the file; Qt's own limit
    // (128 MB) would refuse large real pictures.
    reader.setAllocationLimit(0);
    // Qt's reader draws into a picture it is given when the size and
    // format match. Run-length data may leave pixels undrawn (its jumps and
    // line ends skip them), so the picture starts cleared to colour 0: no
    // memory the program did not fill ever reaches the output.
    QImage image;
    const uchar* prepared = nullptr;
    if (layout.format != QImage::Format_Invalid) {
        image = QImage(layout.width, layout.height, layout.format);
        if (image.isNull())
            throw CodecError("not enough memory for the BMP picture");
        image.fill(0);
        prepared = image.constBits();
    }
    if (!reader.read(&image) || image.isNull())
        throw CodecError(reader.errorString());
    const bool rle = layout.compression == kRle8 || layout.compression == kRle4;
    if (rle && image.constBits() != prepared)
        throw CodecError("BMP run-length data could not be read into a cleared picture");
    if (image.width() != layout.width || image.height() != layout.height)
        throw CodecError("BMP picture does not have the size its header claims");
    // A bitmap is copied, not blended: the colour channels count, an alpha
    // channel (often all zero) does not.
    return colourChannelsOf(image);
}

QByteArray encodeBmp(const Bitmap& bitmap)
{
    if (bitmap.isEmpty())
        throw CodecError("cannot write an empty picture as BMP");
    if ((bitmap.rowBytes() + 3) / 4 * 4 * std::size_t(bitmap.height()) + 54 > 0x7fffffffu)
        throw CodecError("picture too large for a BMP file");
    QImage image = imageFromBitmap(bitmap);
    image.setDotsPerMeterX(3780);  // 96 dots per inch
    image.setDotsPerMeterY(3780);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        throw CodecError(writer.errorString());
    return out;
}

}  // namespace tessaly
