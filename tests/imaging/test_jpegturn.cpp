#include "filetools/picturerotation.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/jpegmarkers.h"
#include "imaging/photo/exifreader.h"
#include "imaging/photo/jpegturn.h"
#include "imaging/photo/orientation.h"
#include "imaging/rotation.h"
#include "support/imagingtesttools.h"

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::Rgb;

// Four blocks of colour with a gradient inside, so that a picture laid down
// the wrong way round differs everywhere.
Bitmap tiles(int width, int height)
{
    return testing::makeBitmap(width, height, [=](int x, int y) {
        return Rgb{x * 2 >= width ? 220 : 30, y * 2 >= height ? 200 : 40, (x * 5 + y * 3) % 256};
    });
}

QByteArray segment(int marker, const QByteArray& payload)
{
    const int length = int(payload.size()) + 2;
    return QByteArray{"\xFF"} + char(marker) + char(length >> 8) + char(length & 0xFF) + payload;
}

// A camera's EXIF block: make, model, date, a position, the orientation and
// a thumbnail.
QByteArray cameraExif(int orientation)
{
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Maker of Cameras";
    exif["Exif.Image.Model"] = "Model 7";
    exif["Exif.Photo.DateTimeOriginal"] = "2024:05:06 07:08:09";
    exif["Exif.Image.Orientation"] = std::uint16_t(orientation);
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLatitude"] = "52/1 30/1 0/1";
    const QByteArray thumbnail = testing::makeJpeg(tiles(16, 8), false, 80);
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumbnail.constData()),
                                            long(thumbnail.size()));
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
    return QByteArray("Exif\0\0", 6) + QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
}

// A photo as a camera writes it: EXIF, XMP, IPTC and a colour profile in
// front of the picture.
QByteArray cameraJpeg(const Bitmap& stored, int orientation)
{
    const QByteArray jpeg = testing::makeJpeg(stored, false, 92);
    const QByteArray segments =
        segment(0xE1, cameraExif(orientation)) +
        segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta xmlns:x='adobe:ns:meta/'/>", 66)) +
        segment(0xED, QByteArray("Photoshop 3.0\0IPTC", 18)) +
        segment(0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + QByteArray("profile bytes"));
    return jpeg.left(2) + segments + jpeg.mid(2);
}

// The payloads of every segment with `marker` whose payload starts with
// `prefix`.
QList<QByteArray> payloads(const QByteArray& jpeg, int marker, const QByteArray& prefix)
{
    QList<QByteArray> found;
    walkJpegSegments(jpeg, [&](const JpegSegment& s) {
        if (s.marker == marker && segmentPayload(jpeg, s).startsWith(prefix))
            found += segmentPayload(jpeg, s);
        return true;
    });
    return found;
}

std::string exifValue(const QByteArray& jpeg, const char* key)
{
    const QList<QByteArray> blocks = payloads(jpeg, 0xE1, QByteArray("Exif\0\0", 6));
    if (blocks.size() != 1)
        return "(" + std::to_string(blocks.size()) + " EXIF blocks)";
    Exiv2::ExifData exif;
    Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(blocks[0].constData()) + 6,
                              std::uint32_t(blocks[0].size() - 6));
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() ? "(none)" : it->toString();
}

int largestDifference(const Bitmap& a, const Bitmap& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return 256;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 3; ++x)
            largest = std::max(largest, std::abs(int(a.row(y)[x]) - int(b.row(y)[x])));
    return largest;
}

// Every camera orientation, mirrored ones included, combined with a quarter
// turn either way: the coefficients move once (no second compression), the
// result is stored upright as the user saw it turned, and keeps its camera
// information with orientation 1 and no (sideways) thumbnail.
TEST(JpegTurn, CombinesTheCameraOrientationWithTheTurn)
{
    const Bitmap stored = tiles(48, 32);
    for (int orientation = 1; orientation <= 8; ++orientation)
        for (const int quarters : {1, 3}) {
            SCOPED_TRACE("orientation " + std::to_string(orientation) + ", quarters " + std::to_string(quarters));
            const QByteArray source = cameraJpeg(stored, orientation);
            const TurnedJpeg turned = turnJpegFile(source, orientation, quarters, 90);
            EXPECT_TRUE(turned.lossless);
            const Bitmap upright = turnedUpright(decodeJpeg(source), orientation);
            const Bitmap expected = quarters == 1 ? rotateClockwise(upright) : rotateCounterClockwise(upright);
            // The inverse transform's rounding differs a little across the
            // diagonal; a second compression or a wrong way round is far more.
            EXPECT_LE(largestDifference(decodeJpeg(turned.fileBytes), expected), 3);
            const ExifSummary exif = readExif(payloads(turned.fileBytes, 0xE1, "Exif").value(0));
            EXPECT_EQ(exif.orientation, 1);
            EXPECT_FALSE(exif.hasThumbnail);
            EXPECT_TRUE(exif.hasGps);
            EXPECT_EQ(exifValue(turned.fileBytes, "Exif.Image.Model"), "Model 7");
        }
}

// Four clockwise turns of a camera photo, each written over the file, give
// back its pixels bit for bit, and it keeps its camera information, XMP,
// IPTC and colour profile; the preview shows what the file holds.
TEST(JpegTurn, FourTurnsGiveBackThePixelsAndKeepTheInformation)
{
    const QByteArray original = cameraJpeg(tiles(64, 48), 1);
    QByteArray file = original;
    for (int turn = 0; turn < 4; ++turn) {
        TurnSource source{file, true};
        const Picture shown = decodePicture(file, QStringLiteral("p.jpg"));
        const TurnedPicture turned = turnPicture(shown, TurnDirection::Clockwise, 90, &source);
        EXPECT_EQ(turned.picture.raster(), decodePicture(turned.fileBytes, QStringLiteral("p.jpg")).raster());
        file = turned.fileBytes;
    }
    EXPECT_EQ(decodeJpeg(file), decodeJpeg(original));
    EXPECT_EQ(exifValue(file, "Exif.Image.Make"), "Maker of Cameras");
    EXPECT_EQ(exifValue(file, "Exif.Photo.DateTimeOriginal"), "2024:05:06 07:08:09");
    for (const auto& [marker, prefix] : {std::pair{0xE1, QByteArray("http://ns.adobe.com/xap/1.0/")},
                                         std::pair{0xED, QByteArray("Photoshop 3.0")},
                                         std::pair{0xE2, QByteArray("ICC_PROFILE")}})
        EXPECT_EQ(payloads(file, marker, prefix), payloads(original, marker, prefix)) << prefix.constData();
}

// A picture that is not a whole number of blocks cannot be turned
// perfectly: it is decoded, turned and encoded at the quality given, and
// still keeps its camera information. A photo shown as stored (the
// orientation not applied) is turned as shown.
TEST(JpegTurn, OddSizesAndPhotosShownAsStored)
{
    const Bitmap stored = tiles(37, 21);
    const QByteArray source = cameraJpeg(stored, 6);
    const TurnedJpeg odd = turnJpegFile(source, 6, 1, 90);
    EXPECT_FALSE(odd.lossless);
    EXPECT_EQ(decodeJpeg(odd.fileBytes).width(), 37);
    EXPECT_EQ(exifValue(odd.fileBytes, "Exif.Image.Model"), "Model 7");
    EXPECT_EQ(readExif(payloads(odd.fileBytes, 0xE1, "Exif").value(0)).orientation, 1);

    const QByteArray whole = cameraJpeg(tiles(48, 32), 6);
    TurnSource asStored{whole, false};
    const Picture shown = decodePicture(whole, QStringLiteral("p.jpg"), PhotoOptions{false});
    const TurnedPicture turned = turnPicture(shown, TurnDirection::CounterClockwise, 90, &asStored);
    EXPECT_LE(largestDifference(turned.picture.raster(), rotateCounterClockwise(shown.raster())), 3);
    // Given no file, the picture shown is turned and encoded as before.
    EXPECT_EQ(turnPicture(shown, TurnDirection::Clockwise, 90).fileBytes,
              encodeJpeg(rotateClockwise(shown.raster()), 90));
}

}  // namespace
}  // namespace tessaly
