#include "filetools/picturerotation.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/jpegmarkers.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/photo/exifreader.h"
#include "imaging/photo/jpeginformation.h"
#include "imaging/photo/jpegturn.h"
#include "imaging/photo/orientation.h"
#include "imaging/photo/photoinformation.h"
#include "imaging/rotation.h"
#include "support/cameraphoto.h"
#include "support/imagingtesttools.h"

#include <QColorSpace>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::cameraJpeg;
using testing::exifValue;
using testing::Rgb;

// Four blocks of colour with a gradient inside, so that a picture laid down
// the wrong way round differs everywhere.
Bitmap tiles(int width, int height)
{
    return testing::makeBitmap(width, height, [=](int x, int y) {
        return Rgb{x * 2 >= width ? 220 : 30, y * 2 >= height ? 200 : 40, (x * 5 + y * 3) % 256};
    });
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
            const ExifSummary exif = readExif(testing::segmentPayloads(turned.fileBytes, 0xE1, "Exif").value(0));
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
    const std::pair<int, QByteArray> kept[] = {
        {0xE1, "http://ns.adobe.com/xap/1.0/"}, {0xED, "Photoshop 3.0"}, {0xE2, "ICC_PROFILE"}};
    for (const auto& [marker, prefix] : kept)
        EXPECT_EQ(testing::segmentPayloads(file, marker, prefix), testing::segmentPayloads(original, marker, prefix))
            << prefix.constData();
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
    EXPECT_EQ(readExif(testing::segmentPayloads(odd.fileBytes, 0xE1, "Exif").value(0)).orientation, 1);

    const QByteArray whole = cameraJpeg(tiles(48, 32), 6);
    TurnSource asStored{whole, false};
    const Picture shown = decodePicture(whole, QStringLiteral("p.jpg"), PhotoOptions{false});
    const TurnedPicture turned = turnPicture(shown, TurnDirection::CounterClockwise, 90, &asStored);
    EXPECT_LE(largestDifference(turned.picture.raster(), rotateCounterClockwise(shown.raster())), 3);
    // Given no file, the picture shown is turned and encoded as before.
    EXPECT_EQ(turnPicture(shown, TurnDirection::Clockwise, 90).fileBytes,
              jfifBytes(rotateClockwise(shown.raster()), 90));
}

// A photo of every other format turned as shown keeps its camera
// information in its format's own place (orientation 1, the turned size, no
// thumbnail) and its colour profile, as our reader reads them back. HEIF
// and AVIF files are shown as libheif decodes them: it does not turn them
// by their EXIF.
TEST(JpegTurn, PhotosOfEveryFormatKeepTheirExif)
{
    InformationChanges taken;
    taken.orientation = 6;
    const std::optional<QByteArray> exif = fittedExif(
        testing::segmentPayloads(cameraJpeg(tiles(8, 8), 1), 0xE1, "Exif").value(0).mid(6), taken);
    ASSERT_TRUE(exif);
    const QByteArray profile = QColorSpace(QColorSpace::SRgb).iccProfile();
    const struct {
        PhotoFormat format;
        int storedOrientation;
    } rows[] = {{PhotoFormat::Png, 6}, {PhotoFormat::Webp, 6}, {PhotoFormat::Tiff, 6}, {PhotoFormat::Heif, 1},
                {PhotoFormat::Avif, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(photoFormatWord(row.format));
        const QByteArray file = encodePhotoWithExif(tiles(48, 32), row.format, 90, profile, *exif);
        ASSERT_EQ(readPhotoInformation(file, row.format).orientation, row.storedOrientation);
        const Picture shown = decodePicture(file, QStringLiteral("p.") + QLatin1String(photoFormatWord(row.format)));
        ASSERT_EQ(shown.width(), row.storedOrientation == 6 ? 32 : 48);
        const TurnSource source{file, true};
        const TurnedPicture turned = turnPicture(shown, TurnDirection::Clockwise, 90, &source);
        EXPECT_EQ(turned.picture.height(), shown.width());
        // Still one picture, which can be turned again.
        EXPECT_FALSE(turned.picture.fileHasMorePictures());
        // exiv2 rewrites a TIFF's directories around its pixels.
        if (row.format == PhotoFormat::Png || row.format == PhotoFormat::Tiff) {
            EXPECT_EQ(turned.picture.raster(), rotateClockwise(shown.raster()));
        }

        const PhotoFileInformation kept = readPhotoInformation(turned.fileBytes, row.format);
        const ExifSummary summary = readExif(kept.exif);
        EXPECT_EQ(kept.orientation, 1);
        EXPECT_EQ(summary.orientation, 1);
        EXPECT_EQ(summary.make, QStringLiteral("Maker of Cameras"));
        EXPECT_EQ(summary.model, QStringLiteral("Model 7"));
        EXPECT_EQ(summary.dateTimeOriginal, QStringLiteral("2024:05:06 07:08:09"));
        EXPECT_TRUE(summary.hasGps);
        EXPECT_FALSE(summary.hasThumbnail);
        EXPECT_EQ(kept.iccProfile, profile);
    }
}

// Damaged EXIF blocks (every cut, and bytes flipped through the block) are
// rewritten or left out, never copied as they are: what goes along never
// holds the place when it is not kept, nor an orientation but 1.
TEST(JpegTurn, DamagedExifIsRewrittenOrLeftOut)
{
    const QByteArray photo = cameraJpeg(tiles(16, 16), 6);
    const QByteArray exif = testing::segmentPayloads(photo, 0xE1, "Exif").value(0);
    ASSERT_GT(exif.size(), 100);
    const QByteArray jpeg = testing::makeJpeg(tiles(16, 16), false);
    CarriedInformation carried;
    carried.changes.keepLocation = false;
    const auto check = [&](const QByteArray& block) {
        const QByteArray segment =
            QByteArray("\xFF\xE1", 2) + char((block.size() + 2) >> 8) + char((block.size() + 2) & 0xFF) + block;
        const QByteArray written = carriedSegments(jpeg.left(2) + segment + jpeg.mid(2), carried);
        for (const QByteArray& kept : testing::segmentPayloads(QByteArray("\xFF\xD8", 2) + written, 0xE1, "Exif")) {
            EXPECT_FALSE(readExif(kept).hasGps);
            EXPECT_EQ(readExif(kept).orientation, 1);
        }
    };
    for (qsizetype length = 6; length < exif.size(); length += 7)
        check(exif.left(length));
    for (qsizetype at = 6; at < exif.size(); at += 5) {
        QByteArray flipped = exif;
        flipped[at] = char(flipped[at] ^ 0x5A);
        check(flipped);
    }
}

}  // namespace
}  // namespace tessaly
