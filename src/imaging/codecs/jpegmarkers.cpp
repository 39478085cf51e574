#include "imaging/codecs/jpegmarkers.h"

namespace tessaly {

namespace {

constexpr int kSos = 0xDA, kEoi = 0xD9;

// Real files have a few dozen segments before the first scan (a large
// preview or a colour profile comes in pieces of 64 KB); a stream that
// needs more steps than this is not worth walking further.
constexpr int kMaxSteps = 4096;

int byteAt(const QByteArray& bytes, qsizetype at)
{
    return int(static_cast<unsigned char>(bytes[at]));
}

}  // namespace

bool walkJpegSegments(const JpegByteSource& read, std::int64_t size,
                      const std::function<bool(const JpegSegment&)>& visit)
{
    if (read(0, 2) != QByteArrayLiteral("\xff\xd8"))
        return false;
    std::int64_t at = 2;
    // Each step moves at least one byte on, so the walk ends.
    for (int step = 0; step < kMaxSteps; ++step) {
        const QByteArray head = read(at, 4);
        if (head.size() < 2 || byteAt(head, 0) != 0xFF)
            return true;  // not a marker: the stream is damaged here
        const int marker = byteAt(head, 1);
        if (marker == 0xFF) {  // a fill byte before the marker
            at += 1;
            continue;
        }
        if (marker == kSos || marker == kEoi)
            return true;
        // Markers without a length: TEM and the restart markers.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (head.size() < 4)
            return true;
        const std::int64_t length = byteAt(head, 2) << 8 | byteAt(head, 3);
        if (length < 2 || length > size - at - 2)
            return true;  // a segment cut short is not read
        JpegSegment segment;
        segment.marker = marker;
        segment.offset = at;
        segment.payloadAt = at + 4;
        segment.payloadSize = length - 2;
        if (!visit(segment))
            return true;
        at = segment.end();
    }
    return true;
}

bool walkJpegSegments(const QByteArray& bytes, const std::function<bool(const JpegSegment&)>& visit)
{
    const JpegByteSource read = [&bytes](std::int64_t at, std::int64_t count) {
        return bytes.mid(qsizetype(at), qsizetype(count));
    };
    return walkJpegSegments(read, bytes.size(), visit);
}

QByteArray jpegSegmentBytes(int marker, const QByteArray& payload)
{
    QByteArray bytes;
    const qsizetype length = payload.size() + 2;
    bytes += char(0xFF);
    bytes += char(marker);
    bytes += char(length >> 8);
    bytes += char(length & 0xFF);
    return bytes + payload;
}

}  // namespace tessaly
