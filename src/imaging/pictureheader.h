#pragma once

#include "imaging/photo/photooptions.h"

#include <QSize>
#include <QString>
#include <optional>

namespace tessaly {

// The size LoadPicture gives the picture at `path` (upright when photos are
// turned), read from its file's header alone, without decoding a pixel:
// for JPEG the frame header and the Exif orientation before the first
// scan, for GIF the logical screen, for BMP the header checked as the
// decoder checks it, for the photo formats what readPhotoHeader reads
// (photocodec.h). None when the header alone does not tell: metafiles,
// whose loading reads only their header anyway, and headers the decoder
// would refuse, which only loading can judge. Data damaged behind a sound
// header is found by the decode only. Never throws.
std::optional<QSize> pictureSizeFromHeader(const QString& path, const PhotoOptions& photo);

}  // namespace tessaly
