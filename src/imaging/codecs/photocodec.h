#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/bytesource.h"
#include "imaging/photometadata.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace tessaly {

// The photo formats read through Qt's image plugins (PNG, WebP, TIFF) and
// libheif (HEIF with HEVC, AVIF with AV1).
enum class PhotoFormat { Png, Webp, Tiff, Heif, Avif };

// A photo decoded to our 24-bit bitmap, stored as the file holds it: not
// turned and not colour-converted (the metadata says how to do both).
struct DecodedPhoto {
    Bitmap bitmap;
    PhotoMetadata metadata;
    // The file holds further pages, frames or images beyond the one read.
    bool morePictures = false;
    // Some pixels were see-through and now show the white behind them.
    bool transparent = false;
    // The file holds more than 8 bits a channel; the bitmap has 8.
    bool deepColour = false;
};

// Decodes the first picture of a file: transparent parts on white. The
// size its header claims is checked against the bitmap limit and against
// the data behind it before anything is allocated. PNG and WebP are read in
// this process (libpng and libwebp are hardened against hostile files);
// TIFF (libtiff) and HEIF/AVIF (libheif, libde265, dav1d) are read in the
// decoder program `tessaly-photo-decoder` with limits on memory and time,
// so a file that crashes or exhausts them costs only that process. Throws
// CodecError.
DecodedPhoto decodePhoto(const QByteArray& bytes, PhotoFormat format);

// The same, always in this process: what the decoder program and the
// fuzzers run. Throws CodecError.
DecodedPhoto decodePhotoHere(const QByteArray& bytes, PhotoFormat format);

// Encodes a bitmap in a photo format with the colour profile given (none
// when empty) and no orientation: PNG and TIFF losslessly, WebP, HEIF and
// AVIF lossy at `quality` (1 to 100). An EXIF block `exif` (a TIFF
// structure; none when empty) goes into a PNG's eXIf chunk, before the
// image data, and into a HEIF or AVIF file's Exif item; WebP and TIFF take
// theirs through exiv2 (encodePhotoWithExif in photoinformation.h). Throws
// CodecError when the format cannot be written here (no encoder installed).
QByteArray encodePhoto(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile = {},
                       const QByteArray& exif = {});

// What a photo file keeps beside its pixels, found by the same bounded
// walks of its chunks or boxes as the decoder's, without decoding it: the
// EXIF block (a TIFF structure, without the "Exif\0\0" JPEG files put in
// front of it) of a PNG's eXIf chunk, a WebP's EXIF chunk or the Exif item
// of a HEIF or AVIF file's primary picture, and the ICC profile of a PNG's
// iCCP chunk, a WebP's ICCP chunk or that picture's colour box, and the
// XMP packet of a PNG's "XML:com.adobe.xmp" iTXt chunk (inflated when
// compressed), a WebP's "XMP " chunk or the "application/rdf+xml" item of
// that picture. Empty for what a file does not hold, for damaged files and
// for TIFF files, whose tags exiv2 reads (photoinformation.h).
struct PhotoBlocks {
    QByteArray exif;
    QByteArray iccProfile;
    QByteArray xmp;
};
PhotoBlocks photoBlocks(const QByteArray& bytes, PhotoFormat format);

// What decodePhoto reports of a file's picture, read from the file's
// header: its size as stored and its camera orientation.
struct PhotoHeader {
    int width = 0;
    int height = 0;
    int orientation = 1;
};

// The header of the photo file of `size` bytes that `read` gives, without
// decoding: a PNG's IHDR and eXIf chunks, a WebP's frame or canvas and EXIF
// chunk, a TIFF's first directory (libtiff's directory reading, as Qt's
// reader starts) and the primary picture of a HEIF or AVIF file as libheif
// reads its boxes (after the file's own turn and crop, which libheif
// applies while decoding: orientation 1). Only the chunk and box headers
// and the parts named are read, except for HEIF and AVIF, whose file libheif
// reads whole. Whatever it gives is what decodePhoto gives when it decodes
// the file; where the header alone does not say, none, and where the
// decoder refuses the file for what its header says, CodecError (both leave
// the file to the decoder). Damage behind a sound header is found by
// decoding only.
std::optional<PhotoHeader> readPhotoHeader(const ByteSource& read, std::int64_t size, PhotoFormat format);

// The decoder program's end: decodes standard input as `format` and writes
// the result in the form decodePhoto reads. Returns the exit status.
int runPhotoDecoder(PhotoFormat format);

// The format's word on the decoder program's command line ("tiff", ...).
const char* photoFormatWord(PhotoFormat format);
bool photoFormatFromWord(const char* word, PhotoFormat& format);

}  // namespace tessaly
