// The checks of Windows metafiles (metafilecheck.h).
#include "imaging/codecs/metafilecheck.h"
#include "imaging/codecs/metafilecheckparts.h"
#include "imaging/codecs/metafilecodec.h"

#include <cstdint>
#include <optional>

namespace tessaly {

namespace {

using namespace metafilecheck;

struct WmfMinimum {
    std::uint16_t function;
    int words;  // parameters the record needs at least
};

// Fixed-size records and the parameters they read.
constexpr WmfMinimum kWmfMinimums[] = {
    {0x001E, 0},  {0x0035, 0}, {0x0037, 2},  {0x00F7, 2},  {0x0102, 1}, {0x0103, 1}, {0x0104, 1}, {0x0105, 1},
    {0x0106, 1},  {0x0107, 1}, {0x0108, 1},  {0x0127, 1},  {0x012A, 1}, {0x012B, 1}, {0x012C, 1}, {0x012D, 1},
    {0x012E, 1},  {0x0142, 2}, {0x01F0, 1},  {0x01F9, 16}, {0x0201, 2}, {0x0209, 2}, {0x020A, 2}, {0x020B, 2},
    {0x020C, 2},  {0x020D, 2}, {0x020E, 2},  {0x020F, 2},  {0x0211, 2}, {0x0213, 2}, {0x0214, 2}, {0x0220, 2},
    {0x0228, 2},  {0x0231, 2}, {0x0234, 1},  {0x02FA, 5},  {0x02FB, 9}, {0x02FC, 4}, {0x0324, 1}, {0x0325, 1},
    {0x0410, 4},  {0x0412, 4}, {0x0415, 4},  {0x0416, 4},  {0x0418, 4}, {0x0419, 4}, {0x041B, 4}, {0x041F, 4},
    {0x0429, 4},  {0x0436, 2}, {0x0521, 1},  {0x0538, 1},  {0x0548, 5}, {0x061C, 6}, {0x061D, 6}, {0x0626, 2},
    {0x06FF, 11}, {0x0817, 8}, {0x081A, 8},  {0x0830, 8},  {0x0922, 8}, {0x0940, 8}, {0x0A32, 4}, {0x0B23, 10},
    {0x0B41, 10}, {0x0D33, 9}, {0x0F43, 11},
};

class WmfChecker {
public:
    explicit WmfChecker(const QByteArray& bytes) : m_bytes(bytes), m_data(m_bytes) {}

    QByteArray run()
    {
        const Offset size = m_data.size();
        Offset header = 0;
        if (size >= 4 && m_data.u32(0, size) == kPlaceableKey) {
            if (size < 22 || m_data.u16(14, size) == 0)
                refuse("the placeable header is cut short");
            header = 22;
        }
        if (header + 18 > size)
            refuse("not a Windows metafile");
        const std::uint32_t type = m_data.u16(header, size);
        if ((type != 1 && type != 2) || m_data.u16(header + 2, size) != 9)
            refuse("not a Windows metafile");
        m_objects = m_data.u16(header + 10, size);
        Offset at = header + 18;
        std::uint32_t largest = 3;
        while (true) {
            if (at + 6 > size)
                refuse("the file ends before its end record");
            const Offset words = m_data.u32(at, size);
            const std::uint32_t function = m_data.u16(at + 4, size);
            if (words < 3 || at + words * 2 > size)
                refuse("a record's size does not fit the file");
            largest = std::max(largest, std::uint32_t(words));
            if (function == 0)
                break;
            checkRecord(function, at + 6, words - 3, at + words * 2);
            at += words * 2;
        }
        // The library sizes its buffers by the header's word counts: give
        // it the true ones.
        QByteArray checked = m_bytes;
        const auto put32 = [&](Offset where, std::uint32_t value) {
            for (int i = 0; i < 4; ++i)
                checked[qsizetype(where + i)] = char((value >> (8 * i)) & 0xff);
        };
        put32(header + 6, std::uint32_t((at + 6 - header) / 2));
        put32(header + 12, largest);
        return checked.left(qsizetype(at + 6));
    }

private:
    void items(Offset from, std::int64_t count, std::int64_t itemBytes, Offset end) const
    {
        if (count < 0 || from + count * itemBytes > end)
            refuse("a record's count does not fit the record");
    }
    void object(std::uint32_t index) const
    {
        if (index >= m_objects)
            refuse("an object number lies outside the object table");
    }
    // A DIB from `at` to the end of the record: header, colours, pixels.
    DibSize dib(Offset at, Offset end, bool paletteIndices) const
    {
        const Offset infoSize = m_data.u32(at, end);
        if (infoSize < 12 || at + infoSize > end)
            refuse("a bitmap header is cut short");
        std::int64_t tableBytes = 0;
        const std::uint32_t bits = infoSize < 40 ? m_data.u16(at + 10, end) : m_data.u16(at + 14, end);
        const std::uint32_t compression = infoSize < 40 ? 0 : m_data.u32(at + 16, end);
        const std::int64_t used = infoSize < 40 ? 0 : m_data.u32(at + 32, end);
        const std::int64_t count = (bits != 0 && bits <= 8 && used == 0) ? (std::int64_t(1) << bits) : used;
        if (count > 256)
            refuse("a bitmap's colour table is cut short");
        tableBytes = count * (paletteIndices ? 2 : (infoSize < 40 ? 3 : 4));
        if (infoSize == 40 && compression == 3)
            tableBytes += 12;
        const Offset bitsAt = at + infoSize + tableBytes;
        if (bitsAt > end)
            refuse("a bitmap's colour table is cut short");
        return checkDib(m_data, at, bitsAt - at, bitsAt, end - bitsAt, end, paletteIndices);
    }
    // libwmf's bitmap stretching runs for minutes on mirrored (negative)
    // destination sizes.
    void destination(std::int64_t width, std::int64_t height) const
    {
        if (width < 0 || height < 0)
            refuse("a bitmap record draws at a mirrored size");
    }
    // An old device-dependent bitmap: type, width, height, bytes per row, planes, bits.
    void bitmap16(Offset at, Offset end, Offset bitsAt) const
    {
        const std::int64_t height = m_data.i16(at + 4, end);
        const std::int64_t rowBytes = m_data.i16(at + 6, end);
        if (height < 0 || rowBytes < 0)
            refuse("a bitmap has an unusable size");
        items(bitsAt, height * rowBytes, 1, end);
    }

    void checkRecord(std::uint32_t function, Offset params, std::int64_t words, Offset end) const
    {
        for (const WmfMinimum& minimum : kWmfMinimums)
            if (minimum.function == function && words < minimum.words)
                refuse("a record is shorter than its kind needs");
        const auto word = [&](std::int64_t index) { return m_data.u16(params + 2 * index, end); };
        switch (function) {
        case 0x012D:
        case 0x01F0:
        case 0x0234:
        case 0x012C:
        case 0x012A:
        case 0x012B:
            object(word(0));  // select, delete, select palette, select clip, invert, paint region
            break;
        case 0x0228:
        case 0x0429:  // fill, frame region: region and brush
            object(word(0));
            object(word(1));
            break;
        case 0x0324:
        case 0x0325:  // polygon, polyline
            items(params + 2, word(0), 4, end);
            break;
        case 0x0538: {  // poly-polygon
            const std::int64_t polys = word(0);
            items(params + 2, polys, 2, end);
            std::int64_t points = 0;
            for (std::int64_t i = 0; i < polys; ++i)
                points += word(1 + i);
            items(params + 2 + 2 * polys, points, 4, end);
            break;
        }
        case 0x0521:  // text out: length, string, y, x
            items(params + 2, (std::int64_t(word(0)) + 1) / 2 * 2 + 4, 1, end);
            break;
        case 0x0A32: {  // extended text out: y, x, count, options, [rectangle], string
            const std::int64_t count = word(2);
            const std::uint32_t options = word(3);
            const Offset stringAt = params + 8 + ((options & 0x0006) ? 8 : 0);
            items(stringAt, count, 1, end);
            break;
        }
        case 0x00F7:
        case 0x0037:
        case 0x0436:  // palettes: start, count, entries
            items(params + 4, word(1), 4, end);
            break;
        case 0x0626:  // escape: function, byte count, data
            items(params + 4, word(1), 1, end);
            break;
        case 0x06FF: {  // create region: scans after a 22-byte header
            const std::int64_t scans = word(5);
            Offset at = params + 22;
            for (std::int64_t i = 0; i < scans; ++i) {
                const std::int64_t count = m_data.u16(at, end);
                items(at, 8 + 2 * count, 1, end);
                at += 8 + 2 * count;
            }
            break;
        }
        // libwmf reads a bitmap from any DIB blit longer than its fixed
        // part (also from the 9 and 11 word forms meant without one), so
        // every such record must hold a whole bitmap.
        case 0x0940:  // DIB bit blit: rop, ySrc, xSrc, height, width, yDst, xDst, bitmap
            if (words > 8)
                checkSource(dib(params + 16, end, false), m_data.i16(params + 6, end), m_data.i16(params + 4, end),
                            m_data.i16(params + 10, end), m_data.i16(params + 8, end));
            break;
        case 0x0B41:  // DIB stretch blit: rop, srcH, srcW, ySrc, xSrc, 4 destination values, bitmap
            destination(m_data.i16(params + 14, end), m_data.i16(params + 12, end));
            if (words > 10)
                checkSource(dib(params + 20, end, false), m_data.i16(params + 10, end), m_data.i16(params + 8, end),
                            m_data.i16(params + 6, end), m_data.i16(params + 4, end));
            break;
        case 0x0F43:  // stretch DIB: rop, usage, srcH, srcW, ySrc, xSrc, destH, destW, yDst, xDst, bitmap
            destination(m_data.i16(params + 16, end), m_data.i16(params + 14, end));
            checkSource(dib(params + 22, end, word(2) == 1), m_data.i16(params + 12, end), m_data.i16(params + 10, end),
                        m_data.i16(params + 8, end), m_data.i16(params + 6, end));
            break;
        case 0x0D33:  // set DIB to device: usage, 8 values, then the bitmap
            dib(params + 18, end, word(0) == 1);
            break;
        case 0x0142:           // DIB pattern brush: style, usage, then the bitmap
            if (word(0) != 3)  // BS_PATTERN carries an old bitmap instead
                dib(params + 4, end, word(1) == 1);
            break;
        case 0x0922:  // bit blit with an old bitmap after 7 words
            if (words > 8)
                bitmap16(params + 14, end, params + 14 + 10);
            break;
        case 0x0B23:  // stretch blit with an old bitmap after 9 words
            if (words > 10)
                bitmap16(params + 18, end, params + 18 + 10);
            break;
        case 0x01F9:  // pattern brush: old bitmap header, 18 reserved bytes, bits
            bitmap16(params, end, params + 32);
            break;
        default: break;
        }
    }

    QByteArray m_bytes;
    Data m_data;
    std::uint32_t m_objects = 0;
};

}  // namespace

QByteArray checkedWmfRecords(const QByteArray& bytes)
{
    return WmfChecker(bytes).run();
}

}  // namespace tessaly
