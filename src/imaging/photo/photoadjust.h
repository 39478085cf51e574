#pragma once

#include "imaging/photo/photooptions.h"
#include "imaging/picture.h"

namespace tessaly {

// Whether a photo with this metadata looks different from its stored
// pixels: a camera orientation other than upright, or a colour profile
// other than sRGB. Pictures for which it is false are never touched.
bool photoNeedsAdjusting(const PhotoMetadata& metadata);

// The one step between decoding and everything that uses a raster picture:
// its pixels converted from their colour profile to sRGB, then turned
// upright when `options` say so. The result carries no metadata (its
// pixels are sRGB, and upright when turned). A picture that needs nothing,
// and every metafile, comes back as it was, byte for byte. Throws
// std::bad_alloc when there is no memory for the turned picture.
Picture adjustPhoto(Picture picture, const PhotoOptions& options);

}  // namespace tessaly
