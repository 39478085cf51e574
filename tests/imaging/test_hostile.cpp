#include "support/imagingtesttools.h"
#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/encoders.h"
#include "imaging/picture.h"

#include <gtest/gtest.h>
#include <random>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::Rgb;

// Loading and drawing must end in a picture or a LoadError/CodecError;
// nothing else may escape, and the process must not crash.
void loadAndDraw(const QByteArray& bytes, const QString& name)
{
    try {
        const Picture picture = decodePicture(bytes, name);
        Bitmap bitmap;
        DrawToBitmap(bitmap, picture);
        EXPECT_EQ(bitmap.width(), picture.width());
    } catch (const LoadError&) {
    } catch (const std::runtime_error&) {
        // Metafile playback reports its failures as codec errors.
    }
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

// Valid files cut short at many places.
TEST(HostileInput, TruncatedFiles)
{
    for (const Sample& sample : samples()) {
        const qsizetype size = sample.bytes.size();
        const qsizetype step = std::max<qsizetype>(1, size / 60);
        for (qsizetype cut = 0; cut < size; cut += step)
            loadAndDraw(sample.bytes.left(cut), sample.name);
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
