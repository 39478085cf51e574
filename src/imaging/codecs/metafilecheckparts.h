#pragma once

// What the EMF and WMF record checks (metafilecheck.h) share: bounded
// little-endian reads and the checks of the bitmaps inside records.

#include <QByteArray>
#include <cstdint>

namespace tessaly::metafilecheck {

using Offset = std::int64_t;

// Bitmaps inside metafiles are expanded to full colour by the libraries.
constexpr std::int64_t kMaxBitmapPixels = std::int64_t(1) << 26;

[[noreturn]] void refuse(const char* why);

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
void checkSource(const DibSize& dib, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);

// A device-independent bitmap: its header and colour table in
// [headerAt, headerAt + headerBytes), its pixels in [bitsAt, bitsAt + bitsBytes).
DibSize checkDib(const Data& data, Offset headerAt, Offset headerBytes, Offset bitsAt, Offset bitsBytes, Offset end,
                 bool paletteIndices);

}  // namespace tessaly::metafilecheck
