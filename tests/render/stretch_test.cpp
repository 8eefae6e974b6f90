// Scaling the background picture to the screen: size, constant colours, filter values, clipping.
#include <gtest/gtest.h>

#include "scene/render/stretch.h"
#include "tests/allocation_counter.h"

namespace kolvane {
namespace {

std::uint32_t grey(std::uint32_t v) { return v * 0x010101u; }

Surface ramp(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.at(x, y) = grey(static_cast<std::uint32_t>(x * 255 / (w - 1)));
    return s;
}

struct Size {
    int w, h;
};

TEST(Stretch, ConstantColourStaysConstantAtAnySize) {
    const Surface picture(640, 480, 0x00C86432u);
    for (const Size size : {Size{1920, 1080}, Size{1023, 767}, Size{640, 480}, Size{333, 250}, Size{1000, 300},
                            Size{7, 5}, Size{1, 1}}) {
        Surface screen(size.w, size.h, 0x00FFFFFFu);
        StretchPlan plan;
        const PixelRect r = stretch_blt(screen, 0, 0, size.w, size.h, picture, plan);
        EXPECT_EQ(r.width, size.w);
        EXPECT_EQ(r.height, size.h);
        for (int y = 0; y < size.h; ++y)
            for (int x = 0; x < size.w; ++x)
                ASSERT_EQ(screen.at(x, y), 0x00C86432u) << size.w << "x" << size.h << " at " << x << "," << y;
    }
}

TEST(Stretch, FillsExactlyTheRequestedRectangle) {
    const Surface picture(64, 48, 0x00102030u);
    Surface dest(200, 100, 0x00FFFFFFu);
    StretchPlan plan;
    stretch_blt(dest, 10, 20, 150, 61, picture, plan);
    int inside = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool in = x >= 10 && x < 160 && y >= 20 && y < 81;
            EXPECT_EQ(dest.at(x, y), in ? 0x00102030u : 0x00FFFFFFu) << x << "," << y;
            inside += in;
        }
    }
    EXPECT_EQ(inside, 150 * 61);
}

TEST(Stretch, SameSizeIsAnExactCopy) {
    Surface picture(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) picture.at(x, y) = static_cast<std::uint32_t>((x * 7919 + y * 104729) & 0xFFFFFF);
    Surface dest(37, 23);
    StretchPlan plan;
    stretch_blt(dest, 0, 0, 37, 23, picture, plan);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) ASSERT_EQ(dest.at(x, y), picture.at(x, y));
}

TEST(Stretch, EnlargingInterpolatesBetweenNeighbours) {
    Surface picture(2, 1);
    picture.at(0, 0) = grey(0);
    picture.at(1, 0) = grey(255);
    Surface dest(4, 1);
    StretchPlan plan;
    stretch_blt(dest, 0, 0, 4, 1, picture, plan);
    EXPECT_EQ(dest.at(0, 0), grey(0));
    EXPECT_EQ(dest.at(1, 0), grey(64));
    EXPECT_EQ(dest.at(2, 0), grey(191));
    EXPECT_EQ(dest.at(3, 0), grey(255));
}

TEST(Stretch, SixfoldEnlargementHasNoSteps) {
    // A ramp scaled six times: neighbouring output pixels differ by at most one input step / 6 + rounding.
    const Surface picture = ramp(64, 2);
    Surface dest(384, 12);
    StretchPlan plan;
    stretch_blt(dest, 0, 0, 384, 12, picture, plan);
    for (int x = 1; x < 384; ++x) {
        const int a = static_cast<int>(dest.at(x - 1, 5) & 0xFF), b = static_cast<int>(dest.at(x, 5) & 0xFF);
        EXPECT_GE(b, a);
        EXPECT_LE(b - a, 2) << x;
    }
}

TEST(Stretch, ShrinkingAveragesTheCoveredArea) {
    Surface checks(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) checks.at(x, y) = (x + y) % 2 ? grey(255) : grey(0);
    Surface dest(2, 2);
    StretchPlan plan;
    stretch_blt(dest, 0, 0, 2, 2, checks, plan);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(dest.at(x, y), grey(128));

    // A picture that is dark on the left half and light on the right, to three pixels.
    Surface halves(640, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 640; ++x) halves.at(x, y) = x < 320 ? grey(0) : grey(255);
    Surface three(3, 1);
    stretch_blt(three, 0, 0, 3, 1, halves, plan);
    EXPECT_EQ(three.at(0, 0), grey(0));
    EXPECT_NEAR(static_cast<int>(three.at(1, 0) & 0xFF), 128, 1);
    EXPECT_EQ(three.at(2, 0), grey(255));

    // All 640 columns into one: the mean of the ramp.
    Surface one(1, 1);
    stretch_blt(one, 0, 0, 1, 1, ramp(640, 1), plan);
    EXPECT_NEAR(static_cast<int>(one.at(0, 0) & 0xFF), 127, 1);
}

TEST(Stretch, ClippedDrawingMatchesTheUnclippedPicture) {
    const Surface picture = ramp(64, 48);
    Surface whole(200, 150);
    StretchPlan plan;
    stretch_blt(whole, 0, 0, 200, 150, picture, plan);
    Surface part(120, 90, 0x00FFFFFFu);
    const PixelRect r = stretch_blt(part, -50, -40, 200, 150, picture, plan);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.width, 120);
    EXPECT_EQ(r.height, 90);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) ASSERT_EQ(part.at(x, y), whole.at(x + 50, y + 40));
}

TEST(Stretch, APreparedPlanScalesAgainWithoutAllocating) {
    const Surface picture = ramp(640, 480);
    Surface screen(1023, 767);
    StretchPlan plan;
    stretch_blt(screen, 0, 0, 1023, 767, picture, plan);
    const std::int64_t before = testing::allocation_count();
    stretch_blt(screen, 0, 0, 1023, 767, picture, plan);
    EXPECT_EQ(testing::allocation_count(), before);
}

}  // namespace
}  // namespace kolvane
