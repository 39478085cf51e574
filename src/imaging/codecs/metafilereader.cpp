#include "imaging/codecs/metafilecodec.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/metafilecheck.h"
#include "imaging/codecs/metafileplayer.h"
#include "imaging/codecs/sizecheck.h"
#include "imaging/resample.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace tessaly {

namespace {

constexpr std::uint32_t kEmfHeader = 1;
constexpr std::uint32_t kEmfStretchDiBits = 81;
constexpr std::uint32_t kEmfEof = 14;
constexpr std::uint16_t kWmfStretchDib = 0x0F43;
constexpr std::uint16_t kWmfDibStretchBlt = 0x0B41;

std::uint16_t read16(const QByteArray& bytes, qsizetype at)
{
    if (at < 0 || at + 2 > bytes.size())
        throw CodecError("metafile is cut short");
    return std::uint16_t(std::uint8_t(bytes[at]) | (std::uint8_t(bytes[at + 1]) << 8));
}

std::uint32_t read32(const QByteArray& bytes, qsizetype at)
{
    return read16(bytes, at) | (std::uint32_t(read16(bytes, at + 2)) << 16);
}

std::int32_t readSigned32(const QByteArray& bytes, qsizetype at)
{
    return std::int32_t(read32(bytes, at));
}

std::int16_t readSigned16(const QByteArray& bytes, qsizetype at)
{
    return std::int16_t(read16(bytes, at));
}

// The largest picture a metafile is played back at; the player process
// holds two copies of it.
constexpr std::int64_t kMaxPlaybackPixels = std::int64_t(1) << 28;

void checkSize(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767 || width * height > kMaxPlaybackPixels)
        throw CodecError("metafile has an unusable size");
}

// One byte of a metafile stands for at most this many pixels of its frame:
// a vector drawing is small for its size, but a header that claims a
// frame of hundreds of megapixels over a few records is refused rather
// than played back.
constexpr std::int64_t kMetafilePixelsPerByte = 1024;

// A device-independent bitmap (header, colours and pixels) read through the
// BMP reader by putting a file header in front of it.
Bitmap decodeDib(const QByteArray& bytes, qsizetype headerAt, qsizetype headerSize, qsizetype bitsAt,
                 qsizetype bitsSize)
{
    if (headerSize < 12 || bitsSize < 0 || headerAt < 0 || bitsAt < 0 || headerAt + headerSize > bytes.size() ||
        bitsAt + bitsSize > bytes.size())
        throw CodecError("metafile bitmap is cut short");
    QByteArray file("BM", 2);
    file.append(QByteArray(12, '\0'));
    file.append(bytes.mid(headerAt, headerSize));
    const qsizetype pixelsAt = file.size();
    file.append(bytes.mid(bitsAt, bitsSize));
    const auto total = std::uint32_t(file.size());
    for (int i = 0; i < 4; ++i) {
        file[2 + i] = char((total >> (8 * i)) & 0xff);
        file[10 + i] = char((std::uint32_t(pixelsAt) >> (8 * i)) & 0xff);
    }
    return decodeBmp(file);
}

// The one bitmap of an EMF that holds a header, one STRETCHDIBITS over the
// whole bounds and the end record, and nothing else.
std::optional<Bitmap> singleBitmapOfEmf(const QByteArray& bytes)
{
    qsizetype at = 0;
    std::optional<Bitmap> found;
    int records = 0;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t type = read32(bytes, at);
        const std::uint32_t size = read32(bytes, at + 4);
        if (size < 8 || size % 4 != 0 || at + qsizetype(size) > bytes.size())
            return std::nullopt;
        ++records;
        if (type == kEmfStretchDiBits && !found && size >= 80) {
            const qsizetype offBmi = read32(bytes, at + 48), cbBmi = read32(bytes, at + 52);
            const qsizetype offBits = read32(bytes, at + 56), cbBits = read32(bytes, at + 60);
            const std::int32_t destX = readSigned32(bytes, at + 8 + 16);
            const std::int32_t destY = readSigned32(bytes, at + 8 + 20);
            if (destX != 0 || destY != 0)
                return std::nullopt;
            found = decodeDib(bytes, at + offBmi, cbBmi, at + offBits, cbBits);
        } else if (type == kEmfEof) {
            return records == 3 ? found : std::nullopt;
        } else if (type != kEmfHeader) {
            return std::nullopt;
        }
        at += size;
    }
    return std::nullopt;
}

// The one bitmap of a WMF whose records after the header set the window
// and map mode and draw one device-independent bitmap, and nothing else.
std::optional<Bitmap> singleBitmapOfWmf(const QByteArray& bytes)
{
    qsizetype at = read32(bytes, 0) == kPlaceableKey ? 22 : 0;
    const qsizetype headerWords = read16(bytes, at + 2);
    at += headerWords * 2;
    std::optional<Bitmap> found;
    while (at + 6 <= bytes.size()) {
        const qsizetype size = qsizetype(read32(bytes, at)) * 2;
        const std::uint16_t function = read16(bytes, at + 4);
        if (size < 6 || at + size > bytes.size())
            return std::nullopt;
        if (function == 0)
            return found;
        if ((function == kWmfStretchDib || function == kWmfDibStretchBlt) && !found) {
            // STRETCHDIB: rop (4), usage (2), src h, w, y, x, dest h, w, y, x; then the DIB.
            // DIBSTRETCHBLT: rop (4), src h, w, y, x, dest h, w, y, x; then the DIB.
            const qsizetype dibAt = at + 6 + (function == kWmfStretchDib ? 22 : 20);
            if (dibAt + 40 > at + size)
                return std::nullopt;
            const qsizetype headerSize = read32(bytes, dibAt);
            const int bits = read16(bytes, dibAt + 14);
            const std::uint32_t usedColors = headerSize >= 36 ? read32(bytes, dibAt + 32) : 0;
            const qsizetype colors = bits <= 8 ? (usedColors ? usedColors : (1u << bits)) : 0;
            const std::uint32_t compression = headerSize >= 20 ? read32(bytes, dibAt + 16) : 0;
            const qsizetype masks = (compression == 3 && headerSize == 40) ? 12 : 0;
            const qsizetype bitsAt = dibAt + headerSize + masks + colors * 4;
            if (bitsAt > at + size)
                return std::nullopt;
            found = decodeDib(bytes, dibAt, bitsAt - dibAt, bitsAt, at + size - bitsAt);
        } else if (function != 0x020B && function != 0x020C && function != 0x0103 && function != 0x0104) {
            // Only SETWINDOWORG, SETWINDOWEXT, SETMAPMODE and SETROP2 may stand beside it.
            return std::nullopt;
        }
        at += size;
    }
    return std::nullopt;
}

}  // namespace

QByteArray checkedMetafile(const QByteArray& bytes, MetafileFormat format)
{
    if (format == MetafileFormat::Enhanced) {
        checkEmfRecords(bytes);
        return bytes;
    }
    return checkedWmfRecords(bytes);
}

void readMetafileSize(const QByteArray& bytes, MetafileFormat format, int& width, int& height)
{
    std::int64_t w = 0, h = 0;
    if (format == MetafileFormat::Enhanced) {
        if (bytes.size() < 88 || read32(bytes, 0) != kEmfHeader || read32(bytes, 40) != 0x464D4520u)
            throw CodecError("not an enhanced metafile");
        // The frame in hundredths of a millimetre; without one, the bounds
        // in device units (both inclusive).
        const double frameWidth = double(readSigned32(bytes, 32)) - readSigned32(bytes, 24);
        const double frameHeight = double(readSigned32(bytes, 36)) - readSigned32(bytes, 28);
        const double pixelsWide = frameWidth * kScreenDpi / 2540.0;
        const double pixelsHigh = frameHeight * kScreenDpi / 2540.0;
        if (pixelsWide >= 0.5 && pixelsHigh >= 0.5 && pixelsWide < 1e9 && pixelsHigh < 1e9) {
            w = std::llround(pixelsWide);
            h = std::llround(pixelsHigh);
        } else {
            w = std::int64_t(readSigned32(bytes, 16)) - readSigned32(bytes, 8) + 1;
            h = std::int64_t(readSigned32(bytes, 20)) - readSigned32(bytes, 12) + 1;
        }
    } else if (bytes.size() >= 22 && read32(bytes, 0) == kPlaceableKey) {
        const int inch = read16(bytes, 14);
        const int spanX = readSigned16(bytes, 10) - readSigned16(bytes, 6);
        const int spanY = readSigned16(bytes, 12) - readSigned16(bytes, 8);
        if (inch <= 0)
            throw CodecError("Windows metafile has no unit size");
        w = std::llround(std::abs(double(spanX)) * kScreenDpi / inch);
        h = std::llround(std::abs(double(spanY)) * kScreenDpi / inch);
    } else {
        // Only libwmf knows the size of a file without a placeable header;
        // it finds it in the player process.
        int playerWidth = 0, playerHeight = 0;
        readMetafileSizeInPlayer(bytes, playerWidth, playerHeight);
        w = playerWidth;
        h = playerHeight;
    }
    checkSize(w, h);
    checkClaimedSize(w, h, bytes.size(), kMetafilePixelsPerByte, "metafile");
    width = int(w);
    height = int(h);
}

Bitmap renderMetafile(const QByteArray& bytes, MetafileFormat format, int width, int height)
{
    checkSize(width, height);
    // Our own single-bitmap files are read exactly, here; anything else is
    // played back by the libraries in the player process.
    const std::optional<Bitmap> single =
        format == MetafileFormat::Enhanced ? singleBitmapOfEmf(bytes) : singleBitmapOfWmf(bytes);
    if (single)
        return stretchNearest(*single, width, height);
    return renderMetafileInPlayer(bytes, format, width, height);
}

}  // namespace tessaly
