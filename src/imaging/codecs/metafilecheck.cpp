#include "imaging/codecs/metafilecheck.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/sizecheck.h"

#include <cstdint>
#include <optional>
#include <uemf_safe.h>

namespace tessaly {

namespace {

using Offset = std::int64_t;

// Bitmaps inside metafiles are expanded to full colour by the libraries.
constexpr std::int64_t kMaxBitmapPixels = std::int64_t(1) << 26;

[[noreturn]] void refuse(const char* why)
{
    throw CodecError(QStringLiteral("damaged metafile: %1").arg(QString::fromLatin1(why)));
}

// Little-endian reads that refuse to look past `end`.
class Data {
public:
    explicit Data(const QByteArray& bytes) : m_bytes(bytes) {}
    Offset size() const { return m_bytes.size(); }
    std::uint32_t u8(Offset at, Offset end) const
    {
        if (at < 0 || at + 1 > end || end > size())
            refuse("a record is cut short");
        return std::uint8_t(m_bytes[qsizetype(at)]);
    }
    std::uint32_t u16(Offset at, Offset end) const { return u8(at, end) | u8(at + 1, end) << 8; }
    std::uint32_t u32(Offset at, Offset end) const { return u16(at, end) | u16(at + 2, end) << 16; }
    std::int32_t i32(Offset at, Offset end) const { return std::int32_t(u32(at, end)); }
    std::int16_t i16(Offset at, Offset end) const { return std::int16_t(u16(at, end)); }
    const char* at(Offset offset) const { return m_bytes.constData() + offset; }

private:
    const QByteArray& m_bytes;
};

struct DibSize {
    std::int64_t width = 0, height = 0;
};

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

// ---- Enhanced metafiles ------------------------------------------------

constexpr std::uint32_t kEmfPlusSignature = 0x2B464D45u;  // "EMF+"

// The record kinds libUEMF's checks cover (it prints a warning for others).
bool libraryChecks(std::uint32_t type)
{
    switch (type) {
    case 69:
    case 96:
    case 97:
    case 102:
    case 103:
    case 105:
    case 106:
    case 107:
    case 109:
    case 110:
    case 111:
    case 112:
    case 113:
    case 117:
    case 119:
    case 120:
    case 121: return false;
    default: return type >= 1 && type <= 122;
    }
}

class EmfChecker {
public:
    explicit EmfChecker(const QByteArray& bytes) : m_data(bytes) {}

    void run()
    {
        const Offset size = m_data.size();
        if (size < 88 || m_data.u32(0, size) != 1 || m_data.u32(40, size) != 0x464D4520u)
            refuse("not an enhanced metafile");
        m_handles = m_data.u16(56, size);
        Offset at = 0;
        bool first = true;
        while (at < size) {
            if (at + 8 > size)
                refuse("a record is cut short");
            const std::uint32_t type = m_data.u32(at, size);
            const Offset recordSize = m_data.u32(at + 4, size);
            if (recordSize < 8 || recordSize % 4 != 0 || at + recordSize > size)
                refuse("a record's size does not fit the file");
            if (first != (type == 1))
                refuse("the header record is not first");
            first = false;
            if (type == 14)  // EOF
                return;
            checkRecord(type, at, at + recordSize);
            // libUEMF's own checks of the record's fixed part and counts,
            // now that the record is known to lie within the file (for the
            // kinds it knows).
            if (libraryChecks(type) && !U_emf_record_safe(m_data.at(at)))
                refuse("a record does not hold what its kind needs");
            at += recordSize;
        }
        refuse("the file ends before its end record");
    }

private:
    void need(Offset at, Offset minimum, Offset end) const
    {
        if (at + minimum > end)
            refuse("a record is shorter than its kind needs");
    }
    // `count` items of `itemBytes` from `from` must lie within the record.
    void items(Offset from, std::int64_t count, std::int64_t itemBytes, Offset end) const
    {
        if (count < 0 || from + count * itemBytes > end)
            refuse("a record's count does not fit the record");
    }
    void handle(std::uint32_t index, bool creating) const
    {
        if (index & 0x80000000u) {  // stock object
            if (creating)
                refuse("a record creates a stock object");
            return;
        }
        if (index >= m_handles || (creating && index == 0))
            refuse("an object number lies outside the handle table");
    }
    std::optional<DibSize> bitmap(Offset at, Offset end, Offset offBmiAt, bool paletteIndices = false) const
    {
        const Offset offBmi = m_data.u32(offBmiAt, end), cbBmi = m_data.u32(offBmiAt + 4, end);
        const Offset offBits = m_data.u32(offBmiAt + 8, end), cbBits = m_data.u32(offBmiAt + 12, end);
        if (cbBmi == 0 && cbBits == 0)
            return std::nullopt;  // no source bitmap
        return checkDib(m_data, at + offBmi, cbBmi, at + offBits, cbBits, end, paletteIndices);
    }
    void region(Offset rgnAt, Offset cbRgn, Offset end, bool mayBeEmpty) const
    {
        if (cbRgn == 0 && mayBeEmpty)
            return;
        if (cbRgn < 32 || rgnAt + cbRgn > end)
            refuse("a region lies outside its record");
        items(rgnAt + 32, m_data.u32(rgnAt + 8, end), 16, rgnAt + cbRgn);
    }
    void text(Offset at, Offset end, Offset textAt, bool wide) const
    {
        // EMRTEXT: reference (8), chars, offString, options, [rectangle], offDx.
        const std::int64_t chars = m_data.u32(textAt + 8, end);
        const Offset offString = m_data.u32(textAt + 12, end);
        const std::uint32_t options = m_data.u32(textAt + 16, end);
        const Offset dxAt = textAt + ((options & 0x100) ? 20 : 36);  // ETO_NO_RECT
        const Offset offDx = m_data.u32(dxAt, end);
        if (chars > 0)
            items(at + offString, chars, wide ? 2 : 1, end);
        if (offDx != 0 && chars > 0)
            items(at + offDx, chars, (options & 0x2000) ? 8 : 4, end);  // ETO_PDY: pairs
    }
    void emfPlus(Offset from, Offset end) const
    {
        Offset at = from;
        while (at < end) {
            if (at + 12 > end)
                refuse("an EMF+ record is cut short");
            const Offset size = m_data.u32(at + 4, end);
            const Offset dataSize = m_data.u32(at + 8, end);
            if (size < 12 || size % 4 != 0 || at + size > end || dataSize > size - 12)
                refuse("an EMF+ record's size does not fit its comment");
            at += size;
        }
    }

    void checkRecord(std::uint32_t type, Offset at, Offset end) const
    {
        switch (type) {
        case 1: {  // header: description and pixel format within it
            need(at, 88, end);
            const std::int64_t descriptionChars = m_data.u32(at + 60, end);
            const Offset descriptionAt = m_data.u32(at + 64, end);
            if (descriptionChars > 0) {
                items(at + descriptionAt, descriptionChars, 2, end);
            } else if (descriptionAt != 0) {
                // The EMF library reads a description of no stated length
                // up to its terminating zero.
                Offset zero = at + descriptionAt;
                while (zero + 2 <= end && m_data.u16(zero, end) != 0)
                    zero += 2;
                if (zero + 2 > end)
                    refuse("the header's description runs past the header");
            }
            // Older headers end at 88 bytes, where the description may start.
            const bool pixelFormat = end - at >= 100 && (descriptionChars == 0 || descriptionAt >= 100);
            if (pixelFormat && m_data.u32(at + 88, end) > 0)
                items(at + m_data.u32(at + 92, end), m_data.u32(at + 88, end), 1, end);
            break;
        }
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:  // poly Bézier, polygon, polyline (32-bit points)
            need(at, 28, end);
            items(at + 28, m_data.u32(at + 24, end), 8, end);
            break;
        case 85:
        case 86:
        case 87:
        case 88:
        case 89:  // the same with 16-bit points
            need(at, 28, end);
            items(at + 28, m_data.u32(at + 24, end), 4, end);
            break;
        case 7:
        case 8:
        case 90:
        case 91: {  // poly-polyline, poly-polygon
            need(at, 32, end);
            const std::int64_t polys = m_data.u32(at + 24, end);
            const std::int64_t points = m_data.u32(at + 28, end);
            items(at + 32, polys, 4, end);
            std::int64_t total = 0;
            for (std::int64_t i = 0; i < polys; ++i)
                total += m_data.u32(at + 32 + 4 * i, end);
            if (total > points)
                refuse("a record's count does not fit the record");
            items(at + 32 + 4 * polys, points, (type == 7 || type == 8) ? 8 : 4, end);
            break;
        }
        case 56:
        case 92: {  // poly-draw: points, then one type byte each
            need(at, 28, end);
            const std::int64_t points = m_data.u32(at + 24, end);
            items(at + 28, points, type == 56 ? 9 : 5, end);
            break;
        }
        case 37:
        case 40:
        case 48:  // select, delete object; select palette
            need(at, 12, end);
            handle(m_data.u32(at + 8, end), false);
            break;
        case 38:
        case 39:
        case 82:
        case 99:
        case 122:  // create pen, brush, font, colour space
            need(at, 12, end);
            handle(m_data.u32(at + 8, end), true);
            break;
        case 49:  // create palette: handle, version, count, entries
            need(at, 16, end);
            handle(m_data.u32(at + 8, end), true);
            items(at + 16, m_data.u16(at + 14, end), 4, end);
            break;
        case 50:  // set palette entries
            need(at, 20, end);
            handle(m_data.u32(at + 8, end), false);
            items(at + 20, m_data.u32(at + 16, end), 4, end);
            break;
        case 51:  // resize palette
            need(at, 16, end);
            handle(m_data.u32(at + 8, end), false);
            break;
        case 93:
        case 94:  // mono and DIB pattern brushes
            need(at, 32, end);
            handle(m_data.u32(at + 8, end), true);
            bitmap(at, end, at + 16, m_data.u32(at + 12, end) == 1);
            break;
        case 95: {  // extended pen: handle, bitmap, LOGPEN with style entries
            need(at, 52, end);
            handle(m_data.u32(at + 8, end), true);
            bitmap(at, end, at + 12);
            items(at + 52, m_data.u32(at + 48, end), 4, end);
            break;
        }
        case 70: {  // comment
            need(at, 12, end);
            const Offset dataBytes = m_data.u32(at + 8, end);
            items(at + 12, dataBytes, 1, end);
            if (dataBytes >= 4 && m_data.u32(at + 12, end) == kEmfPlusSignature)
                emfPlus(at + 16, at + 12 + dataBytes);
            break;
        }
        case 71:
        case 72: {  // fill, frame region
            need(at, type == 71 ? 32 : 40, end);
            handle(m_data.u32(at + 28, end), false);
            region(at + (type == 71 ? 32 : 40), m_data.u32(at + 24, end), end, false);
            break;
        }
        case 73:
        case 74:  // invert, paint region
            need(at, 28, end);
            region(at + 28, m_data.u32(at + 24, end), end, false);
            break;
        case 75:  // select clip region
            need(at, 16, end);
            region(at + 16, m_data.u32(at + 8, end), end, true);
            break;
        case 76:
        case 77:
        case 114:
        case 116:  // bit, stretch, alpha, transparent blits
            need(at, type == 76 ? 100 : 108, end);
            bitmap(at, end, at + 84, m_data.u32(at + 80, end) == 1);
            break;
        case 78:  // mask blit: source and mask bitmaps
            need(at, 128, end);
            bitmap(at, end, at + 84, m_data.u32(at + 80, end) == 1);
            bitmap(at, end, at + 112);
            break;
        case 79:  // parallelogram blit
            need(at, 140, end);
            bitmap(at, end, at + 96, m_data.u32(at + 92, end) == 1);
            bitmap(at, end, at + 124);
            break;
        case 80:
        case 81: {  // set DIB bits to device, stretch DIB bits: source x, y, cx, cy
            need(at, type == 80 ? 76 : 80, end);
            if (const auto dib = bitmap(at, end, at + 48, m_data.u32(at + 64, end) == 1))
                checkSource(*dib, m_data.i32(at + 32, end), m_data.i32(at + 36, end), m_data.i32(at + 40, end),
                            m_data.i32(at + 44, end));
            break;
        }
        case 83:
        case 84:  // extended text out (ANSI, wide)
            need(at, 76, end);
            text(at, end, at + 36, type == 84);
            break;
        case 96:
        case 97: {  // poly text out: strings of EMRTEXT
            need(at, 40, end);
            const std::int64_t strings = m_data.u32(at + 36, end);
            items(at + 40, strings, 40, end);
            for (std::int64_t i = 0; i < strings; ++i)
                text(at, end, at + 40 + 40 * i, type == 97);
            break;
        }
        case 108: {  // small text out
            need(at, 36, end);
            const std::int64_t chars = m_data.u32(at + 16, end);
            const std::uint32_t options = m_data.u32(at + 20, end);
            items(at + ((options & 0x100) ? 36 : 52), chars, (options & 0x200) ? 1 : 2, end);
            break;
        }
        case 118: {  // gradient fill: vertices, then triangles or rectangles
            need(at, 36, end);
            const std::int64_t vertices = m_data.u32(at + 24, end);
            const std::int64_t shapes = m_data.u32(at + 28, end);
            const std::uint32_t mode = m_data.u32(at + 32, end);
            items(at + 36, vertices, 16, end);
            items(at + 36 + 16 * vertices, shapes, mode == 2 ? 12 : 8, end);
            break;
        }
        case 102:  // OpenGL record
            need(at, 12, end);
            items(at + 12, m_data.u32(at + 8, end), 1, end);
            break;
        case 103:  // bounded OpenGL record
            need(at, 28, end);
            items(at + 28, m_data.u32(at + 24, end), 1, end);
            break;
        case 105:
        case 106:  // draw and extended escapes
            need(at, 16, end);
            items(at + 16, m_data.u32(at + 12, end), 1, end);
            break;
        case 110:  // named escape
            need(at, 20, end);
            items(at + 20, std::int64_t(m_data.u32(at + 12, end)) + m_data.u32(at + 16, end), 1, end);
            break;
        case 112:
        case 113:  // set colour profile
            need(at, 20, end);
            items(at + 20, std::int64_t(m_data.u32(at + 12, end)) + m_data.u32(at + 16, end), 1, end);
            break;
        case 121:  // colour match to target
            need(at, 24, end);
            items(at + 24, std::int64_t(m_data.u32(at + 16, end)) + m_data.u32(at + 20, end), 1, end);
            break;
        default: break;
        }
    }

    Data m_data;
    std::uint32_t m_handles = 0;
};

// ---- Windows metafiles -------------------------------------------------

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;

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

void checkEmfRecords(const QByteArray& bytes)
{
    EmfChecker(bytes).run();
}

QByteArray checkedWmfRecords(const QByteArray& bytes)
{
    return WmfChecker(bytes).run();
}

}  // namespace tessaly
