#include "imaging/rotation.h"
#include "support/imagingtesttools.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::pixelAt;
using testing::Rgb;

const Bitmap kSource = makeBitmap(4, 3, [](int x, int y) { return Rgb{x * 50, y * 80, x + y}; });

// Clockwise: (x, y) goes to (H - 1 - y, x), the top-left corner to the
// top-right; counter-clockwise: (x, y) to (y, W - 1 - x).
TEST(Rotation, PixelMappings)
{
    const Bitmap cw = rotateClockwise(kSource);
    ASSERT_EQ(cw.width(), 3);
    ASSERT_EQ(cw.height(), 4);
    const Bitmap ccw = rotateCounterClockwise(kSource);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(pixelAt(cw, 3 - 1 - y, x), pixelAt(kSource, x, y));
            EXPECT_EQ(pixelAt(ccw, y, 4 - 1 - x), pixelAt(kSource, x, y));
        }
    EXPECT_EQ(pixelAt(cw, 2, 0), pixelAt(kSource, 0, 0));
    EXPECT_EQ(pixelAt(ccw, 0, 3), pixelAt(kSource, 0, 0));
}

TEST(Rotation, TurnsUndoEachOther)
{
    EXPECT_EQ(rotateCounterClockwise(rotateClockwise(kSource)), kSource);
    EXPECT_EQ(rotateClockwise(rotateClockwise(rotateClockwise(rotateClockwise(kSource)))), kSource);
    const Bitmap wide(640, 480);
    EXPECT_EQ(rotateClockwise(wide).width(), 480);
    EXPECT_EQ(rotateCounterClockwise(wide).height(), 640);
}

}  // namespace
}  // namespace tessaly
