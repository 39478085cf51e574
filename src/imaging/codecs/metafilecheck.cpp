// What the EMF and WMF record checks share (metafilecheckparts.h).
#include "imaging/codecs/metafilecheckparts.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/sizecheck.h"

namespace tessaly::metafilecheck {

[[noreturn]] void refuse(const char* why)
{
    throw CodecError(QStringLiteral("damaged metafile: %1").arg(QString::fromLatin1(why)));
}

// A source rectangle of a bitmap: the libraries copy from it without
// looking (libwmf's stretching loops for minutes outside the bitmap).
void checkSource(const DibSize& dib, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height)
{
    if (x < 0 || y < 0 || width < 0 || height < 0 || x + width > dib.width || y + height > dib.height)
        refuse("a bitmap record copies from outside its bitmap");
}

// A device-independent bitmap: its header and colour table in
// [headerAt, headerAt + headerBytes), its pixels in [bitsAt, bitsAt + bitsBytes).
DibSize checkDib(const Data& data, Offset headerAt, Offset headerBytes, Offset bitsAt, Offset bitsBytes, Offset end,
                 bool paletteIndices)
{
    if (headerBytes < 12 || headerAt < 0 || bitsAt < 0 || bitsBytes < 0 || headerAt + headerBytes > end ||
        bitsAt + bitsBytes > end)
        refuse("a bitmap lies outside its record");
    const Offset headerEnd = headerAt + headerBytes;
    const Offset infoSize = data.u32(headerAt, headerEnd);
    if (infoSize < 12 || infoSize > headerBytes)
        refuse("a bitmap header is cut short");
    std::int64_t width = 0, height = 0, colours = 0;
    std::uint32_t bits = 0, compression = 0;
    if (infoSize < 40) {
        width = data.u16(headerAt + 4, headerEnd);
        height = data.u16(headerAt + 6, headerEnd);
        bits = data.u16(headerAt + 10, headerEnd);
    } else {
        width = data.i32(headerAt + 4, headerEnd);
        height = data.i32(headerAt + 8, headerEnd);
        bits = data.u16(headerAt + 14, headerEnd);
        compression = data.u32(headerAt + 16, headerEnd);
        colours = data.u32(headerAt + 32, headerEnd);
    }
    if (height < 0)
        height = -height;
    if (width <= 0 || height <= 0 || width * height > kMaxBitmapPixels)
        refuse("a bitmap has an unusable size");
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32 ||
                       (bits == 0 && (compression == 4 || compression == 5));
    if (!known || compression > 6)
        refuse("a bitmap has an unknown format");
    // A colour table of up to 256 entries, also (unused) beside true colour.
    const std::int64_t count = (bits != 0 && bits <= 8 && colours == 0) ? (std::int64_t(1) << bits) : colours;
    if (count > 256 || infoSize + count * (paletteIndices ? 2 : (infoSize < 40 ? 3 : 4)) > headerBytes)
        refuse("a bitmap's colour table is cut short");
    if (compression == 1 || compression == 2) {
        if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4))
            refuse("a bitmap has an unknown format");
        checkClaimedSize(width, height, bitsBytes, 2048, "metafile bitmap");
    } else if (compression == 4 || compression == 5) {
        checkClaimedSize(width, height, bitsBytes, 4096, "metafile bitmap");
    } else {
        if (bits == 0)
            refuse("a bitmap has an unknown format");
        const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
        if (rowBytes * height > bitsBytes)
            refuse("a bitmap holds fewer pixels than its header claims");
    }
    return {width, height};
}

}  // namespace tessaly::metafilecheck
