#include "imaging/photo/jpegmetadata.h"

#include "imaging/codecs/jpegmarkers.h"
#include "imaging/photo/exifreader.h"
#include "imaging/photo/jpeginformation.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tessaly {

namespace {

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
    bool sawExif = false;
    IccChunks icc;
    walkJpegSegments(bytes, [&](const JpegSegment& segment) {
        const Span payload{reinterpret_cast<const std::uint8_t*>(bytes.constData()) + segment.payloadAt,
                           std::size_t(segment.payloadSize)};
        if (segment.marker == kJpegApp1 && !sawExif && payload.startsWith("Exif\0\0", 6)) {
            sawExif = true;
            metadata.orientation = readExif(segmentPayload(bytes, segment)).orientation;
        } else if (segment.marker == kJpegApp2 && payload.startsWith("ICC_PROFILE\0", 12)) {
            icc.add(payload);
        }
        return true;
    });
    metadata.iccProfile = icc.profile();
    return metadata;
}

QByteArray withJpegMetadata(const QByteArray& jpeg, const PhotoMetadata& metadata, bool bigEndian, int chunkBytes)
{
    const auto u16 = [bigEndian](std::uint32_t value) {
        const char high = char(value >> 8), low = char(value & 0xFF);
        return bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1} : QByteArray{&low, 1} + QByteArray{&high, 1};
    };
    const auto u32 = [&](std::uint32_t value) {
        return bigEndian ? u16(value >> 16) + u16(value & 0xFFFF) : u16(value & 0xFFFF) + u16(value >> 16);
    };
    QByteArray exif;
    if (metadata.orientation != 1) {
        exif += bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4);
        exif += u32(8) + u16(1);
        exif += u16(kOrientationTag) + u16(kTypeShort) + u32(1) + u16(std::uint32_t(metadata.orientation)) + u16(0);
        exif += u32(0);
    }
    return jpeg.left(2) + informationSegments(exif, {}, metadata.iccProfile, chunkBytes) + jpeg.mid(2);
}

}  // namespace tessaly
