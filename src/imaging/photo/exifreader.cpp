#include "imaging/photo/exifreader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tessaly {

namespace {

constexpr std::uint32_t kOrientationTag = 0x0112, kGpsTag = 0x8825, kMakeTag = 0x010F, kModelTag = 0x0110,
                        kDateTimeTag = 0x0132, kExifIfdTag = 0x8769, kDateTimeOriginalTag = 0x9003;
constexpr std::uint32_t kTypeAscii = 2, kTypeShort = 3, kTypeLong = 4;
constexpr std::size_t kEntryBytes = 12;

// The TIFF structure of an EXIF block, read in its byte order. Every read
// is checked against the block's size.
class TiffBlock {
public:
    TiffBlock(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size)
    {
        m_bigEndian = size >= 8 && std::memcmp(data, "MM", 2) == 0;
        m_valid = size >= 8 && (m_bigEndian || std::memcmp(data, "II", 2) == 0) && u16(2) == 42;
    }
    bool valid() const { return m_valid; }
    std::size_t size() const { return m_size; }
    std::uint32_t u16(std::size_t at) const
    {
        const std::uint8_t* p = m_data + at;
        return m_bigEndian ? std::uint32_t(p[0] << 8 | p[1]) : std::uint32_t(p[1] << 8 | p[0]);
    }
    std::uint32_t u32(std::size_t at) const
    {
        return m_bigEndian ? (u16(at) << 16 | u16(at + 2)) : (u16(at + 2) << 16 | u16(at));
    }
    // How many of the directory at `ifd`'s entries lie wholly inside the
    // block (0 for a directory outside it).
    std::size_t entriesPresent(std::size_t ifd) const
    {
        if (ifd < 8 || ifd > m_size - 2)
            return 0;
        return std::min<std::size_t>(u16(ifd), (m_size - ifd - 2) / kEntryBytes);
    }
    // An ASCII value up to its first NUL, trimmed; a value of up to four
    // bytes stands in the entry itself.
    QString text(std::size_t entry) const
    {
        if (u16(entry + 2) != kTypeAscii)
            return {};
        const std::size_t length = u32(entry + 4);
        const std::size_t at = length <= 4 ? entry + 8 : u32(entry + 8);
        if (length == 0 || at > m_size || m_size - at < length)
            return {};
        const char* start = reinterpret_cast<const char*>(m_data + at);
        return QString::fromLatin1(start, qsizetype(strnlen(start, length))).simplified();
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_bigEndian = false;
    bool m_valid = false;
};

}  // namespace

ExifSummary readExif(const QByteArray& block)
{
    ExifSummary summary;
    const auto* data = reinterpret_cast<const std::uint8_t*>(block.constData());
    std::size_t size = std::size_t(block.size());
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0)
        data += 6, size -= 6;
    const TiffBlock tiff(data, size);
    if (!tiff.valid())
        return summary;
    const std::size_t ifd = tiff.u32(4);
    if (ifd < 8 || ifd > size - 2)
        return summary;
    const std::size_t present = tiff.entriesPresent(ifd);
    std::size_t exifIfd = 0;
    for (std::size_t i = 0; i < present; ++i) {
        const std::size_t entry = ifd + 2 + i * kEntryBytes;
        const std::uint32_t tag = tiff.u16(entry), type = tiff.u16(entry + 2);
        if (tag == kGpsTag) {
            summary.hasGps = true;
        } else if (tag == kOrientationTag && tiff.u32(entry + 4) >= 1) {
            // A value that fits in four bytes stands in the entry itself,
            // left-aligned.
            const std::uint32_t value =
                type == kTypeShort ? tiff.u16(entry + 8) : type == kTypeLong ? tiff.u32(entry + 8) : 0;
            summary.orientation = value >= 1 && value <= 8 ? int(value) : 1;
        } else if (tag == kMakeTag) {
            summary.make = tiff.text(entry);
        } else if (tag == kModelTag) {
            summary.model = tiff.text(entry);
        } else if (tag == kDateTimeTag) {
            summary.dateTime = tiff.text(entry);
        } else if (tag == kExifIfdTag && type == kTypeLong) {
            exifIfd = tiff.u32(entry + 8);
        }
    }
    // The link to the next directory follows the entries.
    const std::size_t count = tiff.u16(ifd);
    const std::size_t link = ifd + 2 + count * kEntryBytes;
    if (count == present && link + 4 <= size)
        summary.hasThumbnail = tiff.u32(link) != 0;
    // The date taken lives in the Exif directory; it is looked at only once,
    // so a directory that points back at itself costs nothing more.
    const std::size_t exifPresent = exifIfd != ifd ? tiff.entriesPresent(exifIfd) : 0;
    for (std::size_t i = 0; i < exifPresent; ++i) {
        const std::size_t entry = exifIfd + 2 + i * kEntryBytes;
        if (tiff.u16(entry) == kDateTimeOriginalTag)
            summary.dateTimeOriginal = tiff.text(entry);
    }
    return summary;
}

}  // namespace tessaly
