#pragma once

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

// A WebP file that we wrote, `image`, with the EXIF block `exif`
// (a TIFF structure, as photoExifBlock gives it) rewritten as
// rewrittenExif does and put in by exiv2's writer for the format. None
// when either cannot be.
std::optional<QByteArray> withExifBlock(const QByteArray& image, const QByteArray& exif,
                                        const InformationChanges& changes);

inline const QByteArray kXmpNamespace = QByteArrayLiteral("http://ns.adobe.com/xap/1.0/");

}  // namespace tessaly
