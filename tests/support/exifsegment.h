#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace tessaly::testing {

// One entry of an Exif directory: ASCII text (with its NUL), or, with no
// text, the pointer to the Exif directory (tag 0x8769) or a SHORT value
// (the orientation, tag 0x0112).
struct ExifEntry {
    std::uint16_t tag;
    QByteArray text;
    std::uint16_t value = 0;
};

// A little-endian Exif APP1 segment (marker included): IFD0 with `ifd0`,
// then the Exif directory with `exif`, which a pointer entry in IFD0 leads
// to. Texts of more than four bytes follow their directory.
QByteArray exifSegment(const std::vector<ExifEntry>& ifd0, const std::vector<ExifEntry>& exif);

// `jpeg` with `segment` right after its start-of-image marker.
QByteArray withSegment(const QByteArray& jpeg, const QByteArray& segment);

}  // namespace tessaly::testing
