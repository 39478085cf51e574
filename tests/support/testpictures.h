#pragma once

#include <QString>

namespace tessaly::testing {

// Writes a small picture of `width` by `height` in the format its name
// calls for (jpg, gif, bmp, emf, wmf, and the photo formats png, webp,
// tif, heic, avif), made by our own encoders.
QString writePicture(const QString& path, int width, int height);

}  // namespace tessaly::testing
