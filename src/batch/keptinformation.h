#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// The photo information a JPEG picture written from the source at
// `sourcePath` carries when the user keeps it, as marker segments for
// JpegOutput::setInformation: the source's EXIF (its orientation 1 when the
// run turned the picture upright, else the source's own; no thumbnail; the
// written size), its XMP, and its ICC profile while the pixels are still in
// it (a profile that the loader converted them from is left out: they are
// sRGB now). The GPS position goes along only with `keepLocation`. A JPEG
// source gives its segments rewritten (jpeginformation.h); a PNG, WebP,
// TIFF, HEIF or AVIF source its EXIF, XMP and profile
// (photoinformation.h), by the same rules. Nothing for other sources and for files that cannot be
// read.
QByteArray keptInformation(const QString& sourcePath, bool turnedUpright, bool keepLocation, int width, int height);

}  // namespace tessaly
