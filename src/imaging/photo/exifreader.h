#pragma once

#include <QByteArray>
#include <QString>

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
    // The camera's make and model (IFD0), the date taken (the Exif
    // directory's DateTimeOriginal) and the date of the file (IFD0's
    // DateTime), as recorded ("2024:05:01 14:03:22"), trimmed; empty when
    // missing or damaged.
    QString make, model, dateTimeOriginal, dateTime;
};

// Reads `block`, with or without the "Exif\0\0" in front of it. Only the
// entries of IFD0 and of the Exif directory that lie wholly inside the block
// are read, so the work is bounded by its size; anything damaged gives the
// defaults. Never throws.
ExifSummary readExif(const QByteArray& block);

}  // namespace tessaly
