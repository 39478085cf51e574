// Photos through the runs, the preview and the rotation as a user meets
// them: turned upright as their camera says, in sRGB whatever their colour
// profile, and everything else exactly as before.

#include "batch/dryrun.h"
#include "batch/runs.h"
#include "filetools/picturerotation.h"
#include "filetools/preview.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/picture.h"
#include "support/fakejob.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QImage>
#include <QTransform>
#include <gtest/gtest.h>
#include <lcms2.h>

namespace tessaly {
namespace {

using testing::FakeJob;
using testing::Rgb;
using testing::TempFolder;

// ---- pictures and profiles made for the tests

QImage imageOf(const Bitmap& bitmap)
{
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const Rgb rgb = testing::pixelAt(bitmap, x, y);
            image.setPixel(x, y, qRgb(rgb[0], rgb[1], rgb[2]));
        }
    return image;
}

Bitmap bitmapOf(const QImage& image)
{
    return testing::makeBitmap(image.width(), image.height(), [&](int x, int y) {
        const QRgb pixel = image.pixel(x, y);
        return Rgb{qRed(pixel), qGreen(pixel), qBlue(pixel)};
    });
}

// Four flat quadrants of 32 by 16 (whole JPEG blocks in every turn), no two
// alike, so that each of the eight turns and mirrors looks different.
const Rgb kTopLeft{220, 30, 30}, kTopRight{30, 200, 30}, kBottomLeft{30, 30, 220}, kBottomRight{235, 225, 40};
Bitmap uprightPicture()
{
    return testing::makeBitmap(64, 32, [](int x, int y) {
        return y < 16 ? (x < 32 ? kTopLeft : kTopRight) : (x < 32 ? kBottomLeft : kBottomRight);
    });
}

QByteArray savedProfile(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// An RGB profile of D65 white, the given primaries and one curve for all.
QByteArray rgbProfile(const cmsCIExyYTRIPLE& primaries, cmsToneCurve* curve)
{
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    cmsToneCurve* curves[3] = {curve, curve, curve};
    const QByteArray bytes = savedProfile(cmsCreateRGBProfile(&d65, &primaries, curves));
    cmsFreeToneCurve(curve);
    return bytes;
}

cmsToneCurve* srgbCurve()
{
    const double parameters[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return cmsBuildParametricToneCurve(nullptr, 4, parameters);
}

// Display P3 as phones write it: P3 primaries with sRGB's curve.
QByteArray displayP3()
{
    return rgbProfile({{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}}, srgbCurve());
}

// Adobe RGB (1998) as cameras write it.
QByteArray adobeRgb()
{
    return rgbProfile({{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}}, cmsBuildGamma(nullptr, 563.0 / 256));
}

// sRGB written as other programs write it: its curve as a table of 1024
// points, not the formula Little CMS uses itself.
QByteArray tabulatedSrgb()
{
    std::vector<cmsUInt16Number> table(1024);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const double v = double(i) / 1023;
        const double linear = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        table[i] = cmsUInt16Number(std::lround(linear * 65535));
    }
    return rgbProfile({{0.64, 0.33, 1}, {0.30, 0.60, 1}, {0.15, 0.06, 1}},
                      cmsBuildTabulatedToneCurve16(nullptr, cmsUInt32Number(table.size()), table.data()));
}

QByteArray builtinSrgb()
{
    return savedProfile(cmsCreate_sRGBProfile());
}

// A colour as Little CMS converts it from `profile` to sRGB, perceptually.
Rgb inSrgb(const QByteArray& profile, Rgb colour)
{
    cmsHPROFILE source = cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = cmsCreateTransform(source, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    const std::uint8_t in[3] = {std::uint8_t(colour[0]), std::uint8_t(colour[1]), std::uint8_t(colour[2])};
    std::uint8_t out[3] = {};
    cmsDoTransform(transform, in, out, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(source);
    return {out[0], out[1], out[2]};
}

int distance(Rgb a, Rgb b)
{
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

// ---- runs

class PhotoRunTest : public ::testing::Test {
protected:
    PhotoRunTest()
    {
        job.input = input.path();
        job.output = output.path();
        job.ratio = true;
    }

    QString writeJpeg(const QString& name, const Bitmap& pixels, const PhotoMetadata& metadata = {})
    {
        return input.write(name, withJpegMetadata(testing::makeJpeg(pixels, false, 95), metadata));
    }

    RunOutcome go(const QStringList& names)
    {
        sources = names;
        RunContext run{job, view, state, pictures, sources};
        return runBatch(run);
    }

    Bitmap outputPicture(const QString& name) const
    {
        Bitmap bitmap;
        DrawToBitmap(bitmap, LoadPicture(output.path() + u'/' + name));
        return bitmap;
    }

    TempFolder input, output;
    FakeJob job;
    testing::RecordingView view;
    RunState state;
    WorkingPictures pictures;
    QStringList sources;
};

// The eight Exif orientations: a copy of one picture stored as the camera
// would store it for each gives the same upright thumbnail and the same
// upright size in its entry and in a dry run's plan; without turning, a
// turned copy keeps its stored shape.
TEST_F(PhotoRunTest, EightOrientationsGiveOneUprightThumbnail)
{
    const QImage upright = imageOf(uprightPicture());
    // How a camera holding the picture each way stores it: the transform
    // that orientation undoes.
    const QTransform quarterClockwise = QTransform().rotate(90);
    const std::function<QImage(const QImage&)> stored[9] = {
        nullptr,
        [](const QImage& i) { return i; },
        [](const QImage& i) { return i.mirrored(true, false); },
        [](const QImage& i) { return i.transformed(QTransform().rotate(180)); },
        [](const QImage& i) { return i.mirrored(false, true); },
        [&](const QImage& i) { return i.transformed(quarterClockwise).mirrored(true, false); },
        [](const QImage& i) { return i.transformed(QTransform().rotate(-90)); },
        [&](const QImage& i) { return i.transformed(quarterClockwise).mirrored(false, true); },
        [&](const QImage& i) { return i.transformed(quarterClockwise); },
    };
    QStringList names;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        names << QStringLiteral("o%1.jpg").arg(orientation);
        writeJpeg(names.back(), bitmapOf(stored[orientation](upright)), {orientation, {}});
    }
    job.width = QStringLiteral("32");
    const DryRunResult plan = planRun(job, names);
    ASSERT_EQ(plan.files.size(), 8u);
    for (const PlannedFile& planned : plan.files)
        EXPECT_EQ(planned.size, (TargetSize{32, 16})) << planned.sourcePath.toStdString();
    ASSERT_TRUE(go(names).complete);
    const Bitmap reference = outputPicture(QStringLiteral("Thumb001.jpg"));
    ASSERT_EQ(reference.width(), 32);
    ASSERT_EQ(reference.height(), 16);
    const Rgb quadrants[4] = {kTopLeft, kTopRight, kBottomLeft, kBottomRight};
    for (int i = 0; i < 8; ++i) {
        const Bitmap thumb = outputPicture(QStringLiteral("Thumb00%1.jpg").arg(i + 1));
        ASSERT_EQ(thumb.width(), 32) << "orientation " << i + 1;
        ASSERT_EQ(thumb.height(), 16) << "orientation " << i + 1;
        EXPECT_EQ(state.ProcessedFiles[std::size_t(i)].Width, 32);
        EXPECT_EQ(state.ProcessedFiles[std::size_t(i)].Height, 16);
        for (int q = 0; q < 4; ++q) {
            const int x = q % 2 * 16 + 8, y = q / 2 * 8 + 4;
            EXPECT_LE(distance(testing::pixelAt(thumb, x, y), quadrants[q]), 12)
                << "orientation " << i + 1 << ", quadrant " << q;
        }
    }

    // Turned off: the stored shape, 16 by 32 for the quarter turns.
    job.upright = false;
    EXPECT_EQ(planRun(job, names).files[5].size, (TargetSize{16, 32}));
    job.thumbQualifierText = QStringLiteral("Off");
    ASSERT_TRUE(go(names).complete);
    EXPECT_EQ(outputPicture(QStringLiteral("Off006.jpg")).width(), 16);
    EXPECT_EQ(outputPicture(QStringLiteral("Off006.jpg")).height(), 32);
    EXPECT_EQ(outputPicture(QStringLiteral("Off003.jpg")).width(), 32);
    EXPECT_GT(distance(testing::pixelAt(outputPicture(QStringLiteral("Off003.jpg")), 8, 4), kTopLeft), 100);
}

// Wide-gamut photos: a Display P3 and an Adobe RGB picture give thumbnails
// (and converted copies) close to Little CMS's sRGB conversion of their
// colours and far from the colours as stored.
TEST_F(PhotoRunTest, WideGamutProfilesAreConvertedToSrgb)
{
    const Rgb left{230, 60, 40}, right{60, 170, 80};
    const Bitmap pixels = testing::makeBitmap(32, 16, [&](int x, int) { return x < 16 ? left : right; });
    const struct {
        const char* name;
        QByteArray profile;
    } cases[] = {{"p3.jpg", displayP3()}, {"adobe.jpg", adobeRgb()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The profile must move these colours, or the test shows nothing.
        ASSERT_GE(distance(inSrgb(c.profile, left), left), 15);
        ASSERT_GE(distance(inSrgb(c.profile, right), right), 15);
        writeJpeg(QString::fromLatin1(c.name), pixels, {1, c.profile});
        for (const bool thumbnails : {true, false}) {
            job.thumbnailMode = thumbnails;
            job.renameOnlyChoice = false;
            job.type = OutputType::Bmp;
            job.width = QStringLiteral("32");
            ASSERT_TRUE(go({QString::fromLatin1(c.name)}).complete);
            const Bitmap made =
                outputPicture(thumbnails ? QStringLiteral("Thumb001.bmp") : QStringLiteral("Image001.bmp"));
            ASSERT_EQ(made.width(), 32);
            for (const auto& [x, colour] : {std::pair{4, left}, std::pair{27, right}}) {
                const Rgb seen = testing::pixelAt(made, x, 8);
                EXPECT_LE(distance(seen, inSrgb(c.profile, colour)), 4) << thumbnails;
                EXPECT_GE(distance(seen, colour), 12) << thumbnails;
            }
        }
    }
}

// Pictures that need nothing keep every output byte: sRGB-tagged JPEGs
// (as Little CMS and as other programs write sRGB) give exactly the
// thumbnails and copies of the untagged picture, which takes the row
// decoder as before, with turning on and off alike.
TEST_F(PhotoRunTest, UntaggedAndSrgbPicturesKeepTheirBytes)
{
    const Bitmap pixels = testing::makeBitmap(40, 30, [](int x, int y) { return Rgb{x * 6, y * 8, (x * y) % 256}; });
    writeJpeg(QStringLiteral("a.jpg"), pixels);
    writeJpeg(QStringLiteral("b.jpg"), pixels, {1, builtinSrgb()});
    writeJpeg(QStringLiteral("c.jpg"), pixels, {1, tabulatedSrgb()});
    job.renameOnlyChoice = false;
    job.width = QStringLiteral("24");
    for (const bool thumbnails : {true, false})
        for (const bool upright : {true, false}) {
            job.thumbnailMode = thumbnails;
            job.upright = upright;
            const QString qualifier =
                QString::fromLatin1(thumbnails ? "thumb" : "copy") + QLatin1String(upright ? "On_" : "Off_");
            job.thumbQualifierText = job.imageQualifierText = qualifier;
            ASSERT_TRUE(go({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}).complete);
        }
    for (const char* kind : {"thumb", "copy"}) {
        const QString prefix = output.path() + u'/' + QLatin1String(kind);
        const QByteArray untagged = testing::readAll(prefix + QStringLiteral("On_001.jpg"));
        ASSERT_FALSE(untagged.isEmpty());
        for (const char* turning : {"On", "Off"})
            for (const char* number : {"001", "002", "003"})
                EXPECT_EQ(testing::readAll(prefix + QLatin1String(turning) + u'_' + QLatin1String(number) +
                                           QStringLiteral(".jpg")),
                          untagged)
                    << kind << turning << number;
    }
}

// The preview shows a tagged photo upright with its upright size while
// turning is on, as stored when off; the rotation command turns the upright
// picture and writes it back without an orientation tag (or profile), so
// that every program shows the file as the preview did.
TEST_F(PhotoRunTest, PreviewAndRotationOfATaggedPhoto)
{
    const QImage upright = imageOf(uprightPicture());
    writeJpeg(QStringLiteral("six.jpg"), bitmapOf(upright.transformed(QTransform().rotate(-90))), {6, displayP3()});

    const PreviewResult off = previewListItem(input.path(), QStringLiteral("six.jpg"), PhotoOptions{false});
    EXPECT_TRUE(off.information.endsWith(QStringLiteral("W: 32, H: 64"))) << off.information.toStdString();
    const PreviewResult on = previewListItem(input.path(), QStringLiteral("six.jpg"), PhotoOptions{true});
    ASSERT_EQ(on.outcome, PreviewResult::Outcome::Loaded);
    EXPECT_TRUE(on.information.endsWith(QStringLiteral("W: 64, H: 32"))) << on.information.toStdString();

    const TurnedPicture turned = turnPicture(on.picture, TurnDirection::Clockwise, 95);
    const PhotoMetadata written = readJpegMetadata(turned.fileBytes);
    EXPECT_EQ(written.orientation, 1);
    EXPECT_TRUE(written.iccProfile.isEmpty());
    const Picture reloaded = decodePicture(turned.fileBytes, QStringLiteral("six.jpg"));
    ASSERT_EQ(reloaded.width(), 32);
    ASSERT_EQ(reloaded.height(), 64);
    // The upright picture's bottom left corner is now at the top left, in
    // sRGB.
    EXPECT_LE(distance(testing::pixelAt(reloaded.raster(), 4, 4), inSrgb(displayP3(), kBottomLeft)), 12);
}

}  // namespace
}  // namespace tessaly
