#include "imaging/photo/jpegmetadata.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tessaly {

namespace {

constexpr std::uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kApp1 = 0xE1, kApp2 = 0xE2;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3, kTypeLong = 4;

// A bounded view of bytes; reads past the end give nothing.
struct Span {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    bool startsWith(const char* text, std::size_t length) const
    {
        return size >= length && std::memcmp(data, text, length) == 0;
    }
};

// Reads the orientation from a TIFF structure (the Exif payload after
// "Exif\0\0"): the byte order, then IFD0's entries. 1 when it is missing,
// damaged or not one of the eight orientations.
int orientationFromTiff(Span tiff)
{
    if (tiff.size < 8)
        return 1;
    bool bigEndian = false;
    if (tiff.startsWith("MM\0*", 4))
        bigEndian = true;
    else if (!tiff.startsWith("II*\0", 4))
        return 1;
    const auto u16 = [&](std::size_t at) -> std::uint32_t {
        const std::uint8_t* p = tiff.data + at;
        return bigEndian ? std::uint32_t(p[0] << 8 | p[1]) : std::uint32_t(p[1] << 8 | p[0]);
    };
    const auto u32 = [&](std::size_t at) -> std::uint32_t {
        return bigEndian ? (u16(at) << 16 | u16(at + 2)) : (u16(at + 2) << 16 | u16(at));
    };
    const std::size_t ifd = u32(4);
    if (ifd > tiff.size - 2)
        return 1;
    const std::size_t count = u16(ifd);
    constexpr std::size_t kEntryBytes = 12;
    // Only the entries that lie wholly inside the payload are read.
    const std::size_t present = (tiff.size - ifd - 2) / kEntryBytes;
    for (std::size_t i = 0; i < count && i < present; ++i) {
        const std::size_t entry = ifd + 2 + i * kEntryBytes;
        if (u16(entry) != kOrientationTag)
            continue;
        const std::uint32_t type = u16(entry + 2);
        if (u32(entry + 4) < 1)
            return 1;
        // A value that fits in four bytes stands in the entry itself,
        // left-aligned.
        const std::uint32_t value = type == kTypeShort ? u16(entry + 8) : type == kTypeLong ? u32(entry + 8) : 0;
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

// The chunks of an ICC profile as APP2 segments carry them: "ICC_PROFILE\0",
// the chunk's number (from 1), the number of chunks, then the data.
class IccChunks {
public:
    void add(Span payload)
    {
        constexpr std::size_t kHeader = 14;
        if (payload.size < kHeader) {
            m_damaged = true;
            return;
        }
        const int number = payload.data[12];
        const int total = payload.data[13];
        if (number < 1 || total < 1 || number > total || (m_total != 0 && total != m_total) ||
            m_present[std::size_t(number)]) {
            m_damaged = true;
            return;
        }
        m_total = total;
        const char* data = reinterpret_cast<const char*>(payload.data + kHeader);
        m_chunks[std::size_t(number)] = QByteArray(data, qsizetype(payload.size - kHeader));
        m_present[std::size_t(number)] = true;
    }

    // The profile when every chunk is there exactly once, else nothing.
    QByteArray profile() const
    {
        if (m_damaged || m_total == 0)
            return {};
        QByteArray whole;
        for (int number = 1; number <= m_total; ++number) {
            if (!m_present[std::size_t(number)])
                return {};
            whole += m_chunks[std::size_t(number)];
        }
        return whole;
    }

private:
    std::array<QByteArray, 256> m_chunks;
    std::array<bool, 256> m_present{};
    int m_total = 0;
    bool m_damaged = false;
};

}  // namespace

PhotoMetadata readJpegMetadata(const QByteArray& bytes)
{
    PhotoMetadata metadata;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const std::size_t size = std::size_t(bytes.size());
    if (size < 4 || data[0] != 0xFF || data[1] != kSoi)
        return metadata;

    bool sawExif = false;
    IccChunks icc;
    std::size_t at = 2;
    // Each step moves at least two bytes on, so the walk ends.
    while (at + 1 < size) {
        if (data[at] != 0xFF)
            break;  // not a marker: the stream is damaged here
        // Any number of 0xFF fill bytes may precede a marker.
        while (at + 1 < size && data[at + 1] == 0xFF)
            ++at;
        if (at + 1 >= size)
            break;
        const std::uint8_t marker = data[at + 1];
        at += 2;
        if (marker == kSos || marker == kEoi)
            break;
        // Markers without a length: TEM and the restart markers.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (at + 2 > size)
            break;
        const std::size_t length = std::size_t(data[at] << 8 | data[at + 1]);
        if (length < 2 || length > size - at)
            break;  // a segment cut short is not read
        const Span payload{data + at + 2, length - 2};
        if (marker == kApp1 && !sawExif && payload.startsWith("Exif\0\0", 6)) {
            sawExif = true;
            metadata.orientation = orientationFromTiff(Span{payload.data + 6, payload.size - 6});
        } else if (marker == kApp2 && payload.startsWith("ICC_PROFILE\0", 12)) {
            icc.add(payload);
        }
        at += length;
    }
    metadata.iccProfile = icc.profile();
    return metadata;
}

QByteArray withJpegMetadata(const QByteArray& jpeg, const PhotoMetadata& metadata, bool bigEndian, int chunkBytes)
{
    const auto segment = [](std::uint8_t marker, const QByteArray& payload) {
        QByteArray bytes;
        const qsizetype length = payload.size() + 2;
        bytes += char(0xFF);
        bytes += char(marker);
        bytes += char(length >> 8);
        bytes += char(length & 0xFF);
        return bytes + payload;
    };
    const auto u16 = [bigEndian](std::uint32_t value) {
        const char high = char(value >> 8), low = char(value & 0xFF);
        return bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1} : QByteArray{&low, 1} + QByteArray{&high, 1};
    };
    const auto u32 = [&](std::uint32_t value) {
        return bigEndian ? u16(value >> 16) + u16(value & 0xFFFF) : u16(value & 0xFFFF) + u16(value >> 16);
    };
    QByteArray segments;
    if (metadata.orientation != 1) {
        QByteArray exif("Exif\0\0", 6);
        exif += bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4);
        exif += u32(8) + u16(1);
        exif += u16(kOrientationTag) + u16(kTypeShort) + u32(1) + u16(std::uint32_t(metadata.orientation)) + u16(0);
        exif += u32(0);
        segments += segment(kApp1, exif);
    }
    const qsizetype size = metadata.iccProfile.size();
    const int chunks = int((size + chunkBytes - 1) / chunkBytes);
    for (int i = 0; i < chunks; ++i) {
        QByteArray chunk("ICC_PROFILE\0", 12);
        chunk += char(i + 1);
        chunk += char(chunks);
        chunk += metadata.iccProfile.mid(qsizetype(i) * chunkBytes, chunkBytes);
        segments += segment(kApp2, chunk);
    }
    return jpeg.left(2) + segments + jpeg.mid(2);
}

}  // namespace tessaly
