#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/photocodec.h"

#include <QByteArray>
#include <QSize>

namespace tessaly {

// HEIF and AVIF through libheif, for photocodec.cpp: the first (primary)
// image of a file, and a bitmap written as one (with an Exif item holding
// `exif` when it is not empty). Throw CodecError.
DecodedPhoto decodeWithLibheif(const QByteArray& bytes, PhotoFormat format);
// The size decodeWithLibheif gives the primary picture, from the file's
// boxes as libheif reads them and after the same checks, without decoding.
// Throws CodecError where the decoder refuses the file before decoding.
QSize heifPictureSize(const QByteArray& bytes, PhotoFormat format);
QByteArray encodeWithLibheif(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile,
                             const QByteArray& exif);

}  // namespace tessaly
