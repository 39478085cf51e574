#include "imaging/photo/exifreader.h"

#include <cstdint>
#include <cstring>

namespace tessaly {

namespace {

constexpr std::uint32_t kOrientationTag = 0x0112, kGpsTag = 0x8825;
constexpr std::uint32_t kTypeShort = 3, kTypeLong = 4;
constexpr std::size_t kEntryBytes = 12;

}  // namespace

ExifSummary readExif(const QByteArray& block)
{
    ExifSummary summary;
    const auto* data = reinterpret_cast<const std::uint8_t*>(block.constData());
    std::size_t size = std::size_t(block.size());
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0)
        data += 6, size -= 6;
    if (size < 8)
        return summary;
    const bool bigEndian = std::memcmp(data, "MM", 2) == 0;
    if (!bigEndian && std::memcmp(data, "II", 2) != 0)
        return summary;
    const auto u16 = [&](std::size_t at) -> std::uint32_t {
        const std::uint8_t* p = data + at;
        return bigEndian ? std::uint32_t(p[0] << 8 | p[1]) : std::uint32_t(p[1] << 8 | p[0]);
    };
    const auto u32 = [&](std::size_t at) -> std::uint32_t {
        return bigEndian ? (u16(at) << 16 | u16(at + 2)) : (u16(at + 2) << 16 | u16(at));
    };
    if (u16(2) != 42)
        return summary;
    const std::size_t ifd = u32(4);
    if (ifd < 8 || ifd > size - 2)
        return summary;
    const std::size_t count = u16(ifd);
    const std::size_t present = (size - ifd - 2) / kEntryBytes;
    for (std::size_t i = 0; i < count && i < present; ++i) {
        const std::size_t entry = ifd + 2 + i * kEntryBytes;
        const std::uint32_t tag = u16(entry), type = u16(entry + 2);
        if (tag == kGpsTag) {
            summary.hasGps = true;
        } else if (tag == kOrientationTag && u32(entry + 4) >= 1) {
            // A value that fits in four bytes stands in the entry itself,
            // left-aligned.
            const std::uint32_t value = type == kTypeShort ? u16(entry + 8) : type == kTypeLong ? u32(entry + 8) : 0;
            summary.orientation = value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    // The link to the next directory follows the entries.
    const std::size_t link = ifd + 2 + count * kEntryBytes;
    if (count <= present && link + 4 <= size)
        summary.hasThumbnail = u32(link) != 0;
    return summary;
}

}  // namespace tessaly
