#include "batch/keptinformation.h"

#include "imaging/photo/colourprofile.h"
#include "imaging/photo/jpeginformation.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/photo/photoinformation.h"
#include "imaging/picture.h"
#include "platform/fileops.h"

#include <QFile>
#include <limits>

namespace tessaly {

QByteArray keptInformation(const QString& sourcePath, bool turnedUpright, bool keepLocation, int width, int height)
{
    const PictureKind kind = pictureKindForName(sourcePath);
    PhotoFormat format{};
    if (kind != PictureKind::Jpeg && !photoFormatOf(kind, format))
        return {};
    QFile file;
    if (openForReading(file, sourcePath).failed() || file.size() > std::numeric_limits<int>::max())
        return {};
    const QByteArray source = file.readAll();
    InformationChanges changes;
    changes.width = width;
    changes.height = height;
    changes.keepLocation = keepLocation;
    if (kind == PictureKind::Jpeg) {
        const PhotoMetadata metadata = readJpegMetadata(source);
        CarriedInformation carried;
        carried.changes = changes;
        carried.changes.orientation = turnedUpright ? 1 : metadata.orientation;
        carried.colourProfile = !changesOnWayToSrgb(metadata.iccProfile);
        return carriedSegments(source, carried);
    }
    // The other photo formats: their EXIF, XMP and profile through the
    // same rules, in the segments a JPEG file keeps them in.
    const PhotoFileInformation information = readPhotoInformation(source, format);
    changes.orientation = turnedUpright ? 1 : information.orientation;
    const QByteArray profile = changesOnWayToSrgb(information.iccProfile) ? QByteArray() : information.iccProfile;
    const QByteArray xmp = information.xmp.isEmpty()
                               ? QByteArray()
                               : rewrittenXmp(kXmpNamespace + '\0' + information.xmp, changes).value_or(QByteArray());
    return informationSegments(fittedExif(information.exif, changes).value_or(QByteArray()), xmp, profile);
}

}  // namespace tessaly
