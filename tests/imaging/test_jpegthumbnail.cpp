// The row-skipping JPEG thumbnails against the whole decode: for every kind
// of JPEG a camera or an editor writes, and every fixture, the thumbnail
// made from the rows the resize reads is byte for byte the one made from
// the fully decoded picture.
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/jpegcoefficients.h"
#include "imaging/jpegthumbnail.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "imaging/sizing.h"
#include "support/imagingtesttools.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <optional>
#include <thread>
#include <string>

namespace tessaly {
namespace {

using testing::testDataPath;

// How a test picture is written.
struct JpegRecipe {
    std::string name;
    int width = 0;
    int height = 0;
    enum Colour { Rgb, Grey, CmykAdobe, YcckAdobe, CmykPlain } colour = Rgb;
    int hSampling = 2;  // of the first component, the others at 1
    int vSampling = 2;
    bool progressive = false;
    bool arithmetic = false;
    int restartRows = 0;     // a restart marker every so many MCU rows
    int restartBlocks = 0;   // or every so many MCUs
    bool manyScans = false;  // greyscale only: 128 scans, one coefficient each, refined
};

// Busy, row by row different content, so that a wrong row shows.
int sample(int x, int y, int channel)
{
    unsigned h = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u ^ unsigned(channel) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return int((unsigned(x * 3 + y * 2 + channel * 40) + (h & 63)) & 255);
}

QByteArray writeJpeg(const JpegRecipe& recipe)
{
    const bool grey = recipe.colour == JpegRecipe::Grey;
    const bool cmyk = recipe.colour >= JpegRecipe::CmykAdobe;
    const int components = grey ? 1 : cmyk ? 4 : 3;
    std::vector<jpeg_scan_info> scans;
    return testing::compressJpeg(
        recipe.width, recipe.height, components, grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB,
        [&recipe, &scans](jpeg_compress_struct& info) {
            if (recipe.colour == JpegRecipe::YcckAdobe)
                jpeg_set_colorspace(&info, JCS_YCCK);
            if (recipe.colour == JpegRecipe::CmykPlain)
                info.write_Adobe_marker = FALSE;
            jpeg_set_quality(&info, 85, TRUE);
            info.comp_info[0].h_samp_factor = recipe.hSampling;
            info.comp_info[0].v_samp_factor = recipe.vSampling;
            for (int c = 1; c < info.num_components; ++c)
                info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
            if (recipe.progressive)
                jpeg_simple_progression(&info);
            if (recipe.manyScans) {
                // First every coefficient to one bit less, then the last bits.
                for (const int refine : {0, 1})
                    for (int k = 0; k < 64; ++k)
                        scans.push_back({1, {0, 0, 0, 0}, k, k, refine, 1 - refine});
                info.scan_info = scans.data();
                info.num_scans = int(scans.size());
            }
            info.arith_code = recipe.arithmetic ? TRUE : FALSE;
            info.restart_in_rows = recipe.restartRows;
            info.restart_interval = unsigned(recipe.restartBlocks);
        },
        [&recipe, components](int y, unsigned char* row) {
            for (int x = 0; x < recipe.width; ++x)
                for (int c = 0; c < components; ++c)
                    row[x * components + c] = JSAMPLE(sample(x, y, c));
        });
}

// Today's pipeline: the whole picture decoded, then resized.
Bitmap wholeDecodeThumbnail(const QByteArray& bytes, int width, int height, bool quality)
{
    const Picture picture = decodePicture(bytes, QStringLiteral("picture.jpg"));
    Bitmap work;
    Bitmap resample;
    if (quality) {
        DrawToBitmap(work, picture);
        QualityResize(work, resample, width, height);
    } else {
        FastResize(work, picture, width, height);
    }
    return work;
}

// The sizes a thumbnail run asks for: fitting within 96 and other
// maximums, a fixed 96 by 96, one pixel, the picture's own size, twice it.
std::vector<TargetSize> targetSizes(int width, int height)
{
    std::vector<TargetSize> sizes;
    for (const int maximum : {96, 37, 160})
        sizes.push_back(FitWithin(width, height, maximum));
    sizes.push_back({96, 96});
    sizes.push_back({1, 1});
    sizes.push_back({width, height});
    sizes.push_back({width * 2, height + 1});
    sizes.push_back({width, 5});
    return sizes;
}

// Compares both paths for every target size and both methods; one
// thumbnailer for all, so its kept buffers are exercised too.
void expectSameThumbnails(const QByteArray& bytes, const std::string& what, JpegThumbnailer& thumbnailer)
{
    int width = 0, height = 0;
    readJpegSize(bytes, width, height);
    for (const TargetSize size : targetSizes(width, height)) {
        if (size.width < 1 || size.height < 1)
            continue;
        for (const bool quality : {false, true}) {
            if (quality && (width < 2 || height < 2))
                continue;
            SCOPED_TRACE(what + " to " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                         (quality ? " quality" : " fast"));
            Bitmap rows;
            thumbnailer.makeThumbnail(bytes, width, height, size.width, size.height, quality, rows);
            const Bitmap whole = wholeDecodeThumbnail(bytes, size.width, size.height, quality);
            ASSERT_EQ(rows.width(), whole.width());
            ASSERT_EQ(rows.height(), whole.height());
            EXPECT_TRUE(rows == whole);
        }
    }
}

std::vector<JpegRecipe> recipes()
{
    using R = JpegRecipe;
    return {
        {"baseline 4:2:0", 640, 480},
        {"baseline 4:2:2", 640, 480, R::Rgb, 2, 1},
        {"baseline 4:4:4", 640, 480, R::Rgb, 1, 1},
        {"baseline 4:4:0", 320, 240, R::Rgb, 1, 2},
        {"baseline 4:1:1", 320, 240, R::Rgb, 4, 1},
        {"progressive 4:2:0", 640, 480, R::Rgb, 2, 2, true},
        {"progressive 4:4:4", 500, 333, R::Rgb, 1, 1, true},
        {"progressive 4:2:2 odd size", 333, 517, R::Rgb, 2, 1, true},
        {"restart every MCU row", 640, 480, R::Rgb, 2, 2, false, false, 1},
        {"restart every 7 MCUs, odd size", 611, 401, R::Rgb, 2, 2, false, false, 0, 7},
        {"progressive with restarts", 480, 640, R::Rgb, 2, 2, true, false, 0, 5},
        {"odd size 4:2:0", 1001, 667},
        {"odd size, a row shorter than an MCU", 37, 29},
        {"tall and thin", 3, 1000},
        {"4:2:0 four pixels wide", 4, 700},
        {"4:2:0 five pixels wide", 5, 700},
        {"4:2:2 two pixels wide", 2, 500, R::Rgb, 2, 1},
        {"4:4:0 one pixel wide", 1, 500, R::Rgb, 1, 2},
        {"chroma at a quarter across, half down", 320, 240, R::Rgb, 4, 2},
        {"chroma at half across, a quarter down", 320, 240, R::Rgb, 2, 4},
        {"wide and flat", 1000, 3},
        {"two by two", 2, 2},
        {"one row", 50, 1},
        {"one column", 1, 50},
        {"arithmetic coding", 400, 300, R::Rgb, 2, 2, false, true},
        {"greyscale", 640, 480, R::Grey, 1, 1},
        {"greyscale progressive odd size", 517, 333, R::Grey, 1, 1, true},
        {"CMYK with Adobe marker", 300, 200, R::CmykAdobe, 1, 1},
        {"YCCK with Adobe marker, subsampled", 301, 203, R::YcckAdobe, 2, 2},
        {"CMYK without Adobe marker", 300, 200, R::CmykPlain, 1, 1},
        {"CMYK progressive", 300, 200, R::CmykAdobe, 1, 1, true},
    };
}

TEST(JpegThumbnailer, MadePicturesMatchTheWholeDecode)
{
    JpegThumbnailer thumbnailer;
    for (const JpegRecipe& recipe : recipes())
        expectSameThumbnails(writeJpeg(recipe), recipe.name, thumbnailer);
}

TEST(JpegThumbnailer, EveryFixtureMatchesTheWholeDecode)
{
    JpegThumbnailer thumbnailer;
    const QDir folder(testDataPath(QString()));
    const QStringList names = folder.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names)
        expectSameThumbnails(testing::readTestFile(name), name.toStdString(), thumbnailer);
}

// Tagged photos against today's path: the whole decode turned upright as
// the camera orientation says, then resized. For all eight orientations,
// every kind of JPEG above (odd sizes, progressive, restart markers,
// subsampling, CMYK) and every fixture, for both methods and sizes that
// shrink, keep or stretch either side.
void expectSameTurnedThumbnails(const QByteArray& stored, const std::string& what, JpegThumbnailer& thumbnailer)
{
    int storedWidth = 0, storedHeight = 0;
    readJpegSize(stored, storedWidth, storedHeight);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QByteArray tagged = withJpegMetadata(stored, {orientation, {}}, orientation % 2 == 0);
        const Picture upright = decodePicture(tagged, QStringLiteral("photo.jpg"));
        const bool swapped = orientation >= 5;
        ASSERT_EQ(upright.width(), swapped ? storedHeight : storedWidth);
        const int width = upright.width(), height = upright.height();
        // Shrinking both sides, one pixel, stretching across while
        // shrinking down, and keeping the height while shrinking across.
        const std::vector<TargetSize> sizes = {
            FitWithin(width, height, 96), {96, 96}, {1, 1}, {width + 7, 5}, {3, height}};
        for (const TargetSize size : sizes) {
            if (size.width < 1 || size.height < 1)
                continue;
            for (const bool quality : {false, true}) {
                if (quality && (width < 2 || height < 2))
                    continue;
                SCOPED_TRACE(what + " orientation " + std::to_string(orientation) + " to " +
                             std::to_string(size.width) + "x" + std::to_string(size.height) +
                             (quality ? " quality" : " fast"));
                Bitmap whole, scratch;
                if (quality) {
                    DrawToBitmap(whole, upright);
                    QualityResize(whole, scratch, size.width, size.height);
                } else {
                    FastResize(whole, upright, size.width, size.height);
                }
                Bitmap rows;
                thumbnailer.makeThumbnail(tagged, storedWidth, storedHeight, size.width, size.height, quality, rows,
                                          orientation);
                ASSERT_EQ(rows.width(), whole.width());
                ASSERT_EQ(rows.height(), whole.height());
                EXPECT_TRUE(rows == whole);
            }
        }
    }
}

TEST(JpegThumbnailer, TurnedPhotosMatchTheWholeDecodeTurnedThenResized)
{
    JpegThumbnailer thumbnailer;
    for (const JpegRecipe& recipe : recipes())
        expectSameTurnedThumbnails(writeJpeg(recipe), recipe.name, thumbnailer);
    const QDir folder(testDataPath(QString()));
    for (const QString& name : folder.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files))
        expectSameTurnedThumbnails(testing::readTestFile(name), name.toStdString(), thumbnailer);
}

// The rows themselves: each kept row equals the same row of the whole
// decode, whatever was skipped before it.
TEST(DecodeJpegRows, KeptRowsEqualTheWholeDecode)
{
    const std::vector<std::vector<int>> choices = {
        {0}, {479}, {0, 1, 2}, {15, 16, 17, 31, 32}, {100, 101, 300, 301, 478, 479}, {7, 8, 9, 10, 200}};
    for (const JpegRecipe& recipe : recipes()) {
        if (recipe.width != 640 || recipe.height != 480)
            continue;
        const QByteArray bytes = writeJpeg(recipe);
        const Bitmap whole = decodeJpeg(bytes);
        for (const std::vector<int>& wanted : choices) {
            SCOPED_TRACE(recipe.name + " from row " + std::to_string(wanted.front()));
            SourceRows rows;
            rows.reset(640, 480, wanted);
            decodeJpegRows(bytes, rows);
            for (const int y : wanted)
                EXPECT_EQ(0, std::memcmp(rows.row(y), whole.row(y), whole.rowBytes())) << "row " << y;
        }
    }
}

// A stream cut short or damaged gives a thumbnail from its rows only where
// the whole decode opens it, and then the same one; a good stream always
// does; a stream that is no JPEG fails.
TEST(JpegThumbnailer, DamagedStreamsBehaveAsTheWholeDecode)
{
    JpegThumbnailer thumbnailer;
    const QByteArray good = writeJpeg({"base", 320, 240});
    QByteArray flipped = good;
    for (qsizetype at = good.size() / 2; at < good.size() / 2 + 40; ++at)
        flipped[at] = char(~flipped[at]);
    QByteArray lastRowsDamaged = good;
    for (qsizetype at = good.size() - 60; at < good.size() - 10; ++at)
        lastRowsDamaged[at] = char(0x5a);
    const std::vector<std::pair<std::string, QByteArray>> streams = {
        {"cut in half", good.left(good.size() / 2)},
        {"cut before the end marker", good.left(good.size() - 2)},
        {"damaged in the middle", flipped},
        {"damaged in the last rows", lastRowsDamaged},
    };
    for (const auto& [what, bytes] : streams) {
        SCOPED_TRACE(what);
        for (const bool quality : {false, true}) {
            std::optional<Bitmap> whole;
            try {
                whole = wholeDecodeThumbnail(bytes, 40, 30, quality);
            } catch (const LoadError&) {
            }
            Bitmap rows;
            if (whole) {
                // Damage past the last pixel (the end marker missing): the
                // whole decode opens it, and the rows give its thumbnail.
                EXPECT_NO_THROW(thumbnailer.makeThumbnail(bytes, 320, 240, 40, 30, quality, rows));
                EXPECT_TRUE(rows == *whole);
            } else {
                EXPECT_THROW(thumbnailer.makeThumbnail(bytes, 320, 240, 40, 30, quality, rows), CodecError);
            }
        }
    }
    Bitmap fromGood;
    EXPECT_NO_THROW(thumbnailer.makeThumbnail(good, 320, 240, 40, 30, true, fromGood));
    EXPECT_TRUE(fromGood == wholeDecodeThumbnail(good, 40, 30, true));
    Bitmap target;
    // More scans than real files have: left to the whole decode.
    JpegRecipe scans{"many scans", 64, 48, JpegRecipe::Grey, 1, 1};
    scans.manyScans = true;
    EXPECT_THROW(thumbnailer.makeThumbnail(writeJpeg(scans), 64, 48, 16, 12, true, target), CodecError);
    // A header claiming 10000 by 10000 pixels over a few kilobytes of data.
    QByteArray claiming = good;
    const qsizetype frame = claiming.indexOf("\xff\xc0");
    ASSERT_GT(frame, 0);
    for (const int at : {5, 7}) {
        claiming[frame + at] = char(10000 >> 8);
        claiming[frame + at + 1] = char(10000 & 255);
    }
    EXPECT_THROW(thumbnailer.makeThumbnail(claiming, 10000, 10000, 96, 96, true, target), CodecError);
    EXPECT_THROW(thumbnailer.makeThumbnail(QByteArray("not a JPEG at all"), 320, 240, 40, 30, true, target),
                 CodecError);
    EXPECT_THROW(thumbnailer.makeThumbnail(QByteArray(), 320, 240, 40, 30, true, target), CodecError);
}

// During a run a progressive picture's coefficients live in blocks kept
// from one picture to the next. A block that held another picture, or a
// decode that failed half way, leaves nothing behind: every picture decodes
// as libjpeg does in memory of its own (Qt's reader, which uses it that
// way). Few blocks are kept, none outside a run.
TEST(JpegCoefficients, KeptBlocksDecodeAsFreshMemory)
{
    using R = JpegRecipe;
    std::optional<KeepCoefficients> run(std::in_place);
    const QByteArray large = writeJpeg({"large", 1200, 900, R::Rgb, 2, 2, true});
    const QByteArray odd = writeJpeg({"odd", 333, 517, R::Rgb, 2, 1, true});
    const QByteArray grey = writeJpeg({"grey", 517, 333, R::Grey, 1, 1, true});
    const QByteArray restarts = writeJpeg({"restarts", 480, 640, R::Rgb, 2, 2, true, false, 0, 5});
    const auto expectAsQt = [](const QByteArray& bytes, const char* what) {
        SCOPED_TRACE(what);
        const QImage qt = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB888);
        ASSERT_FALSE(qt.isNull());
        const Bitmap ours = decodeJpeg(bytes);
        ASSERT_EQ(ours.width(), qt.width());
        ASSERT_EQ(ours.height(), qt.height());
        int wrongRows = 0;
        for (int y = 0; y < qt.height(); ++y) {
            const std::uint8_t* rgb = qt.constScanLine(y);
            const std::uint8_t* bgr = ours.row(y);
            for (int x = 0; x < qt.width(); ++x)
                if (bgr[3 * x] != rgb[3 * x + 2] || bgr[3 * x + 1] != rgb[3 * x + 1] || bgr[3 * x + 2] != rgb[3 * x]) {
                    ++wrongRows;
                    break;
                }
        }
        EXPECT_EQ(wrongRows, 0);
    };
    expectAsQt(large, "large first");
    const std::size_t largeBlock = keptCoefficientBytes();
    EXPECT_GE(largeBlock, std::size_t(1200 * 900) * 2 * 3 / 2);
    expectAsQt(odd, "odd after large");
    EXPECT_THROW(decodeJpeg(large.left(large.size() / 2)), CodecError);
    expectAsQt(grey, "grey after a failed decode");
    std::thread other([&] { expectAsQt(restarts, "restarts on another thread"); });
    expectAsQt(large, "large beside it");
    other.join();
    expectAsQt(odd, "odd again");
    // At most one block for each of two decoders at once.
    EXPECT_GT(keptCoefficientBytes(), 0u);
    EXPECT_LE(keptCoefficientBytes(), 2 * largeBlock);
    run.reset();
    EXPECT_EQ(keptCoefficientBytes(), 0u);
    expectAsQt(odd, "odd outside a run");
    EXPECT_EQ(keptCoefficientBytes(), 0u);
}

// The frame header found ahead of decoding, for planning the work: size,
// whether the whole picture's coefficients are held, where it starts, and
// nothing from what is no JPEG or ends before its frame.
std::optional<JpegFrame> peekFrame(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return peekJpegFrame(buffer);
}

TEST(PeekJpegFrame, ReadsTheFrameOfEveryKind)
{
    for (const JpegRecipe& recipe : recipes()) {
        SCOPED_TRACE(recipe.name);
        const QByteArray bytes = writeJpeg(recipe);
        const std::optional<JpegFrame> frame = peekFrame(bytes);
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(frame->width, recipe.width);
        EXPECT_EQ(frame->height, recipe.height);
        EXPECT_EQ(frame->progressive, recipe.progressive);
        // 64 two-byte coefficients a block: at least two bytes a pixel of
        // the first component, at most two for each component's pixel
        // plus the blocks' rounding.
        const std::int64_t pixels = std::int64_t(recipe.width) * recipe.height;
        if (recipe.progressive) {
            EXPECT_GE(frame->coefficientBytes, 2 * pixels);
            EXPECT_LE(frame->coefficientBytes, 8 * pixels + 128 * (recipe.width + recipe.height + 64));
        } else {
            EXPECT_EQ(frame->coefficientBytes, 0);
        }
    }
    // Behind 300 kB of metadata in 64 kB segments, as cameras write a
    // preview or editors their history.
    const QByteArray good = writeJpeg({"base", 320, 240});
    QByteArray metadata;
    for (int i = 0; i < 5; ++i)
        metadata += QByteArray("\xff\xe1\xff\xff", 4) + QByteArray(65533, char(0xff));
    const QByteArray behindMetadata = good.left(2) + metadata + good.mid(2);
    const std::optional<JpegFrame> late = peekFrame(behindMetadata);
    ASSERT_TRUE(late.has_value());
    EXPECT_EQ(late->width, 320);
    EXPECT_EQ(late->offset, behindMetadata.indexOf("\xff\xc0"));

    const qsizetype frameAt = good.indexOf("\xff\xc0");
    ASSERT_GT(frameAt, 0);
    QByteArray longSegment = good;
    longSegment[4] = char(0xff);  // the first segment claims to run past the end
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("not a JPEG at all"), good.left(frameAt + 8), good.left(frameAt), longSegment})
        EXPECT_FALSE(peekFrame(bytes).has_value()) << bytes.size();
}

}  // namespace
}  // namespace tessaly
