// The checks of enhanced metafiles (metafilecheck.h).
#include "imaging/codecs/metafilecheck.h"
#include "imaging/codecs/metafilecheckparts.h"

#include <cstdint>
#include <optional>
#include <uemf.h>
#include <uemf_safe.h>

namespace tessaly {

namespace {

using namespace metafilecheck;

constexpr std::uint32_t kEmfPlusSignature = 0x2B464D45u;  // "EMF+"

// The record kinds libUEMF's checks cover (it prints a warning for others).
bool libraryChecks(std::uint32_t type)
{
    switch (type) {
    case U_EMR_UNDEF69:
    case U_EMR_POLYTEXTOUTA:
    case U_EMR_POLYTEXTOUTW:
    case U_EMR_GLSRECORD:
    case U_EMR_GLSBOUNDEDRECORD:
    case U_EMR_DRAWESCAPE:
    case U_EMR_EXTESCAPE:
    case U_EMR_UNDEF107:
    case U_EMR_FORCEUFIMAPPING:
    case U_EMR_NAMEDESCAPE:
    case U_EMR_COLORCORRECTPALETTE:
    case U_EMR_SETICMPROFILEA:
    case U_EMR_SETICMPROFILEW:
    case U_EMR_UNDEF117:
    case U_EMR_SETLINKEDUFIS:
    case U_EMR_SETTEXTJUSTIFICATION:
    case U_EMR_COLORMATCHTOTARGETW: return false;
    default: return type >= U_EMR_MIN && type <= U_EMR_MAX;
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
            if (first != (type == U_EMR_HEADER))
                refuse("the header record is not first");
            first = false;
            if (type == U_EMR_EOF)
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
        case U_EMR_HEADER: {  // header: description and pixel format within it
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
        case U_EMR_POLYBEZIER:
        case U_EMR_POLYGON:
        case U_EMR_POLYLINE:
        case U_EMR_POLYBEZIERTO:
        case U_EMR_POLYLINETO:  // poly Bézier, polygon, polyline (32-bit points)
            need(at, 28, end);
            items(at + 28, m_data.u32(at + 24, end), 8, end);
            break;
        case U_EMR_POLYBEZIER16:
        case U_EMR_POLYGON16:
        case U_EMR_POLYLINE16:
        case U_EMR_POLYBEZIERTO16:
        case U_EMR_POLYLINETO16:  // the same with 16-bit points
            need(at, 28, end);
            items(at + 28, m_data.u32(at + 24, end), 4, end);
            break;
        case U_EMR_POLYPOLYLINE:
        case U_EMR_POLYPOLYGON:
        case U_EMR_POLYPOLYLINE16:
        case U_EMR_POLYPOLYGON16: {  // poly-polyline, poly-polygon
            need(at, 32, end);
            const std::int64_t polys = m_data.u32(at + 24, end);
            const std::int64_t points = m_data.u32(at + 28, end);
            items(at + 32, polys, 4, end);
            std::int64_t total = 0;
            for (std::int64_t i = 0; i < polys; ++i)
                total += m_data.u32(at + 32 + 4 * i, end);
            if (total > points)
                refuse("a record's count does not fit the record");
            items(at + 32 + 4 * polys, points, (type == U_EMR_POLYPOLYLINE || type == U_EMR_POLYPOLYGON) ? 8 : 4, end);
            break;
        }
        case U_EMR_POLYDRAW:
        case U_EMR_POLYDRAW16: {  // poly-draw: points, then one type byte each
            need(at, 28, end);
            const std::int64_t points = m_data.u32(at + 24, end);
            items(at + 28, points, type == U_EMR_POLYDRAW ? 9 : 5, end);
            break;
        }
        case U_EMR_SELECTOBJECT:
        case U_EMR_DELETEOBJECT:
        case U_EMR_SELECTPALETTE:  // select, delete object; select palette
            need(at, 12, end);
            handle(m_data.u32(at + 8, end), false);
            break;
        case U_EMR_CREATEPEN:
        case U_EMR_CREATEBRUSHINDIRECT:
        case U_EMR_EXTCREATEFONTINDIRECTW:
        case U_EMR_CREATECOLORSPACE:
        case U_EMR_CREATECOLORSPACEW:  // create pen, brush, font, colour space
            need(at, 12, end);
            handle(m_data.u32(at + 8, end), true);
            break;
        case U_EMR_CREATEPALETTE:  // create palette: handle, version, count, entries
            need(at, 16, end);
            handle(m_data.u32(at + 8, end), true);
            items(at + 16, m_data.u16(at + 14, end), 4, end);
            break;
        case U_EMR_SETPALETTEENTRIES:  // set palette entries
            need(at, 20, end);
            handle(m_data.u32(at + 8, end), false);
            items(at + 20, m_data.u32(at + 16, end), 4, end);
            break;
        case U_EMR_RESIZEPALETTE:  // resize palette
            need(at, 16, end);
            handle(m_data.u32(at + 8, end), false);
            break;
        case U_EMR_CREATEMONOBRUSH:
        case U_EMR_CREATEDIBPATTERNBRUSHPT:  // mono and DIB pattern brushes
            need(at, 32, end);
            handle(m_data.u32(at + 8, end), true);
            bitmap(at, end, at + 16, m_data.u32(at + 12, end) == 1);
            break;
        case U_EMR_EXTCREATEPEN: {  // extended pen: handle, bitmap, LOGPEN with style entries
            need(at, 52, end);
            handle(m_data.u32(at + 8, end), true);
            bitmap(at, end, at + 12);
            items(at + 52, m_data.u32(at + 48, end), 4, end);
            break;
        }
        case U_EMR_COMMENT: {
            need(at, 12, end);
            const Offset dataBytes = m_data.u32(at + 8, end);
            items(at + 12, dataBytes, 1, end);
            if (dataBytes >= 4 && m_data.u32(at + 12, end) == kEmfPlusSignature)
                emfPlus(at + 16, at + 12 + dataBytes);
            break;
        }
        case U_EMR_FILLRGN:
        case U_EMR_FRAMERGN: {  // fill, frame region
            need(at, type == U_EMR_FILLRGN ? 32 : 40, end);
            handle(m_data.u32(at + 28, end), false);
            region(at + (type == U_EMR_FILLRGN ? 32 : 40), m_data.u32(at + 24, end), end, false);
            break;
        }
        case U_EMR_INVERTRGN:
        case U_EMR_PAINTRGN:  // invert, paint region
            need(at, 28, end);
            region(at + 28, m_data.u32(at + 24, end), end, false);
            break;
        case U_EMR_EXTSELECTCLIPRGN:  // select clip region
            need(at, 16, end);
            region(at + 16, m_data.u32(at + 8, end), end, true);
            break;
        case U_EMR_BITBLT:
        case U_EMR_STRETCHBLT:
        case U_EMR_ALPHABLEND:
        case U_EMR_TRANSPARENTBLT:  // bit, stretch, alpha, transparent blits
            need(at, type == U_EMR_BITBLT ? 100 : 108, end);
            bitmap(at, end, at + 84, m_data.u32(at + 80, end) == 1);
            break;
        case U_EMR_MASKBLT:  // mask blit: source and mask bitmaps
            need(at, 128, end);
            bitmap(at, end, at + 84, m_data.u32(at + 80, end) == 1);
            bitmap(at, end, at + 112);
            break;
        case U_EMR_PLGBLT:  // parallelogram blit
            need(at, 140, end);
            bitmap(at, end, at + 96, m_data.u32(at + 92, end) == 1);
            bitmap(at, end, at + 124);
            break;
        case U_EMR_SETDIBITSTODEVICE:
        case U_EMR_STRETCHDIBITS: {  // set DIB bits to device, stretch DIB bits: source x, y, cx, cy
            need(at, type == U_EMR_SETDIBITSTODEVICE ? 76 : 80, end);
            if (const auto dib = bitmap(at, end, at + 48, m_data.u32(at + 64, end) == 1))
                checkSource(*dib, m_data.i32(at + 32, end), m_data.i32(at + 36, end), m_data.i32(at + 40, end),
                            m_data.i32(at + 44, end));
            break;
        }
        case U_EMR_EXTTEXTOUTA:
        case U_EMR_EXTTEXTOUTW:  // extended text out (ANSI, wide)
            need(at, 76, end);
            text(at, end, at + 36, type == U_EMR_EXTTEXTOUTW);
            break;
        case U_EMR_POLYTEXTOUTA:
        case U_EMR_POLYTEXTOUTW: {  // poly text out: strings of EMRTEXT
            need(at, 40, end);
            const std::int64_t strings = m_data.u32(at + 36, end);
            items(at + 40, strings, 40, end);
            for (std::int64_t i = 0; i < strings; ++i)
                text(at, end, at + 40 + 40 * i, type == U_EMR_POLYTEXTOUTW);
            break;
        }
        case U_EMR_SMALLTEXTOUT: {  // small text out
            need(at, 36, end);
            const std::int64_t chars = m_data.u32(at + 16, end);
            const std::uint32_t options = m_data.u32(at + 20, end);
            items(at + ((options & 0x100) ? 36 : 52), chars, (options & 0x200) ? 1 : 2, end);
            break;
        }
        case U_EMR_GRADIENTFILL: {  // gradient fill: vertices, then triangles or rectangles
            need(at, 36, end);
            const std::int64_t vertices = m_data.u32(at + 24, end);
            const std::int64_t shapes = m_data.u32(at + 28, end);
            const std::uint32_t mode = m_data.u32(at + 32, end);
            items(at + 36, vertices, 16, end);
            items(at + 36 + 16 * vertices, shapes, mode == 2 ? 12 : 8, end);
            break;
        }
        case U_EMR_GLSRECORD:  // OpenGL record
            need(at, 12, end);
            items(at + 12, m_data.u32(at + 8, end), 1, end);
            break;
        case U_EMR_GLSBOUNDEDRECORD:  // bounded OpenGL record
            need(at, 28, end);
            items(at + 28, m_data.u32(at + 24, end), 1, end);
            break;
        case U_EMR_DRAWESCAPE:
        case U_EMR_EXTESCAPE:  // draw and extended escapes
            need(at, 16, end);
            items(at + 16, m_data.u32(at + 12, end), 1, end);
            break;
        case U_EMR_NAMEDESCAPE:  // named escape
            need(at, 20, end);
            items(at + 20, std::int64_t(m_data.u32(at + 12, end)) + m_data.u32(at + 16, end), 1, end);
            break;
        case U_EMR_SETICMPROFILEA:
        case U_EMR_SETICMPROFILEW:  // set colour profile
            need(at, 20, end);
            items(at + 20, std::int64_t(m_data.u32(at + 12, end)) + m_data.u32(at + 16, end), 1, end);
            break;
        case U_EMR_COLORMATCHTOTARGETW:  // colour match to target
            need(at, 24, end);
            items(at + 24, std::int64_t(m_data.u32(at + 16, end)) + m_data.u32(at + 20, end), 1, end);
            break;
        default: break;
        }
    }

    Data m_data;
    std::uint32_t m_handles = 0;
};

}  // namespace

void checkEmfRecords(const QByteArray& bytes)
{
    EmfChecker(bytes).run();
}

}  // namespace tessaly
