#pragma once

#include <QByteArray>

namespace tessaly {

// A JPEG file turned by a quarter turn, stored upright.
struct TurnedJpeg {
    QByteArray fileBytes;
    // The picture's coefficients were moved, not decoded and encoded again.
    bool lossless = false;
};

// Turns the JPEG file `jpeg` as it is shown (its camera orientation
// `shownOrientation` applied first; 1 when it is shown as stored) by
// `quarterTurns` clockwise (1 or 3), into a file whose pixels are stored
// that way round, with orientation 1. The camera orientation and the
// user's turn are one transform of the coefficients (libjpeg-turbo's
// lossless transform) when it is perfect: the picture is a whole number of
// blocks along the edges the transform moves. Otherwise the picture is
// decoded, turned and encoded at `quality`. Either way the file keeps its
// EXIF (orientation 1, the embedded thumbnail removed), XMP, IPTC, comments
// and ICC profile. Throws CodecError when the file cannot be read.
TurnedJpeg turnJpegFile(const QByteArray& jpeg, int shownOrientation, int quarterTurns, int quality);

}  // namespace tessaly
