#include "batch/keptinformation.h"

#include "imaging/photo/colourprofile.h"
#include "imaging/photo/jpeginformation.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/picture.h"
#include "platform/fileops.h"

#include <QFile>
#include <limits>

namespace tessaly {

QByteArray keptInformation(const QString& sourcePath, bool turnedUpright, bool keepLocation, int width, int height)
{
    if (pictureKindForName(sourcePath) != PictureKind::Jpeg)
        return {};
    QFile file;
    if (openForReading(file, sourcePath).failed() || file.size() > std::numeric_limits<int>::max())
        return {};
    const QByteArray source = file.readAll();
    const PhotoMetadata metadata = readJpegMetadata(source);
    CarriedInformation carried;
    carried.changes.orientation = turnedUpright ? 1 : metadata.orientation;
    carried.changes.width = width;
    carried.changes.height = height;
    carried.changes.keepLocation = keepLocation;
    carried.colourProfile = !changesOnWayToSrgb(metadata.iccProfile);
    return carriedSegments(source, carried);
}

}  // namespace tessaly
