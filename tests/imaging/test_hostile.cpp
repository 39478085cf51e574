#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/encoders.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "support/imagingtesttools.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <random>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::Rgb;

// The oracle for hostile input: loading and drawing end in a picture of
// the size the file claims or in a LoadError, within a time bound; nothing
// else may escape, and the process must not crash. Returns whether the
// file became a picture.
bool loadAndDraw(const QByteArray& bytes, const QString& name)
{
    testing::resetPeakMemory();
    const long memoryBefore = testing::peakMemoryMegabytes();
    QElapsedTimer timer;
    timer.start();
    bool opened = false;
    try {
        const Picture picture = decodePicture(bytes, name);
        Bitmap bitmap;
        DrawToBitmap(bitmap, picture);
        EXPECT_EQ(bitmap.width(), picture.width()) << name.toStdString();
        EXPECT_EQ(bitmap.height(), picture.height()) << name.toStdString();
        FastResize(bitmap, picture, 24, 16);
        EXPECT_EQ(bitmap.width(), 24);
        opened = true;
    } catch (const LoadError&) {
    }
    // Generous for the sanitizer build and a busy machine; a hostile file
    // used to cost tens of seconds.
    EXPECT_LT(timer.elapsed(), 5000) << name.toStdString();
    // None of these files is larger than a few kilobytes or claims a
    // picture worth more than a few megabytes; the sanitizer's shadow
    // memory comes on top.
    EXPECT_LT(testing::peakMemoryMegabytes() - memoryBefore, 300) << name.toStdString();
    return opened;
}

struct Sample {
    QString name;
    QByteArray bytes;
};

std::vector<Sample> samples()
{
    const Bitmap picture = makeBitmap(24, 18, [](int x, int y) { return Rgb{x * 10, y * 12, (x ^ y) * 8}; });
    std::vector<Sample> all;
    all.push_back({QStringLiteral("a.jpg"), testing::makeJpeg(picture, false)});
    all.push_back({QStringLiteral("grey.jpg"), testing::makeJpeg(picture, true)});
    all.push_back({QStringLiteral("cmyk.jpg"), testing::readTestFile(QStringLiteral("cmyk.jpg"))});
    GifOutput gif;
    EncodeGif(gif, picture);
    all.push_back({QStringLiteral("a.gif"), gif.fileBytes()});
    testing::GifRecipe interlaced;
    interlaced.screenWidth = interlaced.width = 4;
    interlaced.screenHeight = interlaced.height = 9;
    interlaced.pixels.assign(36, 1);
    interlaced.globalColours = {{0, 0, 0}, {255, 0, 0}};
    interlaced.interlaced = true;
    interlaced.transparent = 0;
    all.push_back({QStringLiteral("i.gif"), testing::makeGif(interlaced)});
    for (const char* bmp : {"bmp4rle.bmp", "bmp8rle.bmp", "bmp16bitfields.bmp", "bmp24.bmp", "bmp32.bmp"})
        all.push_back({QString::fromLatin1(bmp), testing::readTestFile(QString::fromLatin1(bmp))});
    all.push_back({QStringLiteral("ours.emf"), encodeEmf(picture)});
    all.push_back({QStringLiteral("ours.wmf"), encodeWmf(picture)});
    all.push_back({QStringLiteral("shapes.emf"), testing::readTestFile(QStringLiteral("shapes-inkscape.emf"))});
    all.push_back({QStringLiteral("shapes.wmf"), testing::readTestFile(QStringLiteral("shapes-inkscape.wmf"))});
    return all;
}

// The last byte a decoder needs: a file cut anywhere before it is not a
// picture. JPEG: its end marker; GIF: its image data (before the final
// empty block and trailer); metafiles: their end record; BMP: its pixels.
qsizetype neededBytes(const Sample& sample)
{
    const QString kind = sample.name.section(QLatin1Char('.'), -1);
    if (kind == QLatin1String("jpg"))
        return sample.bytes.size() - 2;
    if (kind == QLatin1String("gif"))
        return sample.bytes.size() - 2;
    if (kind == QLatin1String("bmp"))
        return sample.bytes.size() - (sample.name.contains(QLatin1String("rle")) ? 0 : 3);
    return sample.bytes.size();
}

// Valid files cut short at many places: never a picture made up of data
// that is not there.
TEST(HostileInput, TruncatedFiles)
{
    for (const Sample& sample : samples()) {
        const qsizetype size = sample.bytes.size();
        const qsizetype step = std::max<qsizetype>(1, size / 60);
        ASSERT_TRUE(loadAndDraw(sample.bytes, sample.name)) << sample.name.toStdString();
        for (qsizetype cut = 0; cut < neededBytes(sample); cut += step)
            EXPECT_FALSE(loadAndDraw(sample.bytes.left(cut), sample.name))
                << sample.name.toStdString() << " cut at " << cut << " of " << size;
    }
}

// Every input the fuzzers found trouble with (tests/data/fuzz) ends in a
// picture or a LoadError within the bound; metafiles that pass the record
// checks also play back through the libraries in this process without
// fault.
TEST(HostileInput, FuzzerFindings)
{
    const QDir folder(testing::testDataPath(QStringLiteral("fuzz")));
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        const QByteArray bytes = testing::readTestFile(QStringLiteral("fuzz/") + name);
        loadAndDraw(bytes, name);
        if (pictureKindForName(name) != PictureKind::Metafile)
            continue;
        const auto format = name.endsWith(QLatin1String("emf")) ? MetafileFormat::Enhanced : MetafileFormat::Windows;
        try {
            const QByteArray checked = checkedMetafile(bytes, format);
            (void)renderMetafileWithLibraries(checked, format, 40, 30);
        } catch (const Error&) {
        }
    }
}

// Valid files with bytes flipped, the header included.
TEST(HostileInput, FlippedBytes)
{
    std::mt19937 random(20261208);
    for (const Sample& sample : samples()) {
        for (int round = 0; round < 80; ++round) {
            QByteArray damaged = sample.bytes;
            const int flips = 1 + int(random() % 4);
            for (int i = 0; i < flips; ++i) {
                // Half of the damage lands in the first 64 bytes, where the sizes are.
                const qsizetype span = (i % 2 == 0) ? std::min<qsizetype>(64, damaged.size()) : damaged.size();
                damaged[qsizetype(random() % std::uint32_t(span))] ^= char(1 << (random() % 8));
            }
            loadAndDraw(damaged, sample.name);
        }
    }
}

// Headers that claim enormous pictures are refused before any allocation.
TEST(HostileInput, AbsurdSizesAreRefused)
{
    testing::GifRecipe recipe;
    recipe.pixels.assign(16, 0);
    recipe.globalColours = {{0, 0, 0}, {1, 1, 1}};
    QByteArray gif = testing::makeGif(recipe);
    gif[6] = gif[7] = gif[8] = gif[9] = char(0xFF);  // 65535 by 65535 screen
    EXPECT_THROW(decodePicture(gif, QStringLiteral("big.gif")), LoadError);

    QByteArray bmp = testing::readTestFile(QStringLiteral("bmp24.bmp"));
    bmp[18] = bmp[19] = char(0xFF);
    bmp[20] = char(0x7F);
    bmp[21] = 0;
    bmp[22] = bmp[23] = char(0xFF);
    bmp[24] = char(0x7F);
    bmp[25] = 0;
    EXPECT_THROW(decodePicture(bmp, QStringLiteral("big.bmp")), LoadError);

    QByteArray emf = encodeEmf(makeBitmap(4, 4, [](int, int) { return Rgb{0, 0, 0}; }));
    emf[32] = emf[33] = emf[34] = char(0xFF);
    emf[35] = char(0x7F);
    EXPECT_THROW(decodePicture(emf, QStringLiteral("big.emf")), LoadError);
}

}  // namespace
}  // namespace tessaly
