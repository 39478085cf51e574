#pragma once

#include "imaging/codecs/bytesource.h"

#include <QByteArray>
#include <QIODevice>
#include <cstdint>
#include <functional>

namespace tessaly {

// The markers (the code after 0xFF) of the application segments, from
// APP0 (JFIF) over APP1 (EXIF, XMP), APP2 (the colour profile) and APP14
// (Adobe's colour transform) to APP15, and of comments.
constexpr int kJpegApp0 = 0xE0, kJpegApp1 = 0xE1, kJpegApp2 = 0xE2, kJpegApp14 = 0xEE, kJpegApp15 = 0xEF,
              kJpegComment = 0xFE;

// One marker segment of a JPEG stream in front of its first scan.
struct JpegSegment {
    int marker = 0;              // the code after 0xFF: 0xE1 for APP1, 0xC0 for a frame header
    std::int64_t offset = 0;     // where its 0xFF stands
    std::int64_t payloadAt = 0;  // where its contents start, after the two length bytes
    std::int64_t payloadSize = 0;
    std::int64_t end() const { return payloadAt + payloadSize; }
};

// Gives up to `count` bytes of the stream from `at` (fewer at its end).
using JpegByteSource = ByteSource;

// The one walk over a JPEG stream's markers: from the start-of-image marker
// to the first scan (or the end marker), calling `visit` for every segment
// with a length, in order, until it returns false. Fill bytes and the
// markers without a length are passed over. A segment that does not lie
// wholly inside the `size` bytes, anything that is not a marker, and more
// steps than real files take end the walk there. Returns false when the
// stream does not start with a start-of-image marker.
bool walkJpegSegments(const JpegByteSource& read, std::int64_t size,
                      const std::function<bool(const JpegSegment&)>& visit);

// The same over bytes in memory.
bool walkJpegSegments(const QByteArray& bytes, const std::function<bool(const JpegSegment&)>& visit);

// A marker segment as it stands in a stream: 0xFF, the marker, the length
// (two bytes, big-endian, counting itself) and the payload, which must be
// under 65,534 bytes.
QByteArray jpegSegmentBytes(int marker, const QByteArray& payload);

// The contents of `segment` in `bytes`.
inline QByteArray segmentPayload(const QByteArray& bytes, const JpegSegment& segment)
{
    return bytes.mid(qsizetype(segment.payloadAt), qsizetype(segment.payloadSize));
}

}  // namespace tessaly
