#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/picture.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"

#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::pixelAt;
using testing::Rgb;

const Rgb kPalette[6] = {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}, {255, 255, 0}};

// Every common BMP variant reads as the same 24-bit picture.
TEST(BmpReader, EveryCommonVariant)
{
    for (const char* name : {"bmp4.bmp", "bmp4rle.bmp", "bmp8.bmp", "bmp8rle.bmp", "bmp16.bmp", "bmp16bitfields.bmp",
                             "bmp24.bmp", "bmp24topdown.bmp", "bmp32.bmp", "bmp32bitfields.bmp"}) {
        const Picture picture = LoadPicture(testing::testDataPath(QString::fromLatin1(name)));
        ASSERT_EQ(picture.kind(), PictureKind::Bmp);
        Bitmap bitmap;
        DrawToBitmap(bitmap, picture);
        ASSERT_EQ(bitmap.width(), 6) << name;
        ASSERT_EQ(bitmap.height(), 4) << name;
        // 16-bit pixels keep 5 or 6 bits a channel, which read back as the
        // desktop reads them: full intensity is 248 (or 252 for 6 bits).
        const int slack = QByteArray(name).startsWith("bmp16") ? 7 : 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_NEAR(pixelAt(bitmap, x, y)[std::size_t(c)], kPalette[(x + 2 * y) % 6][std::size_t(c)], slack)
                        << name << " at " << x << "," << y;
    }
    Bitmap mono;
    DrawToBitmap(mono, LoadPicture(testing::testDataPath(QStringLiteral("bmp1.bmp"))));
    EXPECT_EQ(pixelAt(mono, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixelAt(mono, 1, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixelAt(mono, 1, 1), (Rgb{0, 0, 0}));
}

// What we write, we read back exactly, also at odd widths (row padding).
TEST(BmpWriter, RoundTripIsExact)
{
    for (int width : {1, 2, 3, 5, 8}) {
        const Bitmap source = makeBitmap(width, 3, [](int x, int y) { return Rgb{x * 30, y * 70, (x * y) % 256}; });
        const QByteArray file = encodeBmp(source);
        EXPECT_EQ(file.left(2), QByteArray("BM"));
        EXPECT_EQ(int(std::uint8_t(file[28])), 24);
        EXPECT_EQ(decodeBmp(file), source) << width;
        // Qt's own reader agrees.
        QImage qt;
        ASSERT_TRUE(qt.loadFromData(file, "BMP"));
        EXPECT_EQ(qt.pixelColor(width - 1, 2).red(), (width - 1) * 30);
    }
}

// The BMP file byte for byte: a 40-byte header at 96 dots per inch, rows
// bottom first, each padded to four bytes.
TEST(BmpWriter, BytesOfASmallPicture)
{
    const Bitmap picture = makeBitmap(2, 2, [](int x, int y) { return Rgb{10 + x, 20 + y, 30}; });
    const QByteArray expected("BM\x46\0\0\0\0\0\0\0\x36\0\0\0"              // file header: 70 bytes, pixels at 54
                              "\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0"  // 40-byte header, 2 x 2, 24 bits
                              "\0\0\0\0\x10\0\0\0\xc4\x0e\0\0\xc4\x0e\0\0\0\0\0\0\0\0\0\0"
                              "\x1e\x15\x0a\x1e\x15\x0b\0\0"   // bottom row (y = 1), padded
                              "\x1e\x14\x0a\x1e\x14\x0b\0\0",  // top row
                              70);
    EXPECT_EQ(encodeBmp(picture).toHex(' '), expected.toHex(' '));
}

// The logical screen is the size; the first image is painted at its place
// with its own colour map, and transparent or undrawn pixels are white.
TEST(GifReader, ScreenPositionTransparencyAndLocalMap)
{
    testing::GifRecipe recipe;
    recipe.screenWidth = 5;
    recipe.screenHeight = 4;
    recipe.left = 1;
    recipe.top = 1;
    recipe.width = 3;
    recipe.height = 2;
    recipe.pixels = {0, 1, 2, 2, 1, 0};
    recipe.globalColours = {{9, 9, 9}, {8, 8, 8}};
    recipe.localColours = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    recipe.transparent = 2;
    const Bitmap bitmap = decodeGif(testing::makeGif(recipe));
    ASSERT_EQ(bitmap.width(), 5);
    ASSERT_EQ(bitmap.height(), 4);
    EXPECT_EQ(pixelAt(bitmap, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixelAt(bitmap, 1, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixelAt(bitmap, 2, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(pixelAt(bitmap, 3, 1), (Rgb{255, 255, 255}));  // transparent
    EXPECT_EQ(pixelAt(bitmap, 3, 2), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixelAt(bitmap, 4, 3), (Rgb{255, 255, 255}));  // undrawn
}

// Interlaced rows come back in their places.
TEST(GifReader, InterlacedRowsInOrder)
{
    testing::GifRecipe recipe;
    recipe.screenWidth = recipe.width = 2;
    recipe.screenHeight = recipe.height = 11;
    recipe.globalColours.clear();
    for (int row = 0; row < 11; ++row) {
        recipe.globalColours.push_back({row * 20, 0, 0});
        recipe.pixels.push_back(std::uint8_t(row));
        recipe.pixels.push_back(std::uint8_t(row));
    }
    recipe.interlaced = true;
    const Bitmap bitmap = decodeGif(testing::makeGif(recipe));
    for (int row = 0; row < 11; ++row)
        EXPECT_EQ(pixelAt(bitmap, 1, row)[0], row * 20) << row;
}

// A picture with few colours survives the GIF writer exactly, and the
// colour map holds only the colours used.
TEST(GifWriter, FewColoursRoundTripExactly)
{
    IndexedImage image;
    image.width = 3;
    image.height = 2;
    image.palette = {{1, 2, 3}, {200, 0, 0}, {9, 9, 9}, {0, 0, 200}};
    image.pixels = {1, 3, 1, 3, 3, 1};
    optimizeColorMap(image);
    EXPECT_EQ(image.palette, (std::vector<PaletteColor>{{200, 0, 0}, {0, 0, 200}}));
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{0, 1, 0, 1, 1, 0}));
    const QByteArray file = gifFileBytes(image);
    EXPECT_TRUE(file.startsWith("GIF8"));
    const Bitmap back = decodeGif(file);
    EXPECT_EQ(pixelAt(back, 0, 0), (Rgb{200, 0, 0}));
    EXPECT_EQ(pixelAt(back, 1, 0), (Rgb{0, 0, 200}));
    EXPECT_EQ(pixelAt(back, 2, 1), (Rgb{200, 0, 0}));
}

// JPEG: colour, greyscale and CMYK files all come out as RGB of full size.
TEST(JpegReader, ColourGreyAndCmyk)
{
    const Bitmap colour = makeBitmap(16, 8, [](int x, int) { return x < 8 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; });
    const Bitmap decoded = decodeJpeg(testing::makeJpeg(colour, false));
    ASSERT_EQ(decoded.width(), 16);
    EXPECT_GT(pixelAt(decoded, 2, 2)[0], 230);
    EXPECT_LT(pixelAt(decoded, 2, 2)[2], 30);
    EXPECT_GT(pixelAt(decoded, 13, 2)[2], 230);

    const Bitmap grey = decodeJpeg(testing::makeJpeg(makeBitmap(8, 8, [](int, int) { return Rgb{0, 128, 0}; }), true));
    const Rgb g = pixelAt(grey, 3, 3);
    EXPECT_NEAR(g[0], 128, 2);
    EXPECT_EQ(g[0], g[1]);
    EXPECT_EQ(g[1], g[2]);

    // Written by another program in Adobe's inverted CMYK: red stays red.
    Bitmap cmyk;
    DrawToBitmap(cmyk, LoadPicture(testing::testDataPath(QStringLiteral("cmyk.jpg"))));
    EXPECT_EQ(cmyk.width(), 6);
    EXPECT_GT(pixelAt(cmyk, 0, 0)[0], 200);
    EXPECT_LT(pixelAt(cmyk, 0, 0)[1], 60);
    EXPECT_GT(pixelAt(cmyk, 0, 3)[2], 200);
    EXPECT_GT(pixelAt(cmyk, 3, 0)[1], 200);  // white stays white
}

// The kind follows the extension without regard to case; other kinds, a
// missing file and a file of the wrong kind are load errors.
TEST(LoadPicture, KindByExtensionAndErrors)
{
    testing::TempFolder temp;
    const Bitmap picture = makeBitmap(4, 4, [](int, int) { return Rgb{10, 20, 30}; });
    const QString upper = temp.write(QStringLiteral("photo.JPEG"), testing::makeJpeg(picture, false));
    EXPECT_EQ(LoadPicture(upper).kind(), PictureKind::Jpeg);
    EXPECT_EQ(pictureKindForName(QStringLiteral("a.GiF")), PictureKind::Gif);
    EXPECT_EQ(pictureKindForName(QStringLiteral("a.wmf")), PictureKind::Metafile);
    EXPECT_EQ(pictureKindForName(QStringLiteral("a.tif")), PictureKind::Tiff);
    EXPECT_EQ(pictureKindForName(QStringLiteral("a.HEIC")), PictureKind::Heif);
    EXPECT_EQ(pictureKindForName(QStringLiteral("a.psd")), PictureKind::None);
    EXPECT_THROW(LoadPicture(temp.write(QStringLiteral("notes.txt"), "hello")), LoadError);
    EXPECT_THROW(LoadPicture(temp.path() + QStringLiteral("/gone.jpg")), LoadError);
    EXPECT_THROW(LoadPicture(temp.write(QStringLiteral("fake.jpg"), "GIF89a not really")), LoadError);
    EXPECT_THROW(LoadPicture(temp.write(QStringLiteral("empty.bmp"), QByteArray())), LoadError);
    EXPECT_EQ(fileSizeOf(upper), std::int32_t(QFileInfo(upper).size()));
}

}  // namespace
}  // namespace tessaly
