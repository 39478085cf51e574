#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaly {

// A picture that a HEIF or AVIF file builds from other pictures: a 'grid'
// (tiles side by side) or an 'iovl' (pictures laid over a background).
// Its canvas size is written in the item's own few bytes of data and
// nowhere else.
struct HeifDerivedItem {
    std::uint32_t id = 0;
    std::uint32_t canvasWidth = 0;
    std::uint32_t canvasHeight = 0;
    // Coded bytes of the distinct pictures it is built from: what has to
    // paint the canvas.
    std::int64_t sourceBytes = 0;
};

struct HeifDerivedItems {
    std::vector<HeifDerivedItem> items;
    // Why the derived pictures cannot be decoded safely, or none: a grid or
    // overlay whose canvas cannot be found (its data lies outside the file,
    // or is shorter than its header); a derived picture ('grid', 'iovl' or
    // 'iden') built from an item that is missing or no picture, as libheif
    // sees the file; derived pictures built from one another in a cycle or
    // deeper than any camera nests them.
    const char* problem = nullptr;
    bool readable() const { return problem == nullptr; }
};

// Reads the item boxes of every top-level 'meta' box ('iinf', 'iloc',
// 'idat', 'iref') and lists each grid and overlay item with the canvas its
// data claims. Every read is checked against the bytes it comes from, and
// the work is linear in the file's size, whatever the file says; a file
// whose boxes cannot be walked gives what was found up to that point.
// Where libheif 1.15 reads the boxes differently from the format (only the
// first 'iinf'; references read one after another whatever their sizes
// say), what it would see is checked too.
HeifDerivedItems findHeifDerivedItems(const std::uint8_t* data, std::size_t size);

// What a HEIF or AVIF file says about its primary picture beside the
// pixels: the EXIF block (a TIFF structure) of its 'Exif' item and the XMP
// packet of its 'mime' item of type "application/rdf+xml" without a
// content encoding (of each, the one that describes the primary picture,
// else the first), and the ICC profile of its colour box, read from the
// first 'meta' box as libheif reads it, with the same checked reads; empty
// when missing, damaged or larger than a few megabytes.
struct HeifPhotoInformation {
    std::vector<std::uint8_t> exif;
    std::vector<std::uint8_t> iccProfile;
    std::vector<std::uint8_t> xmp;
};
HeifPhotoInformation findHeifPhotoInformation(const std::uint8_t* data, std::size_t size);

}  // namespace tessaly
