#include "imaging/codecs/metafilecodec.h"
#include "imaging/picture.h"
#include "support/imagingtesttools.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::pixelAt;
using testing::Rgb;

Bitmap blocks()
{
    // Four 10 by 8 blocks of plain colour.
    return makeBitmap(20, 16, [](int x, int y) {
        if (y < 8)
            return x < 10 ? Rgb{255, 0, 0} : Rgb{0, 255, 0};
        return x < 10 ? Rgb{0, 0, 255} : Rgb{250, 200, 10};
    });
}

std::uint32_t le32(const QByteArray& bytes, int at)
{
    return std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8 | std::uint8_t(bytes[at + 2]) << 16 |
           std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

// Our EMF: the creator text in the description, the frame in hundredths of
// a millimetre at 96 dots per inch, and the picture back exactly.
TEST(EmfWriter, DescriptionFrameAndExactRoundTrip)
{
    const Bitmap source = blocks();
    const QByteArray emf = encodeEmf(source);
    EXPECT_EQ(le32(emf, 0), 1u);
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
    EXPECT_EQ(int(le32(emf, 48)), emf.size());
    const int descriptionLength = int(le32(emf, 60));
    const int descriptionAt = int(le32(emf, 64));
    EXPECT_EQ(descriptionLength, 16);
    const QString description =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(emf.constData() + descriptionAt), descriptionLength);
    EXPECT_EQ(description, QStringLiteral("Quorvane 2000") + QChar(0) + QChar(0) + QChar(0));
    EXPECT_EQ(int(le32(emf, 32)), 529);  // 20 px = 529.17 hundredths of a millimetre
    EXPECT_EQ(int(le32(emf, 36)), 423);

    const Picture picture = decodePicture(emf, QStringLiteral("x.emf"));
    EXPECT_EQ(picture.width(), 20);
    EXPECT_EQ(picture.height(), 16);
    Bitmap back;
    DrawToBitmap(back, picture);
    EXPECT_EQ(back, source);
}

// Our placeable WMF: the key, 96 units per inch, and the picture back.
TEST(WmfWriter, PlaceableHeaderAndExactRoundTrip)
{
    const Bitmap source = blocks();
    const QByteArray wmf = encodeWmf(source);
    EXPECT_EQ(le32(wmf, 0), 0x9AC6CDD7u);
    const Picture picture = decodePicture(wmf, QStringLiteral("x.WMF"));
    EXPECT_EQ(picture.width(), 20);
    EXPECT_EQ(picture.height(), 16);
    Bitmap back;
    DrawToBitmap(back, picture);
    EXPECT_EQ(back, source);
}

// The metafile libraries (not our reader) accept what we write and draw the
// same picture: EMF exactly, WMF exactly away from the block edges (libwmf
// softens bitmap edges by a pixel).
TEST(MetafileWriters, AcceptedByTheMetafileLibraries)
{
    const Bitmap source = blocks();
    EXPECT_EQ(renderMetafileWithLibraries(encodeEmf(source), MetafileFormat::Enhanced, 20, 16), source);
    const Bitmap wmf = renderMetafileWithLibraries(encodeWmf(source), MetafileFormat::Windows, 20, 16);
    ASSERT_EQ(wmf.width(), 20);
    for (const auto& [x, y] : {std::pair{4, 3}, {15, 3}, {4, 12}, {15, 12}})
        EXPECT_EQ(pixelAt(wmf, x, y), pixelAt(source, x, y)) << x << "," << y;
}

struct Probe {
    int x, y;
    Rgb colour;
};

void expectProbes(const Bitmap& bitmap, const char* file, std::initializer_list<Probe> probes)
{
    for (const Probe& probe : probes) {
        const Rgb got = pixelAt(bitmap, probe.x, probe.y);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(got[std::size_t(c)], probe.colour[std::size_t(c)], 40)
                << file << " at " << probe.x << "," << probe.y;
    }
}

// Files written by other programs render their vector content: filled
// shapes, polygons and lines at their places, the background white.
TEST(MetafileReaders, VectorFilesFromOtherPrograms)
{
    const Rgb white{255, 255, 255}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
    {
        const Picture picture = LoadPicture(testing::testDataPath(QStringLiteral("shapes-inkscape.emf")));
        EXPECT_EQ(picture.width(), 200);
        Bitmap bitmap;
        DrawToBitmap(bitmap, picture);
        expectProbes(
            bitmap, "shapes.emf",
            {{50, 50, red}, {150, 50, blue}, {100, 32, green}, {5, 5, white}, {195, 5, white}, {100, 98, {0, 0, 0}}});
    }
    {
        const Picture picture = LoadPicture(testing::testDataPath(QStringLiteral("shapes-inkscape.wmf")));
        EXPECT_EQ(picture.width(), 200);
        EXPECT_EQ(picture.height(), 100);
        Bitmap bitmap;
        DrawToBitmap(bitmap, picture);
        expectProbes(bitmap, "shapes.wmf", {{50, 50, red}, {150, 50, blue}, {5, 50, white}, {195, 5, white}});
    }
    {
        Bitmap bitmap;
        DrawToBitmap(bitmap, LoadPicture(testing::testDataPath(QStringLiteral("boxes-fig2dev.emf"))));
        expectProbes(bitmap, "boxes.emf", {{50, 50, red}, {180, 50, white}});
    }
    {
        Bitmap bitmap;
        DrawToBitmap(bitmap, LoadPicture(testing::testDataPath(QStringLiteral("rect-gnuplot.emf"))));
        expectProbes(bitmap, "rect.emf", {{95, 48, red}, {5, 5, white}});
    }
}

// A metafile plays back at any size asked for, on white.
TEST(MetafileReaders, PlaysBackAtTargetSize)
{
    const Picture picture = LoadPicture(testing::testDataPath(QStringLiteral("shapes-inkscape.emf")));
    const Bitmap small = picture.render(50, 25);
    EXPECT_EQ(small.width(), 50);
    expectProbes(small, "small", {{12, 12, {255, 0, 0}}, {37, 12, {0, 0, 255}}, {1, 1, {255, 255, 255}}});
}

}  // namespace
}  // namespace tessaly
