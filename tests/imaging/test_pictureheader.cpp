// Picture sizes read from headers, for the dry run: whenever the header
// gives a size it is the size loading the picture gives (upright when
// photos are turned), and where the header cannot tell, none.
#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/picture.h"
#include "imaging/pictureheader.h"
#include "support/imagingtesttools.h"
#include "support/photofiles.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QImageIOHandler>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace tessaly {
namespace {

using testing::Rgb;

Bitmap pattern(int width, int height)
{
    return testing::makeBitmap(width, height, [](int x, int y) { return Rgb{x * 5 % 256, y * 3 % 256, 90}; });
}

QByteArray progressiveJpeg(int width, int height)
{
    return testing::compressJpeg(
        width, height, 3, JCS_RGB, [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); },
        [width](int y, unsigned char* row) {
            for (int x = 0; x < width * 3; ++x)
                row[x] = static_cast<unsigned char>(x + y);
        });
}

struct HeaderCase {
    const char* name;  // the file name, whose extension says the kind
    QByteArray bytes;
    bool fromHeader;  // the header tells the size (else: loaded, or refused)
};

TEST(PictureSizeFromHeader, IsTheLoadedSizeOrNone)
{
    const QByteArray jpeg = testing::makeJpeg(pattern(300, 200), false);
    // 300 kB of metadata in front of the frame, as a camera's preview.
    QByteArray metadata;
    for (int i = 0; i < 5; ++i)
        metadata += QByteArray("\xff\xe1\xff\xff", 4) + QByteArray(65533, char(0x11));
    QByteArray claiming = jpeg;
    const qsizetype frame = claiming.indexOf("\xff\xc0");
    ASSERT_GT(frame, 0);
    for (const int at : {5, 7}) {
        claiming[frame + at] = char(30000 >> 8);
        claiming[frame + at + 1] = char(30000 & 255);
    }
    testing::GifRecipe gif;
    gif.screenWidth = 120;
    gif.screenHeight = 160;
    gif.width = gif.height = 4;
    gif.pixels.assign(16, 0);
    gif.globalColours = {{0, 0, 0}, {255, 255, 255}};
    const QByteArray bmp = encodeBmp(pattern(91, 61));

    std::vector<HeaderCase> cases = {
        {"behind-metadata.jpg", jpeg.left(2) + metadata + jpeg.mid(2), true},
        {"progressive.jpeg", progressiveJpeg(333, 517), true},
        {"screen.gif", testing::makeGif(gif), true},
        {"plain.bmp", bmp, true},
        {"picture.emf", encodeEmf(pattern(40, 30)), false},
        {"claims-too-much.jpg", claiming, false},
        {"not-a-jpeg.jpg", QByteArray("GIF89a but not really"), false},
        {"no-scan.jpg", jpeg.left(frame + 10), false},
        {"cut-short.bmp", bmp.left(bmp.size() / 2), false},
        {"empty.gif", QByteArray(), false},
    };
    for (int orientation = 1; orientation <= 8; ++orientation)
        cases.push_back({"tagged.jpg", withJpegMetadata(jpeg, {orientation, {}}, orientation > 4), true});

    testing::TempFolder folder;
    for (const HeaderCase& c : cases) {
        const QString path = folder.write(QString::fromLatin1(c.name), c.bytes);
        for (const bool turn : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (turn ? " turned" : " as stored") + " " +
                         std::to_string(readJpegMetadata(c.bytes).orientation));
            const std::optional<QSize> header = pictureSizeFromHeader(path, PhotoOptions{turn});
            ASSERT_EQ(header.has_value(), c.fromHeader);
            if (!header)
                continue;
            const Picture loaded = LoadPicture(path, PhotoOptions{turn});
            EXPECT_EQ(*header, QSize(loaded.width(), loaded.height()));
        }
    }
    EXPECT_FALSE(pictureSizeFromHeader(folder.path() + "/missing.jpg", {}));
}

// The photo formats: for every photo file kept in tests/data and for photos
// written with each camera orientation (an eXIf or EXIF chunk, a TIFF tag,
// libheif's turn and mirror boxes), several pages and damaged or hostile
// headers, the header gives a size exactly when loading opens the file, and
// then the size loading gives, turned upright or not.
TEST(PictureSizeFromHeader, PhotoHeadersGiveTheLoadedSize)
{
    // Odd sides: HEIF and AVIF encoders pad them and crop back ('clap').
    const Bitmap picture = pattern(41, 23);
    const QImage image = imageFromBitmap(picture);
    std::vector<std::pair<QString, QByteArray>> files;
    for (const QString& folder : {QString(), QStringLiteral("fuzz/")}) {
        const QDir kept(testing::testDataPath(folder));
        for (const QString& name : kept.entryList(QDir::Files)) {
            const PictureKind kind = pictureKindForName(name);
            PhotoFormat format{};
            if (kind == PictureKind::Jpeg || photoFormatOf(kind, format))
                files.push_back({name, testing::readTestFile(folder + name)});
        }
    }
    ASSERT_GE(files.size(), 10u);

    const QByteArray png = encodePhoto(picture, PhotoFormat::Png, 90);
    const QByteArray webp = testing::writtenByQt(image, "webp", [](QImageWriter& w) { w.setQuality(90); });
    const QImageIOHandler::Transformations turns[] = {QImageIOHandler::TransformationNone,
                                                      QImageIOHandler::TransformationMirror,
                                                      QImageIOHandler::TransformationRotate180,
                                                      QImageIOHandler::TransformationFlip,
                                                      QImageIOHandler::TransformationFlipAndRotate90,
                                                      QImageIOHandler::TransformationRotate90,
                                                      QImageIOHandler::TransformationMirrorAndRotate90,
                                                      QImageIOHandler::TransformationRotate270};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString tag = QString::number(orientation);
        files.push_back({"exif" + tag + ".png", testing::pngWithExif(png, testing::exifWithOrientation(orientation))});
        files.push_back(
            {"exif" + tag + ".webp", testing::webpWithExif(webp, 41, 23, testing::exifWithOrientation(orientation))});
        files.push_back({"tag" + tag + ".tif", testing::writtenByQt(image, "tiff", [&](QImageWriter& w) {
                             w.setTransformation(turns[orientation - 1]);
                         })});
        const auto turn = heif_orientation(orientation);
        files.push_back({"boxes" + tag + ".heic", testing::writtenByLibheif(picture, heif_compression_HEVC, turn)});
        if (orientation == 1)
            files.push_back({"half.heic", files.back().second.left(files.back().second.size() / 2)});
        files.push_back({"boxes" + tag + ".avif", testing::writtenByLibheif(picture, heif_compression_AV1, turn)});
    }
    // The orientation as a LONG; a lossless WebP; two pages of other sizes.
    files.push_back({"long.png", testing::pngWithExif(png, testing::exifWithOrientation(6, 4))});
    files.push_back({"lossless.webp", testing::writtenByQt(image, "webp", [](QImageWriter& w) { w.setQuality(100); })});
    files.push_back({"pages.tiff", testing::tiffPages({pattern(30, 50), pattern(8, 8)})});
    // Headers claiming more than their data holds, files cut short, BigTIFF.
    QByteArray claiming = png;
    claiming.replace(16, 8, QByteArray("\x00\x00\x75\x30\x00\x00\x75\x30", 8));
    const std::uint32_t crc = testing::pngCrc(claiming.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        claiming[29 + i] = char(crc >> (24 - 8 * i) & 0xff);
    files.push_back({"claims.png", claiming});
    files.push_back({"claims.tif", testing::tiffPages({Bitmap(4, 4)}, QSize(30000, 30000))});
    files.push_back({"half.png", png.left(png.size() / 2)});
    files.push_back({"head.webp", webp.left(30)});
    files.push_back({"big.tif", QByteArray("II+\0\x08\0\0\0", 8) + QByteArray(40, '\0')});

    testing::TempFolder folder;
    int fromHeaders = 0;
    for (const auto& [name, bytes] : files) {
        const QString path = folder.write(name, bytes);
        for (const bool turn : {true, false}) {
            SCOPED_TRACE(name.toStdString() + (turn ? " turned" : " as stored"));
            const std::optional<QSize> header = pictureSizeFromHeader(path, PhotoOptions{turn});
            std::optional<QSize> loaded;
            try {
                const Picture whole = LoadPicture(path, PhotoOptions{turn});
                loaded = QSize(whole.width(), whole.height());
            } catch (const LoadError& error) {
                // Damage inside the coded data shows only when it is
                // decoded: the header still tells, and the run then
                // reports the file as one it cannot open.
                if (error.message().contains(QLatin1String("data is damaged")))
                    loaded = header;
            }
            EXPECT_EQ(header, loaded);
            fromHeaders += header.has_value();
        }
    }
    EXPECT_GE(fromHeaders, 2 * 45);
}

// The photo headers are read without reading the picture data: a few
// kilobytes of a file of megabytes (HEIF and AVIF, whose boxes libheif reads
// from the whole file, aside).
TEST(PictureSizeFromHeader, PhotoHeadersReadOnlyTheirHeaders)
{
    const Bitmap noise = testing::makeBitmap(900, 700, [](int x, int y) {
        std::uint32_t n = std::uint32_t(x) * 73856093u ^ std::uint32_t(y) * 19349663u;
        n ^= n >> 13;
        n *= 0x5bd1e995u;
        n ^= n >> 15;
        return Rgb{int(n & 255), int(n >> 8 & 255), int(n >> 16 & 255)};
    });
    const QImage image = imageFromBitmap(noise);
    const QByteArray exif = testing::exifWithOrientation(6);
    const struct {
        PhotoFormat format;
        QByteArray bytes;
    } rows[] = {
        {PhotoFormat::Png, testing::pngWithExif(encodePhoto(noise, PhotoFormat::Png, 90), exif)},
        {PhotoFormat::Webp,
         testing::webpWithExif(testing::writtenByQt(image, "webp", [](QImageWriter& w) { w.setQuality(100); }), 900,
                               700, exif)},
        {PhotoFormat::Tiff, testing::tiffPages({noise})},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(photoFormatWord(row.format));
        ASSERT_GT(row.bytes.size(), 1000000);
        std::int64_t read = 0;
        const ByteSource whole = memorySource(row.bytes);
        const ByteSource counted = [&](std::int64_t at, std::int64_t count) {
            const QByteArray part = whole(at, count);
            read += part.size();
            return part;
        };
        const std::optional<PhotoHeader> header = readPhotoHeader(counted, row.bytes.size(), row.format);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->width, 900);
        EXPECT_EQ(header->height, 700);
        EXPECT_EQ(header->orientation, row.format == PhotoFormat::Tiff ? 1 : 6);
        EXPECT_LT(read, 16384);
    }
}

}  // namespace
}  // namespace tessaly
