#include "app/startup.h"
#include "app/tform1.h"
#include "batchrun.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/jpegmarkers.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/photo/exifreader.h"
#include "imaging/photo/photoinformation.h"
#include "support/cameraphoto.h"
#include "support/fakeservices.h"
#include "support/imagingtesttools.h"
#include "support/photofiles.h"
#include "support/tempfolder.h"
#include "widgets/foldertree.h"

#include <QAbstractButton>
#include <QColorSpace>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::exifValue;
using testing::segmentPayloads;

const QByteArray kExif("Exif\0\0", 6);
const QByteArray kXmp("http://ns.adobe.com/xap/1.0/");

// The stream without its APP1 and APP2 segments (EXIF, XMP and the colour
// profile).
QByteArray withoutInformation(const QByteArray& jpeg)
{
    QByteArray rest = jpeg;
    QList<JpegSegment> found;
    walkJpegSegments(jpeg, [&](const JpegSegment& s) {
        if (s.marker == 0xE1 || s.marker == 0xE2)
            found.prepend(s);
        return true;
    });
    for (const JpegSegment& s : found)
        rest.remove(qsizetype(s.offset), qsizetype(s.end() - s.offset));
    return rest;
}

class KeepMetadata : public ::testing::Test {
protected:
    testing::TempFolder input, output, settingsFolder;
    QString settings = settingsFolder.path() + QStringLiteral("/none.ini");
    // Taken turned (orientation 6), 48 by 32 as stored.
    QByteArray photo = testing::cameraJpeg(testing::makeBitmap(48, 32,
                                                               [](int x, int y) {
                                                                   return testing::Rgb{x * 5, y * 7, 120};
                                                               }),
                                           6);

    QByteArray convert(const QString& folder, const QStringList& options, const QString& from = {})
    {
        const Result result = runBatch(QStringList{QStringLiteral("convert"), QStringLiteral("--type"),
                                                   QStringLiteral("jpg"), QStringLiteral("--out"), folder} +
                                           options + QStringList{from.isEmpty() ? input.path() : from},
                                       settings);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return testing::readAll(folder + QStringLiteral("/Image001.jpg"));
    }
};

// A conversion with --keep-metadata keeps the date and the camera (the
// orientation 1, for the picture is turned upright; no thumbnail) and the
// XMP of a source in every photo format (a PNG's XMP plain or deflated),
// and leaves the GPS position out of both unless --keep-location is given,
// and the colour profile; the pixels are coded exactly as a plain
// conversion codes them, and a plain conversion carries nothing.
TEST_F(KeepMetadata, ConversionKeepsDateAndCameraButNotThePlace)
{
    const QByteArray exif = segmentPayloads(photo, 0xE1, kExif).value(0).mid(6);
    const Bitmap stored = decodeJpeg(photo);
    const QByteArray srgb = QColorSpace(QColorSpace::SRgb).iccProfile();
    const QByteArray xmp = testing::cameraXmp();
    const auto withExif = [&](PhotoFormat format) { return encodePhotoWithExif(stored, format, 90, srgb, exif); };
    const struct {
        const char* name;
        QByteArray file;
    } sources[] = {
        {"photo.jpg", photo},
        {"photo.png", testing::withXmp(withExif(PhotoFormat::Png), "png", xmp)},
        {"deflated.png", testing::withXmp(withExif(PhotoFormat::Png), "png", xmp, true)},
        {"photo.webp", testing::withXmp(withExif(PhotoFormat::Webp), "webp", xmp)},
        {"photo.tif", testing::withXmp(withExif(PhotoFormat::Tiff), "tiff", xmp)},
        {"photo.heic", testing::writtenByLibheif(stored, heif_compression_HEVC, srgb, exif, xmp)},
        {"photo.avif", testing::writtenByLibheif(stored, heif_compression_AV1, srgb, exif, xmp)},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        const QString name = QString::fromLatin1(source.name);
        const QString from = input.makeFolder(name + QStringLiteral(".in"));
        input.write(name + QStringLiteral(".in/") + name, source.file);
        const auto convertTo = [&](const char* folder, const QStringList& options) {
            return convert(output.makeFolder(name + QLatin1Char('.') + QLatin1String(folder)), options, from);
        };
        const QByteArray plain = convertTo("plain", {});
        const QByteArray kept = convertTo("kept", {QStringLiteral("--keep-metadata")});
        const QByteArray placed = convertTo("placed", {QStringLiteral("--keep-metadata"), QStringLiteral("--keep-location")});
        const QByteArray off =
            convertTo("off", {QStringLiteral("--keep-metadata"), QStringLiteral("--no-keep-metadata")});
        ASSERT_FALSE(plain.isEmpty());

        EXPECT_EQ(withoutInformation(plain), plain);
        EXPECT_EQ(off, plain);
        EXPECT_EQ(withoutInformation(kept), withoutInformation(placed));
        // Nothing else than the photo information is added: the JPEG header,
        // tables and data are the plain conversion's, byte for byte.
        EXPECT_EQ(withoutInformation(kept), plain);
        // The profile goes along: the pixels were not converted from it.
        EXPECT_EQ(segmentPayloads(kept, 0xE2, "ICC_PROFILE").size(), 1);

        EXPECT_EQ(exifValue(kept, "Exif.Image.Make"), "Maker of Cameras");
        EXPECT_EQ(exifValue(kept, "Exif.Image.Model"), "Model 7");
        EXPECT_EQ(exifValue(kept, "Exif.Photo.DateTimeOriginal"), "2024:05:06 07:08:09");
        const ExifSummary keptExif = readExif(segmentPayloads(kept, 0xE1, kExif).value(0));
        EXPECT_EQ(keptExif.orientation, 1);
        EXPECT_FALSE(keptExif.hasThumbnail);
        EXPECT_FALSE(keptExif.hasGps);
        EXPECT_EQ(exifValue(kept, "Exif.GPSInfo.GPSLatitude"), "(none)");
        EXPECT_TRUE(readExif(segmentPayloads(placed, 0xE1, kExif).value(0)).hasGps);
        EXPECT_EQ(exifValue(placed, "Exif.GPSInfo.GPSLatitude"), "52/1 30/1 0/1");

        EXPECT_EQ(segmentPayloads(kept, 0xE1, kXmp).size(), 1);
        const QByteArray keptXmp = segmentPayloads(kept, 0xE1, kXmp).value(0);
        EXPECT_TRUE(keptXmp.contains("Rating"));
        EXPECT_FALSE(keptXmp.contains("GPS"));
        EXPECT_EQ(segmentPayloads(placed, 0xE1, kXmp).size(), 1);
        const QByteArray placedXmp = segmentPayloads(placed, 0xE1, kXmp).value(0);
        EXPECT_TRUE(placedXmp.contains("Rating"));
        EXPECT_TRUE(placedXmp.contains("GPSLatitude"));
        if (!name.endsWith(QLatin1String(".jpg"))) {
            EXPECT_EQ(segmentPayloads(kept, 0xE2, "ICC_PROFILE").value(0).mid(14), srgb);
        }
    }
}

// Photos shown as stored (--no-auto-orient) keep their own orientation, so
// that viewers still turn them.
TEST_F(KeepMetadata, PicturesNotTurnedKeepTheirOrientation)
{
    input.write(QStringLiteral("photo.jpg"), photo);
    const QByteArray kept =
        convert(output.path(), {QStringLiteral("--keep-metadata"), QStringLiteral("--no-auto-orient")});
    EXPECT_EQ(decodeJpeg(kept).width(), 48);
    EXPECT_EQ(readExif(segmentPayloads(kept, 0xE1, kExif).value(0)).orientation, 6);
}

// In the window: "including location" can be ticked only with the photo
// information; thumbnails made with the box ticked carry the camera's
// information, and the choice is written to the settings file only once
// it has been turned on.
TEST_F(KeepMetadata, WindowThumbnailsKeepTheInformationWhenTicked)
{
    input.write(QStringLiteral("photo.jpg"), photo);
    testing::FakeServices fakes;
    {
        ApplicationWindows windows(fakes.services, fakes.settings);
        TForm1& window = windows.mainWindow();
        window.show();
        control<FolderTree>(window, "fDir").setFolder(input.path());
        click(window, "bSelAll");
        click(window, "rbThumbs");
        click(window, "bNxt1");
        control<FolderTree>(window, "fNewDir").setFolder(output.path());
        click(window, "bNxt2");
        EXPECT_FALSE(control<QAbstractButton>(window, "cbKeepLocation").isEnabled());
        click(window, "cbKeepInfo");
        EXPECT_TRUE(control<QAbstractButton>(window, "cbKeepLocation").isEnabled());
        click(window, "bNxt3");
        click(window, "bGO");
        ASSERT_TRUE(control<QLabel>(window, "lDone").text().startsWith(QLatin1String("Operation complete.")));
        windows.close();
    }
    const QByteArray thumb = testing::readAll(output.path() + QStringLiteral("/Thumb001.jpg"));
    EXPECT_EQ(exifValue(thumb, "Exif.Image.Model"), "Model 7");
    EXPECT_FALSE(readExif(segmentPayloads(thumb, 0xE1, kExif).value(0)).hasGps);
    const QByteArray saved = testing::readAll(fakes.settings.path());
    EXPECT_TRUE(saved.contains("Keep Photo Information=1\n")) << saved.constData();
    EXPECT_FALSE(saved.contains("Keep Location")) << saved.constData();
}

}  // namespace
}  // namespace tessaly
