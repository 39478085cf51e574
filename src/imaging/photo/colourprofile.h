#pragma once

#include "imaging/bitmap.h"

#include <QByteArray>

namespace tessaly {

// Whether pixels described by the ICC profile `icc` change on the way to
// sRGB: false for no profile, a profile Little CMS cannot read, one that is
// not an RGB input, display or colour space profile, and one that maps
// colours as sRGB itself does (every sRGB profile, whoever wrote it), so
// that such pictures keep their bytes. Safe to call from several threads.
bool changesOnWayToSrgb(const QByteArray& icc);

// Converts `bitmap` from the colours `icc` describes to sRGB with the
// perceptual intent, in place; does nothing where changesOnWayToSrgb says
// false.
void convertToSrgb(Bitmap& bitmap, const QByteArray& icc);

}  // namespace tessaly
