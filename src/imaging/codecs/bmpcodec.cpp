#include "imaging/codecs/bmpcodec.h"

#include "imaging/codecs/codecerror.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cstdlib>
#include <cstring>

namespace tessaly {

Bitmap bitmapFromImage(const QImage& image)
{
    // Transparent parts of a picture show the white they stand on.
    QImage rgb = image;
    if (rgb.hasAlphaChannel()) {
        QImage onWhite(rgb.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter(&onWhite).drawImage(0, 0, rgb);
        rgb = onWhite;
    }
    rgb = rgb.convertToFormat(QImage::Format_RGB888);
    Bitmap bitmap(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* in = rgb.constScanLine(y);
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < rgb.width(); ++x) {
            out[x * 3] = in[x * 3 + 2];
            out[x * 3 + 1] = in[x * 3 + 1];
            out[x * 3 + 2] = in[x * 3];
        }
    }
    return bitmap;
}

QImage imageFromBitmap(const Bitmap& bitmap)
{
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* in = bitmap.row(y);
        uchar* out = image.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            out[x * 3] = in[x * 3 + 2];
            out[x * 3 + 1] = in[x * 3 + 1];
            out[x * 3 + 2] = in[x * 3];
        }
    }
    return image;
}

Bitmap decodeBmp(const QByteArray& bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // Qt refuses pictures over 128 MB by default; ours may be as large as
    // the bitmap limit at four bytes a pixel.
    reader.setAllocationLimit(int(Bitmap::kMaxPixels * 4 / (1024 * 1024)) + 1);
    // Qt reports a top-down picture with a negative height.
    const QSize size = reader.size();
    const int width = size.width(), height = std::abs(size.height());
    if (width <= 0 || height <= 0 || std::size_t(width) * std::size_t(height) > Bitmap::kMaxPixels)
        throw CodecError("not a BMP picture of a usable size");
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw CodecError(reader.errorString().toStdString());
    return bitmapFromImage(image);
}

QByteArray encodeBmp(const Bitmap& bitmap)
{
    const std::size_t rowSize = (bitmap.rowBytes() + 3) & ~std::size_t(3);
    const std::size_t imageSize = rowSize * std::size_t(bitmap.height());
    const std::size_t fileSize = 14 + 40 + imageSize;
    if (fileSize > 0x7fffffffu)
        throw CodecError("picture too large for a BMP file");
    QByteArray out(qsizetype(fileSize), '\0');
    auto put16 = [&](std::size_t at, std::uint32_t value) {
        out[qsizetype(at)] = char(value & 0xff);
        out[qsizetype(at + 1)] = char((value >> 8) & 0xff);
    };
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        put16(at, value & 0xffff);
        put16(at + 2, value >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, std::uint32_t(fileSize));
    put32(10, 14 + 40);
    put32(14, 40);
    put32(18, std::uint32_t(bitmap.width()));
    put32(22, std::uint32_t(bitmap.height()));
    put16(26, 1);
    put16(28, 24);
    put32(30, 0);  // no compression
    put32(34, std::uint32_t(imageSize));
    put32(38, 3780);  // 96 dots per inch in dots per metre
    put32(42, 3780);
    for (int y = 0; y < bitmap.height(); ++y) {
        // Rows are stored bottom row first.
        char* target = out.data() + 54 + rowSize * std::size_t(bitmap.height() - 1 - y);
        std::memcpy(target, bitmap.row(y), bitmap.rowBytes());
    }
    return out;
}

}  // namespace tessaly
