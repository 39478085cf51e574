#include "filetools/preview.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/picture.h"
#include "support/imagingtesttools.h"
#include "support/photofiles.h"
#include "support/tempfolder.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <QColor>
#include <QColorTransform>
#include <QElapsedTimer>
#include <QImageWriter>
#include <functional>
#include <gtest/gtest.h>
#include <libheif/heif.h>

namespace tessaly {
namespace {

using testing::pixelAt;
using testing::writtenByQt;
using testing::Rgb;

// Four solid quarters, so that the corners survive lossy coding and 4:2:0
// chroma.
constexpr int kW = 40, kH = 24;
const Rgb kRed{220, 30, 30}, kGreen{30, 200, 40}, kBlue{30, 40, 210}, kYellow{230, 220, 40}, kWhite{255, 255, 255};

Rgb quarterColour(int x, int y)
{
    return y < kH / 2 ? (x < kW / 2 ? kRed : kGreen) : (x < kW / 2 ? kBlue : kYellow);
}

Bitmap quarters()
{
    return testing::makeBitmap(kW, kH, quarterColour);
}

QImage quartersImage(QImage::Format format = QImage::Format_RGB32)
{
    QImage image(kW, kH, format);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const Rgb c = quarterColour(x, y);
            image.setPixel(x, y, qRgb(c[0], c[1], c[2]));
        }
    return image;
}

// Top-left clear, bottom-left half-covered blue, the rest opaque.
QByteArray transparentPng()
{
    QImage image = quartersImage(QImage::Format_ARGB32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW / 2; ++x)
            image.setPixel(x, y, y < kH / 2 ? qRgba(0, 0, 0, 0) : qRgba(30, 40, 210, 128));
    return writtenByQt(image, "png");
}

// A PNG with an eXIf chunk before its end chunk.
QByteArray pngWithOrientation(int orientation, int type = 3)
{
    return testing::pngWithExif(encodePhoto(quarters(), PhotoFormat::Png, 90),
                                testing::exifWithOrientation(orientation, type));
}

// A lossy WebP in the extended form, with an EXIF chunk after the picture.
QByteArray webpWithOrientation(int orientation)
{
    return testing::webpWithExif(writtenByQt(quartersImage(), "webp", [](QImageWriter& w) { w.setQuality(90); }), kW,
                                 kH, testing::exifWithOrientation(orientation));
}

QByteArray displayP3()
{
    return QColorSpace(QColorSpace::DisplayP3).iccProfile();
}

struct FormatCase {
    const char* name;
    std::function<QByteArray()> make;
    PictureKind kind;
    int tolerance;
    std::array<Rgb, 4> corners;  // top left, top right, bottom left, bottom right
    int orientation = 1;
    bool profile = false;
    bool morePictures = false;
    bool transparent = false;
};

std::vector<FormatCase> formatCases()
{
    const std::array<Rgb, 4> plain{kRed, kGreen, kBlue, kYellow};
    return {
        {"photo.png", [] { return encodePhoto(quarters(), PhotoFormat::Png, 90, displayP3()); }, PictureKind::Png, 0,
         plain, 1, true},
        {"photo.WEBP", [] { return writtenByQt(quartersImage(), "webp", [](QImageWriter& w) { w.setQuality(90); }); },
         PictureKind::Webp, 20, plain},
        {"turned.webp", [] { return webpWithOrientation(6); }, PictureKind::Webp, 20, plain, 6},
        {"turned.png", [] { return pngWithOrientation(8); }, PictureKind::Png, 0, plain, 8},
        // The same reader as for JPEGs: the orientation as a LONG counts too.
        {"long.png", [] { return pngWithOrientation(5, 4); }, PictureKind::Png, 0, plain, 5},
        {"photo.tif",
         [] {
             return writtenByQt(quartersImage(), "tiff",
                                [](QImageWriter& w) { w.setTransformation(QImageIOHandler::TransformationRotate90); });
         },
         PictureKind::Tiff, 0, plain, 6},
        {"photo.heic", [] { return encodePhoto(quarters(), PhotoFormat::Heif, 90, displayP3()); }, PictureKind::Heif,
         24, plain, 1, true},
        {"photo.avif", [] { return encodePhoto(quarters(), PhotoFormat::Avif, 90); }, PictureKind::Avif, 24, plain},
        // Clear parts show white, half-covered ones a blend with white.
        {"clear.png", transparentPng, PictureKind::Png, 1, {kWhite, kGreen, Rgb{142, 147, 232}, kYellow}, 1, false,
         false, true},
        {"pages.tiff", [] { return testing::tiffPages({quarters(), Bitmap(8, 8)}); }, PictureKind::Tiff, 0, plain, 1, false,
         true},
    };
}

bool closeTo(Rgb a, Rgb b, int tolerance)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(a[std::size_t(i)] - b[std::size_t(i)]) > tolerance)
            return false;
    return true;
}

// Each photo format decodes at its size with its corner colours, stored as
// the file holds it (not turned), with the orientation and profile it
// carries; transparent parts lie on white, and a file of several pages gives
// its first. Loaded as a run loads it, the picture is upright and keeps what
// it knows of its file.
TEST(PhotoFormats, LoadAtTheirSizeWithTheirCornerColours)
{
    testing::TempFolder folder;
    for (const FormatCase& row : formatCases()) {
        SCOPED_TRACE(row.name);
        const QString path = folder.write(QString::fromLatin1(row.name), row.make());
        ASSERT_EQ(pictureKindForName(path), row.kind);
        PhotoFormat format{};
        ASSERT_TRUE(photoFormatOf(row.kind, format));
        const DecodedPhoto photo = decodePhoto(testing::readAll(path), format);
        const Bitmap& bitmap = photo.bitmap;
        ASSERT_EQ(bitmap.width(), kW);
        ASSERT_EQ(bitmap.height(), kH);
        const Rgb corners[4] = {pixelAt(bitmap, 0, 0), pixelAt(bitmap, kW - 1, 0), pixelAt(bitmap, 0, kH - 1),
                                pixelAt(bitmap, kW - 1, kH - 1)};
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(closeTo(corners[i], row.corners[std::size_t(i)], row.tolerance))
                << "corner " << i << ": " << corners[i][0] << ',' << corners[i][1] << ',' << corners[i][2];
        EXPECT_EQ(photo.metadata.orientation, row.orientation);
        EXPECT_EQ(photo.metadata.iccProfile, row.profile ? displayP3() : QByteArray());
        EXPECT_EQ(photo.morePictures, row.morePictures);
        EXPECT_EQ(photo.transparent, row.transparent);

        const Picture shown = LoadPicture(path);
        EXPECT_EQ(shown.kind(), row.kind);
        EXPECT_EQ(shown.width(), row.orientation >= 5 ? kH : kW);
        EXPECT_EQ(shown.fileHasMorePictures(), row.morePictures);
        EXPECT_EQ(shown.hadTransparency(), row.transparent);
    }
}

// A small PNG whose header claims `width` by `height`.
QByteArray pngClaiming(int width, int height)
{
    QByteArray png = encodePhoto(Bitmap(2, 2), PhotoFormat::Png, 90);
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(std::uint32_t(width) >> (24 - 8 * i) & 0xff);
        png[20 + i] = char(std::uint32_t(height) >> (24 - 8 * i) & 0xff);
    }
    const std::uint32_t crc = testing::pngCrc(png.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i) & 0xff);
    return png;
}

// A file cut short, or one whose header claims more than its data holds, is
// one that cannot be opened: a clear message, never a partial picture, and
// nothing allocated for the claim.
TEST(PhotoFormats, DamagedFilesCannotBeOpened)
{
    testing::TempFolder folder;
    struct Damaged {
        QString name;
        QByteArray bytes;
        const char* reason;  // part of the message, when it is ours
    };
    std::vector<Damaged> files;
    for (const FormatCase& row : formatCases()) {
        const QByteArray whole = row.make();
        files.push_back({QStringLiteral("half-") + QLatin1String(row.name), whole.left(whole.size() / 2), ""});
        files.push_back({QStringLiteral("head-") + QLatin1String(row.name), whole.left(16), ""});
    }
    files.push_back({QStringLiteral("huge.png"), pngClaiming(30000, 30000), "claims more pixels than its file holds"});
    files.push_back({QStringLiteral("huge.tif"), testing::tiffPages({Bitmap(4, 4)}, QSize(30000, 30000)),
                     "claims more pixels than its file holds"});
    files.push_back({QStringLiteral("beyond.png"), pngClaiming(40000, 40000), "too large to hold"});
    files.push_back({QStringLiteral("text.heic"), QByteArray("not a picture at all"), ""});
    // A JPEG-compressed TIFF whose scan lost its end: libjpeg only warns
    // through libtiff, which would keep grey pixels.
    QByteArray jpegInTiff = testing::readTestFile(QStringLiteral("jpeg-in-tiff.tif"));
    const qsizetype scan = jpegInTiff.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype end = jpegInTiff.indexOf(QByteArray("\xFF\xD9", 2), scan);
    ASSERT_GT(scan, 0);
    ASSERT_GT(end, scan + 40);
    for (qsizetype i = scan + 40; i < end; ++i)
        jpegInTiff[i] = '\0';
    files.push_back({QStringLiteral("grey.tif"), jpegInTiff, "TIFF data is damaged or cut short"});
    // CMYK of 16 bits a channel, which Qt's reader refuses: the reason says so.
    files.push_back({QStringLiteral("cmyk16.tif"), testing::readTestFile(QStringLiteral("cmyk16.tif")),
                     "CMYK (printing ink) colours of 16 bits a channel cannot be read"});
    for (const Damaged& file : files) {
        SCOPED_TRACE(file.name.toStdString());
        folder.write(file.name, file.bytes);
        try {
            LoadPicture(folder.path() + u'/' + file.name);
            ADD_FAILURE() << "opened";
        } catch (const LoadError& error) {
            EXPECT_FALSE(error.message().isEmpty());
            EXPECT_TRUE(error.message().contains(QLatin1String(file.reason))) << error.message().toStdString();
        }
        const PreviewResult preview = previewListItem(folder.path(), file.name);
        EXPECT_EQ(preview.outcome, PreviewResult::Outcome::Failed);
        EXPECT_EQ(preview.message, QStringLiteral("Could not open ") + folder.path() + u'/' + file.name);
    }
}

// What the photo encoders write reads back as the same picture: PNG and
// TIFF exactly, the lossy formats closely, each with its profile.
TEST(PhotoFormats, EncodersWriteWhatTheReadersRead)
{
    const Bitmap odd = testing::makeBitmap(kW + 1, kH + 1, [](int x, int y) { return quarterColour(x, y); });
    for (const auto& [format, tolerance] : {std::pair{PhotoFormat::Png, 0}, std::pair{PhotoFormat::Tiff, 0},
                                            std::pair{PhotoFormat::Webp, 20}, std::pair{PhotoFormat::Heif, 24},
                                            std::pair{PhotoFormat::Avif, 24}}) {
        SCOPED_TRACE(photoFormatWord(format));
        const DecodedPhoto back = decodePhoto(encodePhoto(odd, format, 90, displayP3()), format);
        ASSERT_EQ(back.bitmap.width(), kW + 1);
        ASSERT_EQ(back.bitmap.height(), kH + 1);
        if (tolerance == 0) {
            EXPECT_EQ(back.bitmap, odd);
        }
        EXPECT_TRUE(closeTo(pixelAt(back.bitmap, 2, 2), kRed, tolerance));
        EXPECT_TRUE(closeTo(pixelAt(back.bitmap, kW - 2, kH - 2), kYellow, tolerance));
        EXPECT_EQ(back.metadata.iccProfile, displayP3());
        EXPECT_EQ(back.metadata.orientation, 1);
    }
}

// The quarters written by libheif with an orientation (as irot and imir
// boxes) and, when given, colour primaries and transfer as code points.
QByteArray writtenByLibheif(heif_compression_format compression, heif_orientation orientation, int primaries = 0,
                            int transfer = 0)
{
    return testing::writtenByLibheif(quarters(), compression, orientation, primaries, transfer);
}

// libheif (1.15) turns a HEIF picture by its irot and imir boxes while it
// decodes and cannot say that it did: the picture arrives upright and
// reports orientation 1, so that nothing turns it a second time.
TEST(PhotoFormats, HeifArrivesTurnedByItsOwnBoxes)
{
    const DecodedPhoto photo =
        decodePhoto(writtenByLibheif(heif_compression_HEVC, heif_orientation_rotate_90_cw), PhotoFormat::Heif);
    ASSERT_EQ(photo.bitmap.width(), kH);
    ASSERT_EQ(photo.bitmap.height(), kW);
    EXPECT_EQ(photo.metadata.orientation, 1);
    EXPECT_TRUE(closeTo(pixelAt(photo.bitmap, 0, 0), kBlue, 24));
    EXPECT_TRUE(closeTo(pixelAt(photo.bitmap, kH - 1, 0), kRed, 24));
    EXPECT_TRUE(closeTo(pixelAt(photo.bitmap, 0, kW - 1), kYellow, 24));
}

// Colour given as code points instead of a profile: Display P3 (primaries
// 12) and BT.2020 (9) with an sRGB-like curve come as the matching ICC
// profile, whose colours are wider than sRGB's; sRGB's own primaries and an
// HDR curve (PQ, 16) give none.
TEST(PhotoFormats, ColourCodePointsBecomeAProfile)
{
    const struct {
        int primaries, transfer;
        bool profile;
    } rows[] = {{12, 13, true}, {9, 1, true}, {1, 13, false}, {12, 16, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.primaries) + "/" + std::to_string(row.transfer));
        const DecodedPhoto photo = decodePhoto(
            writtenByLibheif(heif_compression_AV1, heif_orientation_normal, row.primaries, row.transfer),
            PhotoFormat::Avif);
        ASSERT_EQ(!photo.metadata.iccProfile.isEmpty(), row.profile);
        if (!row.profile)
            continue;
        const QColorSpace space = QColorSpace::fromIccProfile(photo.metadata.iccProfile);
        ASSERT_TRUE(space.isValid());
        EXPECT_EQ(space.transferFunction(), QColorSpace::TransferFunction::SRgb);
        // A muted red of the wider space is a stronger red in sRGB.
        const QColor inSrgb = space.transformationToColorSpace(QColorSpace(QColorSpace::SRgb)).map(QColor(200, 60, 60));
        EXPECT_GT(inSrgb.red(), 205);
        EXPECT_LT(inSrgb.green(), 55);
    }
}

// A photo's XMP packet is found where other programs put it, and only a
// sound one: a damaged or foreign XMP holder gives no packet (never bytes
// of something else, and a deflated packet is inflated only so far), and
// the file's other information is still read.
TEST(PhotoFormats, XmpIsReadOnlyFromSoundHolders)
{
    const QByteArray packet("<x:xmpmeta xmlns:x='adobe:ns:meta/'/>");
    const QByteArray png = writtenByQt(quartersImage(), "png");
    const QByteArray pngExif = testing::pngWithExif(png, testing::exifWithOrientation(6));
    // A PNG iTXt chunk of keyword "XML:com.adobe.xmp" with `rest` after
    // the keyword's zero.
    const auto pngText = [&](const QByteArray& rest) {
        const QByteArray body = QByteArray("iTXtXML:com.adobe.xmp\0", 22) + rest;
        QByteArray chunk;
        const auto be32 = [&chunk](std::uint32_t value) {
            for (int shift = 24; shift >= 0; shift -= 8)
                chunk += char(value >> shift & 0xff);
        };
        be32(std::uint32_t(body.size() - 4));
        chunk += body;
        be32(testing::pngCrc(body));
        QByteArray file = pngExif;
        return file.insert(file.size() - 12, chunk);
    };
    const QByteArray bomb = qCompress(QByteArray(5 << 20, ' ')).mid(4);
    const QByteArray heic = testing::writtenByLibheif(quarters(), heif_compression_HEVC, {}, {}, packet);
    const qsizetype type = heic.indexOf("application/rdf+xml");
    ASSERT_GT(type, 0);
    QByteArray foreignHeic = heic;
    foreignHeic[type + 18] = 'm';  // "application/rdf+xmm"
    const QByteArray webp = testing::withXmp(
        testing::webpWithExif(writtenByQt(quartersImage(), "webp"), kW, kH, testing::exifWithOrientation(6)), "webp",
        packet);
    QByteArray webpBeyond = webp;
    webpBeyond[webp.lastIndexOf("XMP ") + 7] = char(0x7f);  // the XMP chunk's length past the end

    const struct {
        const char* name;
        QByteArray file;
        PhotoFormat format;
        QByteArray xmp;
        bool exif;  // the file's EXIF block: orientation 6
    } rows[] = {
        {"plain png", testing::withXmp(pngExif, "png", packet), PhotoFormat::Png, packet, true},
        {"deflated png", testing::withXmp(pngExif, "png", packet, true), PhotoFormat::Png, packet, true},
        {"png text whose header has no end", pngText(QByteArray("\0\0", 2) + packet), PhotoFormat::Png, {}, true},
        {"png of an unknown compression", pngText(QByteArray("\2\0\0\0", 4) + packet), PhotoFormat::Png, {}, true},
        {"png deflated badly", pngText(QByteArray("\1\0\0\0", 4) + packet), PhotoFormat::Png, {}, true},
        {"png inflating past its bound", pngText(QByteArray("\1\0\0\0", 4) + bomb), PhotoFormat::Png, {}, true},
        {"webp", webp, PhotoFormat::Webp, packet, true},
        {"webp with its chunk past the end", webpBeyond, PhotoFormat::Webp, {}, true},
        {"heic", heic, PhotoFormat::Heif, packet, false},
        {"heic of another content type", foreignHeic, PhotoFormat::Heif, {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const PhotoBlocks blocks = photoBlocks(row.file, row.format);
        EXPECT_EQ(blocks.xmp, row.xmp);
        if (row.exif) {
            EXPECT_EQ(blocks.exif, testing::exifWithOrientation(6));
        }
    }
}

// Grids of tiles, as cameras write large HEIF and AVIF pictures, decode
// here as in the decoder program, tile by tile; a grid whose canvas is
// more than its tiles can paint, or not the size its picture claims, is
// refused at once, before libheif allocates that canvas (it would ask for
// gigabytes for the 26991 by 30316 claims below); so is a derived picture
// built from an item that is missing or no picture as libheif reads the
// file (libheif 1.15 fails an assertion on it). A file cut short in its
// coded data, or whose tile's coded data ends early, is damaged, not a
// picture with grey or green parts.
TEST(PhotoFormats, GridCanvasesAreCheckedBeforeDecoding)
{
    const char* const missingPart = "HEIF file cannot be read: a picture is built from a part that is missing";
    const struct {
        const char* file;
        PhotoFormat format;
        const char* refusal;  // part of the message; none: decodes
        qsizetype keptBytes = -1;  // the file cut short to this many bytes
    } rows[] = {
        {"grid-2x2.heic", PhotoFormat::Heif, nullptr},
        {"grid-2x2.avif", PhotoFormat::Avif, nullptr},
        {"fuzz/heif-huge-allocation.heic", PhotoFormat::Heif, "HEIF picture claims more pixels than its file holds"},
        {"grid-canvas-huge.avif", PhotoFormat::Avif, "AVIF picture claims more pixels than its file holds"},
        {"grid-canvas-not-ispe.heic", PhotoFormat::Heif, "HEIF file cannot be read"},
        {"fuzz/heif-identity-of-no-picture.heic", PhotoFormat::Heif, missingPart},
        {"fuzz/heif-identity-in-second-list.heic", PhotoFormat::Heif, missingPart},
        {"fuzz/heif-identity-typeless-entry.heic", PhotoFormat::Heif, missingPart},
        {"fuzz/heif-identity-reference-past-box.heic", PhotoFormat::Heif, missingPart},
        {"fuzz/heif-identity-references-run-past.heic", PhotoFormat::Heif,
         "HEIF file cannot be read: the references between its pictures run past their box"},
        // The tile's data starts at byte 614 and runs to the end, 679.
        {"grid-2x2.heic", PhotoFormat::Heif, "HEIF file cannot be read", 640},
        {"heif-tile-cut-short.heic", PhotoFormat::Heif, "HEIF data is damaged or cut short"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.file) + " " + std::to_string(row.keptBytes));
        QByteArray bytes = testing::readTestFile(QString::fromLatin1(row.file));
        if (row.keptBytes >= 0)
            bytes.truncate(row.keptBytes);
        ASSERT_FALSE(bytes.isEmpty());
        testing::resetPeakMemory();
        const long memoryBefore = testing::peakMemoryMegabytes();
        QElapsedTimer timer;
        timer.start();
        if (row.refusal) {
            try {
                decodePhotoHere(bytes, row.format);
                ADD_FAILURE() << "decoded";
            } catch (const CodecError& error) {
                EXPECT_TRUE(error.message().contains(QLatin1String(row.refusal))) << error.message().toStdString();
            }
        } else {
            // The tile's quarters, four times over.
            const Bitmap bitmap = decodePhotoHere(bytes, row.format).bitmap;
            ASSERT_EQ(bitmap.width(), 128);
            ASSERT_EQ(bitmap.height(), 128);
            for (const int offset : {0, 64}) {
                EXPECT_TRUE(closeTo(pixelAt(bitmap, offset + 2, offset + 2), kRed, 24));
                EXPECT_TRUE(closeTo(pixelAt(bitmap, offset + 61, offset + 2), kGreen, 24));
                EXPECT_TRUE(closeTo(pixelAt(bitmap, offset + 2, offset + 61), kBlue, 24));
                EXPECT_TRUE(closeTo(pixelAt(bitmap, offset + 61, offset + 61), kYellow, 24));
            }
        }
        // Generous for the sanitizer build on a busy machine.
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_LT(testing::peakMemoryMegabytes() - memoryBefore, 100);
    }
}

}  // namespace
}  // namespace tessaly
