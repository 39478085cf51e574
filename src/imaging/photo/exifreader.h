#pragma once

#include <QByteArray>

namespace tessaly {

// What the program needs to know of an EXIF block (a TIFF header and its
// directories, as a JPEG's APP1 "Exif" segment, a PNG eXIf chunk or a WebP
// EXIF chunk carry it).
struct ExifSummary {
    // The camera orientation (IFD0 tag 0x0112, SHORT or LONG), 1 to 8;
    // 1 when missing, damaged or out of range.
    int orientation = 1;
    // IFD0 links to a second directory: the embedded thumbnail's.
    bool hasThumbnail = false;
    // IFD0 points to a GPS directory (tag 0x8825): the place of the photo.
    bool hasGps = false;
};

// Reads `block`, with or without the "Exif\0\0" in front of it. Only
// IFD0's entries that lie wholly inside the block are read, so the work is
// bounded by its size; anything damaged gives the defaults. Never throws.
ExifSummary readExif(const QByteArray& block);

}  // namespace tessaly
