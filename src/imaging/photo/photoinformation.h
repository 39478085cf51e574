#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/photocodec.h"

#include <QByteArray>
#include <optional>

namespace tessaly {

// How the photo information of a source is to describe the picture written
// from it.
struct InformationChanges {
    // The orientation the written pixels are stored in (1: upright).
    int orientation = 1;
    // The written picture's size, put into the EXIF pixel dimensions where
    // the source gives them; 0 leaves them as they are.
    int width = 0;
    int height = 0;
    // Whether the place the photo was taken stays in it.
    bool keepLocation = true;
};

// The contents of a JPEG APP1 "Exif" segment ("Exif\0\0" and a TIFF
// structure) rewritten with exiv2: the orientation as asked, the embedded
// thumbnail removed (it would show the picture as it was stored), the
// pixel dimensions updated and, unless kept, the GPS directory removed.
// None when the block cannot be read or written back within one segment:
// the caller then leaves it out rather than copy an orientation that no
// longer holds.
std::optional<QByteArray> rewrittenExif(const QByteArray& segment, const InformationChanges& changes);

// The contents of a JPEG APP1 XMP segment (its namespace name, a zero byte
// and the packet) with its orientation set as asked and, unless kept, every
// GPS property removed. A packet that mentions neither comes back as it
// was; none when it cannot be read.
std::optional<QByteArray> rewrittenXmp(const QByteArray& segment, const InformationChanges& changes);

// What a photo file keeps beside its pixels, as pictures written from it
// take it: its EXIF block as it stands (a TIFF structure; empty when none),
// its colour profile and its XMP packet (each empty when none; a TIFF's is
// its tag 700) and the orientation its decoder reports for its pixels
// (HEIF and AVIF: 1, for libheif turns them while it decodes; TIFF: its own
// tag; PNG and WebP: their EXIF's). PNG, WebP, HEIF
// and AVIF files are read by photoBlocks; a TIFF file's tags are read by
// exiv2, its camera's taken into a block of their own (the make, model,
// dates, description, resolution, the Exif and GPS directories and maker
// notes, but none of the tags that lay out its pixels, nor other pages).
// Never throws; a damaged file gives what could be read.
struct PhotoFileInformation {
    QByteArray exif;
    QByteArray iccProfile;
    QByteArray xmp;
    int orientation = 1;
};
PhotoFileInformation readPhotoInformation(const QByteArray& bytes, PhotoFormat format);

// The one way a photo's EXIF block (a TIFF structure) is made fit for a
// picture written from it, whatever the formats: rewritten as rewrittenExif
// says, returned as a TIFF structure. None when the block is empty or
// cannot be read or written back.
std::optional<QByteArray> fittedExif(const QByteArray& exif, const InformationChanges& changes);

// `bitmap` encoded as encodePhoto does, with the EXIF block `exif` (a TIFF
// structure, as fittedExif gives it) where its format keeps it: a PNG's
// eXIf chunk and a HEIF or AVIF file's Exif item (encodePhoto), a WebP's
// EXIF chunk and a TIFF's own directories through exiv2's writers (for a
// TIFF only the camera's tags of the block, its pixels' tags staying the
// written ones). When exiv2 cannot put the block in, the file comes without
// it. Throws CodecError as encodePhoto does.
QByteArray encodePhotoWithExif(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile,
                               const QByteArray& exif);

inline const QByteArray kXmpNamespace = QByteArrayLiteral("http://ns.adobe.com/xap/1.0/");

}  // namespace tessaly
