#include "imaging/photo/jpegmetadata.h"
#include "support/imagingtesttools.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::makeBitmap;

QByteArray smallJpeg()
{
    return testing::makeJpeg(makeBitmap(8, 8, [](int x, int y) { return testing::Rgb{x * 30, y * 30, 90}; }), false);
}

// A profile's worth of bytes, each chunk distinguishable.
QByteArray profileBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

// What the writer puts in, the reader gets back: all eight orientations in
// both byte orders, profiles in one chunk or many.
TEST(JpegMetadata, ReadsWhatWasWritten)
{
    const QByteArray jpeg = smallJpeg();
    for (int orientation = 1; orientation <= 8; ++orientation)
        for (const bool bigEndian : {false, true})
            for (const int chunk : {65519, 100, 5}) {
                const PhotoMetadata written{orientation, profileBytes(orientation * 97)};
                const PhotoMetadata read = readJpegMetadata(withJpegMetadata(jpeg, written, bigEndian, chunk));
                EXPECT_EQ(read.orientation, orientation) << bigEndian << " " << chunk;
                EXPECT_EQ(read.iccProfile, written.iccProfile) << orientation << " " << bigEndian << " " << chunk;
            }
}

// A segment as a JPEG stream holds it.
QByteArray segment(int marker, const QByteArray& payload)
{
    const int length = int(payload.size()) + 2;
    return QByteArray{"\xFF"} + char(marker) + char(length >> 8) + char(length & 0xFF) + payload;
}

QByteArray iccChunk(int number, int total, const QByteArray& data)
{
    return segment(0xE2, QByteArray("ICC_PROFILE\0", 12) + char(number) + char(total) + data);
}

QByteArray exifWith(const QByteArray& tiff)
{
    return segment(0xE1, QByteArray("Exif\0\0", 6) + tiff);
}

// Little-endian IFD0 with one orientation entry of `type` and `value`.
QByteArray tiffOrientation(int type, int value, int ifdOffset = 8)
{
    QByteArray tiff("II*\0", 4);
    tiff += char(ifdOffset) + QByteArray(3, '\0');
    tiff += QByteArray(ifdOffset - 8, '\0');
    tiff += QByteArray("\x01\x00\x12\x01", 4) + char(type) + QByteArray("\0\x01\0\0\0", 5) + char(value) +
            QByteArray(3, '\0');
    return tiff + QByteArray(4, '\0');
}

// Chunks are joined in their numbers' order, whatever order the file has;
// a profile with a chunk missing, repeated or numbered out of range is no
// profile; damaged or out-of-range orientations read as upright; a segment
// whose length runs past the data ends the reading, and nothing after the
// first scan counts.
TEST(JpegMetadata, DamagedAndUnusualSegments)
{
    const QByteArray jpeg = smallJpeg();
    const QByteArray a("first-"), b("second-"), c("third");
    const QByteArray soi = jpeg.left(2), rest = jpeg.mid(2);
    struct Case {
        const char* what;
        QByteArray segments;
        int orientation;
        QByteArray profile;
    };
    const Case cases[] = {
        {"chunks out of order", iccChunk(3, 3, c) + iccChunk(1, 3, a) + iccChunk(2, 3, b), 1, a + b + c},
        {"chunk missing", iccChunk(1, 3, a) + iccChunk(3, 3, c), 1, {}},
        {"chunk twice", iccChunk(1, 2, a) + iccChunk(1, 2, a) + iccChunk(2, 2, b), 1, {}},
        {"chunk number 0", iccChunk(0, 1, a), 1, {}},
        {"number above total", iccChunk(2, 1, a), 1, {}},
        {"totals disagree", iccChunk(1, 2, a) + iccChunk(2, 3, b), 1, {}},
        {"chunk header cut short", segment(0xE2, QByteArray("ICC_PROFILE\0\x01", 13)), 1, {}},
        {"orientation as SHORT", exifWith(tiffOrientation(3, 6)), 6, {}},
        {"orientation as LONG", exifWith(tiffOrientation(4, 8)), 8, {}},
        {"orientation 9", exifWith(tiffOrientation(3, 9)), 1, {}},
        {"orientation 0", exifWith(tiffOrientation(3, 0)), 1, {}},
        {"orientation of another type", exifWith(tiffOrientation(2, 6)), 1, {}},
        {"IFD past the end", exifWith(tiffOrientation(3, 6).left(12)), 1, {}},
        {"IFD further on", exifWith(tiffOrientation(3, 5, 20)), 5, {}},
        {"no byte order mark", exifWith(QByteArray("XX*\0\x08\0\0\0", 8) + QByteArray(18, '\x01')), 1, {}},
        {"second Exif segment ignored", exifWith(tiffOrientation(3, 3)) + exifWith(tiffOrientation(3, 6)), 3, {}},
        {"fill bytes before a marker", QByteArray("\xFF\xFF\xFF") + exifWith(tiffOrientation(3, 7)).mid(1), 7, {}},
        {"segment longer than the data", QByteArray("\xFF\xE1\x7F\xFF", 4) + exifWith(tiffOrientation(3, 6)), 1, {}},
        {"length below 2", QByteArray("\xFF\xE3\x00\x01", 4) + exifWith(tiffOrientation(3, 6)), 1, {}},
    };
    for (const Case& c : cases) {
        const PhotoMetadata read = readJpegMetadata(soi + c.segments + rest);
        EXPECT_EQ(read.orientation, c.orientation) << c.what;
        EXPECT_EQ(read.iccProfile, c.profile) << c.what;
    }
    // After the first scan: not read.
    const PhotoMetadata afterScan = readJpegMetadata(jpeg + exifWith(tiffOrientation(3, 6)));
    EXPECT_EQ(afterScan.orientation, 1);
    // Every prefix of a tagged stream reads without harm.
    const QByteArray tagged = withJpegMetadata(jpeg, {6, profileBytes(300)}, true, 120);
    for (qsizetype length = 0; length <= tagged.size(); ++length) {
        const PhotoMetadata read = readJpegMetadata(tagged.left(length));
        EXPECT_TRUE(read.orientation == 1 || read.orientation == 6);
        EXPECT_TRUE(read.iccProfile.isEmpty() || read.iccProfile == profileBytes(300));
    }
    EXPECT_EQ(readJpegMetadata(tagged.left(4000)).iccProfile, profileBytes(300));
}

}  // namespace
}  // namespace tessaly
