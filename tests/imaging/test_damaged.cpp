// Damaged, cut short and hostile files: each is refused as a picture that
// cannot be opened, quickly, and never becomes a picture made up of
// missing data or of memory the program did not fill.

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/encoders.h"
#include "imaging/picture.h"
#include "support/imagingtesttools.h"

#include <QElapsedTimer>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::pixelAt;
using testing::Rgb;

void put16(QByteArray& bytes, int at, std::uint32_t value)
{
    bytes[at] = char(value & 0xff);
    bytes[at + 1] = char((value >> 8) & 0xff);
}

void put32(QByteArray& bytes, int at, std::uint32_t value)
{
    put16(bytes, at, value & 0xffff);
    put16(bytes, at + 2, value >> 16);
}

// A BMP file: file header, a 40-byte info header (or `infoSize` with the
// bit-field masks of a version 4 header), the colour table, then `pixels`.
QByteArray bmpFile(int width, int height, int bits, std::uint32_t compression, const QByteArray& pixels,
                   const std::vector<Rgb>& colours = {}, int infoSize = 40)
{
    QByteArray file(14 + infoSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 14, std::uint32_t(infoSize));
    put32(file, 18, std::uint32_t(width));
    put32(file, 22, std::uint32_t(height));
    put16(file, 26, 1);
    put16(file, 28, std::uint32_t(bits));
    put32(file, 30, compression);
    put32(file, 34, std::uint32_t(pixels.size()));
    put32(file, 46, std::uint32_t(colours.size()));
    if (infoSize >= 108) {  // masks: red, green, blue, alpha
        put32(file, 54, 0x00FF0000u);
        put32(file, 58, 0x0000FF00u);
        put32(file, 62, 0x000000FFu);
        put32(file, 66, 0xFF000000u);
    }
    for (const Rgb& colour : colours)
        file.append(char(colour[2])).append(char(colour[1])).append(char(colour[0])).append('\0');
    put32(file, 10, std::uint32_t(file.size()));
    file.append(pixels);
    put32(file, 2, std::uint32_t(file.size()));
    return file;
}

// The time a call takes, in milliseconds.
template <typename F>
qint64 millisecondsOf(F call)
{
    QElapsedTimer timer;
    timer.start();
    call();
    return timer.elapsed();
}

// Refused as a picture that cannot be opened, within `limit` milliseconds.
void expectRefused(const QByteArray& bytes, const QString& name, qint64 limit = 2000)
{
    const qint64 spent =
        millisecondsOf([&] { EXPECT_THROW(decodePicture(bytes, name), LoadError) << name.toStdString(); });
    EXPECT_LT(spent, limit) << name.toStdString();
}

// Guards the BMP reader: a header that claims more pixels than the file holds,
// or a file cut short, is refused; a whole file reads back exactly.
TEST(DamagedFiles, BmpHeaderAgainstFileLength)
{
    QByteArray tiny = bmpFile(11000, 11000, 24, 0, QByteArray(354 - 54, '\x7f'));
    ASSERT_EQ(tiny.size(), 354);
    expectRefused(tiny, QStringLiteral("huge.bmp"));

    const Bitmap source = makeBitmap(100, 100, [](int x, int y) { return Rgb{x, y, 200}; });
    const QByteArray whole = encodeBmp(source);
    EXPECT_EQ(decodePicture(whole, QStringLiteral("whole.bmp")).raster(), source);
    expectRefused(whole.left(whole.size() / 2), QStringLiteral("half.bmp"));
    expectRefused(whole.left(whole.size() - 1), QStringLiteral("short.bmp"));
}

// Guards the BMP reader against leftover memory: run-length data skips pixels
// with jumps and line ends; they are colour 0, the same on every run, never
// leftover memory.
TEST(DamagedFiles, RunLengthGapsAreColourZero)
{
    // Dirty the heap with a white picture of the same size first.
    const Bitmap white = makeBitmap(64, 64, [](int, int) { return Rgb{255, 255, 255}; });
    (void)decodePicture(encodeBmp(white), QStringLiteral("white.bmp"));
    // Row 0 (the bottom): four pixels of colour 1, then end of line; then a
    // jump up 10 rows, four pixels, end of bitmap.
    const QByteArray rle("\x04\x01\x00\x00\x00\x02\x00\x0a\x04\x01\x00\x01", 12);
    const QByteArray file = bmpFile(64, 64, 8, 1, rle, {{10, 20, 30}, {250, 0, 0}});
    const Bitmap first = decodePicture(file, QStringLiteral("gaps.bmp")).raster();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool drawn = x < 4 && (y == 63 || y == 52);
            const Rgb expected = drawn ? Rgb{250, 0, 0} : Rgb{10, 20, 30};
            ASSERT_EQ(pixelAt(first, x, y), expected) << x << "," << y;
        }
    // The same data without its end of bitmap is cut short.
    expectRefused(bmpFile(64, 64, 8, 1, rle.left(8), {{10, 20, 30}, {250, 0, 0}}), QStringLiteral("cut.bmp"));
}

// Guards the metafile reader: the bitmap inside one of our own metafiles goes
// through the BMP checks, so a header claiming more rows than it holds is
// refused.
TEST(DamagedFiles, MetafileBitmapWithMissingRows)
{
    const Bitmap source = makeBitmap(30, 20, [](int x, int y) { return Rgb{x * 8, y * 12, 77}; });
    QByteArray emf = encodeEmf(source);
    // Claim more rows in the bitmap header of the STRETCHDIBITS record.
    const int record = int(std::uint8_t(emf[4])) | int(std::uint8_t(emf[5])) << 8;  // header size
    const int bmiAt = record + int(std::uint8_t(emf[record + 48]));
    put32(emf, bmiAt + 8, 40);
    expectRefused(emf, QStringLiteral("rows.emf"));
}

// Guards the colours of 32-bit BMPs: one whose alpha bytes are all 0 keeps its
// colours (the alpha is ignored).
TEST(DamagedFiles, BmpAlphaIsIgnored)
{
    QByteArray pixels;
    for (int i = 0; i < 4; ++i)
        pixels.append("\x30\x60\x90\x00", 4);  // blue, green, red, alpha 0
    const Bitmap bitmap = decodePicture(bmpFile(2, 2, 32, 3, pixels, {}, 108), QStringLiteral("alpha.bmp")).raster();
    ASSERT_EQ(bitmap.width(), 2);
    EXPECT_EQ(pixelAt(bitmap, 0, 0), (Rgb{0x90, 0x60, 0x30}));
    EXPECT_EQ(pixelAt(bitmap, 1, 1), (Rgb{0x90, 0x60, 0x30}));
}

// A JPEG of `width` by `height` in one flat colour, written row by row
// (so no bitmap of the full size is needed to make it).
QByteArray flatJpeg(int width, int height, bool progressive = false)
{
    return testing::compressJpeg(
        width, height, 3, JCS_RGB,
        [progressive](jpeg_compress_struct& info) {
            if (progressive)
                jpeg_simple_progression(&info);
        },
        [width](int, unsigned char* row) { std::fill_n(row, std::size_t(width) * 3, JSAMPLE(140)); });
}

Bitmap photo(int width, int height)
{
    return makeBitmap(width, height, [](int x, int y) { return Rgb{(x * 7) % 256, (y * 5) % 256, (x * y) % 256}; });
}

// Guards the JPEG reader: a JPEG whose pixels cannot all be decoded is not a
// picture; stray bytes among the markers before the first scan do not touch
// pixels and are tolerated, after it they mean damage.
TEST(DamagedFiles, JpegCutShortOrCorrupt)
{
    const QByteArray jpeg = testing::makeJpeg(photo(64, 48), false);
    const QByteArray progressive = flatJpeg(64, 48, true);
    for (const QByteArray& file : {jpeg, progressive}) {
        expectRefused(file.left(file.size() / 2), QStringLiteral("half.jpg"));
        expectRefused(file.left(file.size() - 10), QStringLiteral("end.jpg"));
    }
    // Corrupt entropy data: a marker in the middle of the scan.
    const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(scan, 0);
    QByteArray corrupt = jpeg;
    corrupt[scan + 40] = char(0xFF);
    corrupt[scan + 41] = char(0xD0);
    expectRefused(corrupt, QStringLiteral("corrupt.jpg"));

    // Stray bytes among the markers before the scan touch no pixel ...
    QByteArray padded = jpeg;
    padded.insert(scan, QByteArray("\x12\x34\x56", 3));
    EXPECT_EQ(decodePicture(padded, QStringLiteral("padded.jpg")).raster(),
              decodePicture(jpeg, QStringLiteral("clean.jpg")).raster());
    // ... after it they are data the scan did not use: the entropy data and
    // the picture disagree, and the file is damaged (libjpeg only warns
    // "extraneous bytes before marker"), as a bit flipped in the scan leaves
    // it; in a progressive file between its scans too.
    QByteArray extraneous = jpeg;
    extraneous.insert(extraneous.size() - 2, QByteArray("\x12\x34\x56", 3));
    expectRefused(extraneous, QStringLiteral("extra.jpg"));
    QByteArray betweenScans = progressive;
    const qsizetype firstScan = progressive.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype secondScan = progressive.indexOf(QByteArray("\xFF\xDA", 2), firstScan + 2);
    ASSERT_GT(secondScan, 0);
    betweenScans.insert(secondScan, QByteArray("\x12\x34\x56", 3));
    expectRefused(betweenScans, QStringLiteral("between.jpg"));
}

// Guards the GIF and metafile readers: image data and records cut short are
// refused, not read as pictures.
TEST(DamagedFiles, GifAndMetafilesCutShort)
{
    GifOutput gif;
    EncodeGif(gif, photo(40, 30));
    const QByteArray gifBytes = gif.fileBytes();
    ASSERT_NO_THROW(decodePicture(gifBytes, QStringLiteral("whole.gif")));
    // Cut anywhere inside the image data (after the descriptor and colour
    // map, before the trailer and the final empty block).
    for (qsizetype cut = gifBytes.size() - 3; cut > gifBytes.size() / 2; cut -= 7)
        expectRefused(gifBytes.left(cut), QStringLiteral("cut.gif"));

    const Bitmap source = photo(20, 10);
    const QByteArray files[] = {encodeEmf(source), encodeWmf(source),
                                testing::readTestFile(QStringLiteral("shapes-inkscape.emf")),
                                testing::readTestFile(QStringLiteral("shapes-inkscape.wmf"))};
    const char* names[] = {"ours.emf", "ours.wmf", "shapes.emf", "shapes.wmf"};
    for (int i = 0; i < 4; ++i)
        for (qsizetype cut : {files[i].size() - 2, files[i].size() * 2 / 3, qsizetype(60)})
            expectRefused(files[i].left(cut), QString::fromLatin1(names[i]));
}

// Guards large real pictures against a size limit: JPEG sizes up to a 200 MP
// panorama are read, and a 134 MP picture decodes whole.
TEST(DamagedFiles, LargePicturesAreAccepted)
{
    // Size checks only (a 200 MP photo, the largest common panorama side).
    for (const auto& [w, h] : {std::pair{16384, 16384}, {16320, 12240}, {65500, 4000}}) {
        QByteArray header = flatJpeg(16, 16);
        // Patch the frame size in the SOF0 marker.
        const qsizetype sof = header.indexOf(QByteArray("\xFF\xC0", 2));
        ASSERT_GT(sof, 0);
        header[sof + 5] = char(h >> 8);
        header[sof + 6] = char(h & 0xff);
        header[sof + 7] = char(w >> 8);
        header[sof + 8] = char(w & 0xff);
        int width = 0, height = 0;
        readJpegSize(header, width, height);
        EXPECT_EQ(width, w);
        EXPECT_EQ(height, h);
    }
    // A real decode past the old limit of about 134 megapixels.
    const QByteArray big = flatJpeg(16384, 8200);
    const Picture picture = decodePicture(big, QStringLiteral("panorama.jpg"));
    ASSERT_EQ(picture.width(), 16384);
    ASSERT_EQ(picture.height(), 8200);
    EXPECT_NEAR(pixelAt(picture.raster(), 16383, 8199)[0], 140, 2);
}

// Guards time and memory: headers that claim large pictures over little data
// cost neither seconds nor memory.
TEST(DamagedFiles, LargeHeadersOverLittleData)
{
    testing::resetPeakMemory();
    const long before = testing::peakMemoryMegabytes();
    QByteArray jpeg = flatJpeg(16, 16);
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    for (int i : {5, 7}) {
        jpeg[sof + i] = char(11585 >> 8);
        jpeg[sof + i + 1] = char(11585 & 0xff);
    }
    expectRefused(jpeg, QStringLiteral("big.jpg"), 1000);

    testing::GifRecipe recipe;
    recipe.pixels.assign(16, 0);
    recipe.globalColours = {{0, 0, 0}, {1, 1, 1}};
    QByteArray gif = testing::makeGif(recipe);
    put16(gif, 6, 65535);
    put16(gif, 8, 2048);
    expectRefused(gif, QStringLiteral("big.gif"), 1000);

    const Bitmap tiny = photo(4, 4);
    QByteArray emf = encodeEmf(tiny);
    put32(emf, 32, 32767 * 2540 / 96);  // frame right, hundredths of a millimetre
    put32(emf, 36, 4096 * 2540 / 96);
    expectRefused(emf, QStringLiteral("big.emf"), 1000);
    QByteArray wmf = encodeWmf(tiny);
    put16(wmf, 10, 32767);  // placeable bounds: right, bottom at 96 units an inch
    put16(wmf, 12, 4096);
    expectRefused(wmf, QStringLiteral("big.wmf"), 1000);
    EXPECT_LT(testing::peakMemoryMegabytes() - before, 200);
}

}  // namespace
}  // namespace tessaly
