#pragma once

#include "imaging/codecs/bytesource.h"

#include <QByteArray>
#include <QSize>
#include <cstdint>
#include <optional>

// The chunk lists of PNG and WebP files, read through bounded sources: every
// chunk is checked to lie inside the file before it is read. The decoder,
// the header reader and the photo information share them.

namespace tessaly {

// libpng reports a file cut short in its image data only as a warning and
// Qt then keeps the rows it got, so the chunk list is walked first: every
// chunk must lie inside the file, and the end chunk must be there. An
// animation control chunk says the file is an animated PNG, whose further
// frames Qt does not read; an eXIf chunk may give the camera orientation
// (the last one counts).
struct PngLayout {
    QByteArray header;  // the contents of the IHDR chunk
    bool animated = false;
    QByteArray exif;
    // The iCCP chunk's contents: the profile's name, a zero, the method
    // (0: deflate) and the compressed profile.
    QByteArray compressedProfile;
    // The contents of the first iTXt chunk holding XMP.
    QByteArray xmpText;
    // Where the first image data chunk starts.
    qsizetype firstImageData = 0;
};
PngLayout checkedPngChunks(const ByteSource& read, std::int64_t size);

// The size in a PNG's IHDR chunk, when libpng takes the chunk: 13 bytes,
// each side from 1 to libpng's default limit of a million pixels, a bit
// depth its colour type allows, and the only compression, filter and
// interlace methods there are.
std::optional<QSize> pngHeaderSize(const QByteArray& header);

// A WebP file is one RIFF chunk whose length its header gives; a file
// shorter than that has lost its end.
void checkRiffLength(const ByteSource& read, std::int64_t size);

// The first chunk of type `wanted` of a WebP file (in its extended form),
// or none; webpExif gives its EXIF chunk.
QByteArray webpChunk(const ByteSource& read, std::int64_t size, const char* wanted);
QByteArray webpExif(const ByteSource& read, std::int64_t size);

// The size of the picture a WebP file holds: its first chunk's frame, or
// the canvas of the extended form, which for a still picture libwebp
// requires to be its frame's size and which an animation's frames are
// laid on.
std::optional<QSize> webpSize(const ByteSource& read, std::int64_t size);

// The profile of a PNG iCCP chunk, inflated; none when damaged or larger
// than 4 MB.
QByteArray pngProfile(const QByteArray& chunk);

// The XMP packet of an iTXt chunk holding XMP: after the keyword come the
// compression flag (0 or 1) and method (0: deflate), a language tag and a
// translated keyword, each ended by a zero, then the text, deflated when
// the flag says so. None when damaged or larger than 4 MB.
QByteArray pngXmp(const QByteArray& chunk);

// `png` with an eXIf chunk holding `exif` before its image data, where the
// format wants it.
QByteArray withPngExif(const QByteArray& png, const QByteArray& exif);

}  // namespace tessaly
