#pragma once

#include "imaging/bitmap.h"

#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <functional>
#include <libheif/heif.h>

namespace tessaly::testing {

// Photo files as other programs write them, with the camera orientation
// each format carries.

// `image` written by Qt's writer for `format` ("png", "webp", "tiff"), set
// up by `configure` (quality, transformation) first.
QByteArray writtenByQt(const QImage& image, const char* format,
                       const std::function<void(QImageWriter&)>& configure = {});

// The CRC-32 of a PNG chunk's type and contents, which libpng checks.
std::uint32_t pngCrc(const QByteArray& typeAndContents);

// An EXIF block (little-endian TIFF header, one directory) giving only the
// orientation, as a SHORT (type 3) or a LONG (type 4).
QByteArray exifWithOrientation(int orientation, int type = 3);

// `png` with an eXIf chunk of `exif` before its end chunk.
QByteArray pngWithExif(QByteArray png, const QByteArray& exif);

// A WebP file in one chunk (as Qt writes it) in the extended form: a canvas
// of `width` by `height`, the picture, then an EXIF chunk of `exif`.
QByteArray webpWithExif(const QByteArray& simple, int width, int height, const QByteArray& exif);

// `bitmap` written by libheif at quality 90 with an orientation (as irot
// and imir boxes) and, when given, colour primaries and transfer as code
// points.
QByteArray writtenByLibheif(const Bitmap& bitmap, heif_compression_format compression, heif_orientation orientation,
                            int primaries = 0, int transfer = 0);

// `file`, as encodePhoto writes it in `format` (PNG, WebP or TIFF), with
// the XMP packet `xmp` where other programs put it: a PNG's iTXt chunk
// "XML:com.adobe.xmp" (deflated when `deflated`), a WebP's "XMP " chunk
// (the extended form, as it is written with a profile), a TIFF's tag 700
// (written by exiv2).
QByteArray withXmp(const QByteArray& file, const char* format, const QByteArray& xmp, bool deflated = false);

// `bitmap` written by libheif at quality 90 with the ICC profile, the EXIF
// block (a TIFF structure) and the XMP packet given (each left out when
// empty), as libheif keeps them:
// a colour box, an 'Exif' item and an "application/rdf+xml" 'mime' item
// that describe the picture.
QByteArray writtenByLibheif(const Bitmap& bitmap, heif_compression_format compression, const QByteArray& iccProfile,
                            const QByteArray& exif, const QByteArray& xmp);

}  // namespace tessaly::testing
