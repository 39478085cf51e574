#include "imaging/photo/photoadjust.h"

#include "imaging/photo/colourprofile.h"
#include "imaging/photo/orientation.h"

namespace tessaly {

namespace {

bool isTurned(int orientation)
{
    return orientation >= 2 && orientation <= 8;
}

}  // namespace

bool photoNeedsAdjusting(const PhotoMetadata& metadata)
{
    return isTurned(metadata.orientation) || changesOnWayToSrgb(metadata.iccProfile);
}

Picture adjustPhoto(Picture picture, const PhotoOptions& options)
{
    if (picture.kind() == PictureKind::Metafile || picture.isEmpty())
        return picture;
    const PhotoMetadata metadata = picture.metadata();
    const bool turn = options.turnUpright && isTurned(metadata.orientation);
    const bool convert = changesOnWayToSrgb(metadata.iccProfile);
    if (!turn && !convert)
        return picture;
    Bitmap raster = picture.takeRaster();
    // Converted first, while the rows are still the stored ones: the
    // conversion works pixel by pixel and does not care.
    if (convert)
        convertToSrgb(raster, metadata.iccProfile);
    if (turn)
        raster = turnedUpright(std::move(raster), metadata.orientation);
    picture.putAdjustedRaster(std::move(raster));
    return picture;
}

}  // namespace tessaly
