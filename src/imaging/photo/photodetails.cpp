#include "imaging/photo/photodetails.h"

#include "imaging/codecs/jpegmarkers.h"
#include "imaging/photo/exifreader.h"

namespace tessaly {

namespace {

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
    walkJpegSegments(jpeg, [&](const JpegSegment& segment) {
        const QByteArray payload = segmentPayload(jpeg, segment);
        if (segment.marker != kJpegApp1 || !payload.startsWith(QByteArrayView("Exif\0\0", 6)))
            return true;
        const ExifSummary exif = readExif(payload);
        details.camera = exif.model.startsWith(exif.make, Qt::CaseInsensitive) || exif.make.isEmpty()
                             ? exif.model
                             : (exif.model.isEmpty() ? exif.make : exif.make + u' ' + exif.model);
        details.dateTaken = shownDate(exif.dateTimeOriginal.isEmpty() ? exif.dateTime : exif.dateTimeOriginal);
        return false;
    });
    return details;
}

}  // namespace tessaly
