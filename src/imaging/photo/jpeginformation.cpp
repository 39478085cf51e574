#include "imaging/photo/jpeginformation.h"

#include "imaging/codecs/jpegmarkers.h"

namespace tessaly {

QByteArray carriedSegments(const QByteArray& source, const CarriedInformation& carried)
{
    QByteArray segments;
    bool sawExif = false;
    walkJpegSegments(source, [&](const JpegSegment& segment) {
        const int marker = segment.marker;
        const QByteArray payload = segmentPayload(source, segment);
        if (marker == kJpegApp1 && payload.startsWith(QByteArray("Exif\0\0", 6))) {
            // A second EXIF block is no reader's: only the first counts.
            if (!sawExif)
                if (const auto exif = rewrittenExif(payload, carried.changes))
                    segments += jpegSegmentBytes(marker, *exif);
            sawExif = true;
        } else if (marker == kJpegApp1 && payload.startsWith(kXmpNamespace + '\0')) {
            if (const auto xmp = rewrittenXmp(payload, carried.changes))
                segments += jpegSegmentBytes(marker, *xmp);
        } else if (marker == kJpegApp2 && payload.startsWith(QByteArray("ICC_PROFILE\0", 12))) {
            if (carried.colourProfile)
                segments += jpegSegmentBytes(marker, payload);
        } else if (carried.everything &&
                   ((marker > kJpegApp2 && marker <= kJpegApp15 && marker != kJpegApp14) || marker == kJpegComment ||
                    (marker == kJpegApp1 && carried.changes.keepLocation))) {
            // IPTC (APP13), comments and other programs' segments. An APP1
            // of another kind (extended XMP) may hold a place, so it goes
            // along only with the location.
            segments += jpegSegmentBytes(marker, payload);
        }
        return true;
    });
    return segments;
}

QByteArray informationSegments(const QByteArray& exif, const QByteArray& xmp, const QByteArray& iccProfile,
                               int chunkBytes)
{
    QByteArray segments;
    if (!exif.isEmpty() && exif.size() <= 65533 - 6)
        segments += jpegSegmentBytes(kJpegApp1, QByteArray("Exif\0\0", 6) + exif);
    if (!xmp.isEmpty() && xmp.size() <= 65533)
        segments += jpegSegmentBytes(kJpegApp1, xmp);
    const qsizetype chunks = (iccProfile.size() + chunkBytes - 1) / chunkBytes;
    if (chunks > 255)
        return segments;
    for (qsizetype i = 0; i < chunks; ++i) {
        QByteArray chunk("ICC_PROFILE\0", 12);
        chunk += char(i + 1);
        chunk += char(chunks);
        chunk += iccProfile.mid(i * chunkBytes, chunkBytes);
        segments += jpegSegmentBytes(kJpegApp2, chunk);
    }
    return segments;
}

QByteArray withSegments(const QByteArray& jpeg, const QByteArray& segments)
{
    if (segments.isEmpty())
        return jpeg;
    qsizetype insertAt = 2;
    walkJpegSegments(jpeg, [&](const JpegSegment& segment) {
        if (segment.marker == kJpegApp0 && segmentPayload(jpeg, segment).startsWith(QByteArray("JFIF\0", 5)))
            insertAt = qsizetype(segment.end());
        return false;
    });
    return jpeg.left(insertAt) + segments + jpeg.mid(insertAt);
}

}  // namespace tessaly
