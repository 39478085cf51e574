#pragma once

#include <QByteArray>

namespace tessaly {

// What a photo's file says about showing it, beyond its pixels: the camera
// orientation as the EXIF numbers 1 to 8 (1: the pixels are stored upright)
// and the embedded ICC colour profile (empty when the file carries none).
// Decoders fill it; the step after decoding turns and converts the pixels.
struct PhotoMetadata {
    int orientation = 1;
    QByteArray iccProfile;
};

}  // namespace tessaly
