#include "imaging/picture.h"
#include "imaging/resample.h"
#include "support/imagingtesttools.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::pixelAt;
using testing::Rgb;

Bitmap resized(const Bitmap& source, int width, int height)
{
    Bitmap work = source;
    Bitmap scratch;
    QualityResize(work, scratch, width, height);
    return work;
}

// The worked 3 by 2 case: kx = 1 and ky = 2, so the third source column is
// never used and the second target row averages the two source rows.
TEST(QualityResize, ThreeByTwoToTwoByTwo)
{
    const Rgb row0[3] = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    const Rgb row1[3] = {{100, 110, 120}, {130, 140, 150}, {160, 170, 180}};
    const Bitmap source = makeBitmap(3, 2, [&](int x, int y) { return y == 0 ? row0[x] : row1[x]; });
    const Bitmap target = resized(source, 2, 2);
    ASSERT_EQ(target.width(), 2);
    ASSERT_EQ(target.height(), 2);
    EXPECT_EQ(pixelAt(target, 0, 0), (Rgb{10, 20, 30}));
    EXPECT_EQ(pixelAt(target, 1, 0), (Rgb{40, 50, 60}));
    EXPECT_EQ(pixelAt(target, 0, 1), (Rgb{55, 65, 75}));
    EXPECT_EQ(pixelAt(target, 1, 1), (Rgb{85, 95, 105}));
}

// 2 by 2 to 2 by 2: the top-left pixel is kept, the others average their
// neighbours half-way.
TEST(QualityResize, TwoByTwoSamplesHalfWay)
{
    const Rgb colours[2][2] = {{{0, 0, 0}, {100, 200, 50}}, {{20, 40, 60}, {120, 240, 110}}};
    const Bitmap source = makeBitmap(2, 2, [&](int x, int y) { return colours[y][x]; });
    const Bitmap target = resized(source, 2, 2);
    EXPECT_EQ(pixelAt(target, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixelAt(target, 1, 0), (Rgb{50, 100, 25}));
    EXPECT_EQ(pixelAt(target, 0, 1), (Rgb{10, 20, 30}));
    EXPECT_EQ(pixelAt(target, 1, 1), (Rgb{60, 120, 55}));
}

// Half-way values round to the even neighbour: 2.5 to 2, 3.5 to 4.
TEST(QualityResize, TiesRoundToEven)
{
    const Bitmap source = makeBitmap(2, 2, [](int, int y) { return Rgb{y == 0 ? 2 : 3, y == 0 ? 3 : 4, 0}; });
    const Bitmap target = resized(source, 1, 2);
    EXPECT_EQ(pixelAt(target, 0, 1)[0], 2);
    EXPECT_EQ(pixelAt(target, 0, 1)[1], 4);
}

// Enlarging uses the same loop and stays inside the source.
TEST(QualityResize, EnlargesAndKeepsCorners)
{
    const Bitmap source = makeBitmap(3, 3, [](int x, int y) { return Rgb{x * 100, y * 100, 7}; });
    const Bitmap target = resized(source, 9, 7);
    EXPECT_EQ(target.width(), 9);
    EXPECT_EQ(target.height(), 7);
    EXPECT_EQ(pixelAt(target, 0, 0), (Rgb{0, 0, 7}));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_LE(pixelAt(target, x, y)[0], 200);
    const Bitmap huge = resized(makeBitmap(2, 2, [](int, int) { return Rgb{9, 9, 9}; }), 3000, 2);
    EXPECT_EQ(pixelAt(huge, 2999, 1), (Rgb{9, 9, 9}));
}

// A source one pixel wide or high (whose scale would divide by zero) is
// blended along its long side and stretched along the other; one pixel
// alone fills the target. Fast Resize copies as ever.
TEST(QualityResize, OnePixelWideOrHighIsResampled)
{
    const Bitmap thin = makeBitmap(1, 100, [](int, int y) { return Rgb{y, y, y}; });
    const Bitmap down = resized(thin, 1, 10);
    ASSERT_EQ(down.height(), 10);
    // Row 9 samples 9 * 99 / 10 = 89.1 between rows 89 and 90.
    EXPECT_EQ(pixelAt(down, 0, 9), (Rgb{89, 89, 89}));
    EXPECT_EQ(pixelAt(down, 0, 0), (Rgb{0, 0, 0}));
    const Bitmap wide = resized(makeBitmap(100, 1, [](int x, int) { return Rgb{x, 2, 3}; }), 20, 4);
    ASSERT_EQ(wide.width(), 20);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(pixelAt(wide, 19, y), (Rgb{94, 2, 3}));  // 19 * 99 / 20 = 94.05
    const Bitmap dot = resized(makeBitmap(1, 1, [](int, int) { return Rgb{5, 6, 7}; }), 3, 2);
    EXPECT_EQ(pixelAt(dot, 2, 1), (Rgb{5, 6, 7}));

    Bitmap work;
    FastResize(work, Picture::fromRaster(PictureKind::Bmp, thin), 1, 10);
    EXPECT_EQ(work.height(), 10);
    EXPECT_EQ(pixelAt(work, 0, 9), (Rgb{90, 90, 90}));
    EXPECT_THROW(FastResize(work, Picture::fromRaster(PictureKind::Bmp, thin), -5, 10), std::exception);
}

// Fast Resize copies one source pixel per target pixel: nothing is averaged.
TEST(FastResize, NearestPixelOnly)
{
    const Bitmap source = makeBitmap(4, 4, [](int x, int y) { return Rgb{x * 60, y * 60, 0}; });
    Bitmap work;
    FastResize(work, Picture::fromRaster(PictureKind::Jpeg, source), 2, 2);
    EXPECT_EQ(pixelAt(work, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixelAt(work, 1, 1), (Rgb{120, 120, 0}));
    FastResize(work, Picture::fromRaster(PictureKind::Jpeg, source), 8, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(pixelAt(work, x, y)[0] % 60, 0);
            EXPECT_EQ(pixelAt(work, x, y)[1] % 60, 0);
        }
}

}  // namespace
}  // namespace tessaly
