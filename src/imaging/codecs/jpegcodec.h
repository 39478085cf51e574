#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/indexedimage.h"
#include "imaging/sourcerows.h"

#include <QByteArray>
#include <QIODevice>
#include <cstdint>
#include <optional>

namespace tessaly {

// Decodes a JPEG stream at full size with the accurate integer transform
// into 24-bit colour. Greyscale becomes grey RGB; CMYK and YCCK (as Adobe
// programs write them, inverted) are turned into RGB. Throws CodecError.
Bitmap decodeJpeg(const QByteArray& bytes);

// The reduction libjpeg's scaled decoding (scale_denom) gives a `width` by
// `height` JPEG for a view at least `atLeastWidth` by `atLeastHeight`: the
// largest of 8, 4 and 2 whose reduced size (each side divided, rounded up)
// is still at least that large, else 1.
int jpegReduction(int width, int height, int atLeastWidth, int atLeastHeight);

// Decodes a JPEG stream reduced by jpegReduction while decoding (libjpeg
// transforms each block straight to the smaller size, which costs a
// fraction of the whole decode): for showing a picture smaller than it is,
// never for a run's pictures. Colours as decodeJpeg's, and the same
// refusals, of the full size and of damaged data. Throws CodecError.
Bitmap decodeJpegReduced(const QByteArray& bytes, int atLeastWidth, int atLeastHeight);

// Decodes the rows `rows` was reset for (to the stream's own size) and
// nothing else of their pixels: the rows between are skipped, their
// entropy-coded data read but neither transformed nor converted. Every row
// kept is the same, byte for byte, as the same row of decodeJpeg. The whole
// stream is still read; a stream decodeJpeg refuses or finds damaged, and
// one with more scans than real files have, throws CodecError, so that what
// becomes of it is left to decodeJpeg.
void decodeJpegRows(const QByteArray& bytes, SourceRows& rows);

// The width and height a JPEG stream claims, without decoding it.
void readJpegSize(const QByteArray& bytes, int& width, int& height);

// decodeJpeg's refusal of a size: none at all, more than a bitmap holds,
// or more pixels than `fileBytes` of JPEG data stand for. Throws CodecError.
void checkJpegClaimedSize(int width, int height, std::int64_t fileBytes);

// What the frame header of a JPEG stream says about the work of decoding
// it, found without libjpeg by walking the markers in front of it.
struct JpegFrame {
    int width = 0;
    int height = 0;
    bool progressive = false;
    // What libjpeg holds while it decodes: for a progressive (or other
    // multi-scan) stream the coefficients of the whole picture, else
    // nothing that grows with the picture.
    std::int64_t coefficientBytes = 0;
    // Where the frame header starts: what comes before it is metadata
    // that costs no decoding.
    std::int64_t offset = 0;
};

// The frame header of the JPEG stream at the position of `device`, which
// is left anywhere after it; none when there is no complete one. Metadata
// in front of it is passed over without being read. Only an estimate for
// planning work: the decoders read the header themselves.
std::optional<JpegFrame> peekJpegFrame(QIODevice& device);

// Compresses a bitmap as a baseline JFIF stream: the library's defaults with
// `quality` (1 to 100) set through baseline-forced tables, RGB input.
QByteArray jfifBytes(const Bitmap& bitmap, int quality);

// Decodes a JPEG stream into a palette picture of at most `colors` colours,
// with the library's two-pass quantiser and Floyd-Steinberg dithering.
IndexedImage decodeJpegQuantized(const QByteArray& bytes, int colors);

}  // namespace tessaly
