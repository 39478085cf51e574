#include "imaging/photo/photodetails.h"

#include <cstdint>
#include <cstring>

namespace tessaly {

namespace {

constexpr std::uint16_t kMake = 0x010F, kModel = 0x0110, kDateTime = 0x0132, kExifIfd = 0x8769,
                        kDateTimeOriginal = 0x9003;
constexpr std::uint16_t kTypeAscii = 2, kTypeLong = 4;
constexpr std::size_t kEntryBytes = 12;

// The TIFF structure of an Exif segment, read with its byte order; reads
// outside it give 0.
class Tiff {
public:
    Tiff(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size)
    {
        m_valid = size >= 8 && (std::memcmp(data, "II*\0", 4) == 0 || std::memcmp(data, "MM\0*", 4) == 0);
        m_bigEndian = m_valid && data[0] == 'M';
    }
    bool valid() const { return m_valid; }
    std::uint32_t u16(std::size_t at) const
    {
        if (at > m_size || m_size - at < 2)
            return 0;
        const std::uint8_t* p = m_data + at;
        return m_bigEndian ? std::uint32_t(p[0] << 8 | p[1]) : std::uint32_t(p[1] << 8 | p[0]);
    }
    std::uint32_t u32(std::size_t at) const
    {
        return m_bigEndian ? (u16(at) << 16 | u16(at + 2)) : (u16(at + 2) << 16 | u16(at));
    }
    // The entry of `tag` in the directory at `ifd`, or 0.
    std::size_t find(std::size_t ifd, std::uint16_t tag) const
    {
        const std::size_t count = u16(ifd);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = ifd + 2 + i * kEntryBytes;
            if (entry + kEntryBytes > m_size)
                return 0;
            if (u16(entry) == tag)
                return entry;
        }
        return 0;
    }
    // An ASCII value up to its first NUL, trimmed; values of up to four
    // bytes stand in the entry itself.
    QString text(std::size_t ifd, std::uint16_t tag) const
    {
        const std::size_t entry = find(ifd, tag);
        if (entry == 0 || u16(entry + 2) != kTypeAscii)
            return {};
        const std::size_t length = u32(entry + 4);
        const std::size_t at = length <= 4 ? entry + 8 : u32(entry + 8);
        if (length == 0 || at > m_size || m_size - at < length)
            return {};
        const char* start = reinterpret_cast<const char*>(m_data + at);
        return QString::fromLatin1(start, qsizetype(strnlen(start, length))).simplified();
    }
    std::size_t pointer(std::size_t ifd, std::uint16_t tag) const
    {
        const std::size_t entry = find(ifd, tag);
        return entry && u16(entry + 2) == kTypeLong ? u32(entry + 8) : 0;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_valid = false;
    bool m_bigEndian = false;
};

// "2024:05:01 14:03:22" as "2024-05-01 14:03"; anything else as it is.
QString shownDate(QString date)
{
    if (date.size() >= 16 && date[4] == u':' && date[7] == u':') {
        date[4] = u'-';
        date[7] = u'-';
        return date.left(16);
    }
    return date;
}

}  // namespace

PhotoDetails readPhotoDetails(const QByteArray& jpeg)
{
    PhotoDetails details;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(jpeg.constData());
    const std::size_t size = std::size_t(jpeg.size());
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return details;
    // The markers before the first scan; Exif is an APP1 segment among them.
    std::size_t at = 2;
    while (at + 4 <= size && bytes[at] == 0xFF) {
        const std::uint8_t marker = bytes[at + 1];
        const std::size_t length = std::size_t(bytes[at + 2] << 8 | bytes[at + 3]);
        if (marker == 0xDA || marker == 0xD9 || length < 2 || at + 2 + length > size)
            break;
        const std::uint8_t* payload = bytes + at + 4;
        const std::size_t payloadSize = length - 2;
        if (marker == 0xE1 && payloadSize > 6 && std::memcmp(payload, "Exif\0\0", 6) == 0) {
            const Tiff tiff(payload + 6, payloadSize - 6);
            if (!tiff.valid())
                return details;
            const std::size_t ifd0 = tiff.u32(4);
            const QString make = tiff.text(ifd0, kMake);
            const QString model = tiff.text(ifd0, kModel);
            details.camera = model.startsWith(make, Qt::CaseInsensitive) || make.isEmpty()
                                 ? model
                                 : (model.isEmpty() ? make : make + u' ' + model);
            QString date;
            if (const std::size_t exif = tiff.pointer(ifd0, kExifIfd))
                date = tiff.text(exif, kDateTimeOriginal);
            if (date.isEmpty())
                date = tiff.text(ifd0, kDateTime);
            details.dateTaken = shownDate(date);
            return details;
        }
        at += 2 + length;
    }
    return details;
}

}  // namespace tessaly
