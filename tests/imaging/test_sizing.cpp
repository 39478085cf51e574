#include "imaging/sizing.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The size rules, worked by hand: both sides below the maximum keep their
// size, one side equal to it scales, force rules always scale; halves round
// to the even neighbour.
TEST(Sizing, WorkedCases)
{
    struct Case {
        const char* rule;
        int w, h, m;
        TargetSize expected;
    };
    const Case cases[] = {
        {"fit", 400, 300, 100, {100, 75}}, {"fit", 300, 400, 100, {75, 100}}, {"fit", 90, 60, 96, {90, 60}},
        {"fit", 96, 50, 96, {96, 50}},     {"fit", 200, 96, 96, {96, 46}},    {"fit", 40, 10, 10, {10, 2}},
        {"fit", 64, 48, 96, {64, 48}},     {"fit", 1000, 1, 96, {96, 0}},     {"fit", 30, 10, 10, {10, 3}},
        {"fit", 10, 14, 5, {4, 5}},        {"width", 40, 10, 10, {10, 2}},    {"width", 50, 40, 96, {96, 77}},
        {"height", 50, 40, 96, {120, 96}}, {"height", 40, 10, 4, {16, 4}},    {"width", 8, 7, 4, {4, 4}},
        {"width", 8, 5, 4, {4, 2}},
    };
    for (const Case& c : cases) {
        const std::string rule = c.rule;
        const TargetSize got = rule == "fit"     ? FitWithin(c.w, c.h, c.m)
                               : rule == "width" ? ForceToWidth(c.w, c.h, c.m)
                                                 : ForceToHeight(c.w, c.h, c.m);
        EXPECT_EQ(got, c.expected) << rule << " " << c.w << "x" << c.h << " within " << c.m << " gave " << got.width
                                   << "x" << got.height;
    }
}

// Which rule applies: fixed size without the kept ratio, then the force
// boxes, then fitting.
TEST(Sizing, ThumbnailSizeChoosesTheRule)
{
    SizeOptions options;
    options.fixedWidth = 120;
    options.fixedHeight = 80;
    options.maximum = 96;
    EXPECT_EQ(thumbnailSize(50, 40, options), (TargetSize{120, 80}));
    options.keepAspect = true;
    EXPECT_EQ(thumbnailSize(50, 40, options), (TargetSize{50, 40}));
    options.forceHeight = true;
    EXPECT_EQ(thumbnailSize(50, 40, options), (TargetSize{120, 96}));
    options.forceWidth = true;
    EXPECT_EQ(thumbnailSize(50, 40, options), (TargetSize{96, 77}));
}

}  // namespace
}  // namespace tessaly
