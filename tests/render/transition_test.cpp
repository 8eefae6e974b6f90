// The three transitions: every pixel of the new picture reaches the screen, for odd and even sizes.
#include <gtest/gtest.h>

#include "render_fixture.h"
#include "scene/render/compositor.h"

namespace kolvane {
namespace {

using testing::RenderScene;
using testing::same_pixels;

struct Case {
    int mode, width, height;
};

class Transition : public ::testing::TestWithParam<Case> {};

// A new picture unlike the one on the screen anywhere.
Surface new_picture(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.at(x, y) = 0x00FF0000u | static_cast<std::uint32_t>((x * 31 + y * 17) & 0xFF);
    return s;
}

TEST_P(Transition, BringsEveryPixelOfTheSourceOnTheScreen) {
    const Case c = GetParam();
    RenderScene scene(c.width, c.height);
    App& app = scene.app;
    const Surface source = new_picture(c.width, c.height);
    const Surface persistent_before = *app.scene.surfaces.ascreen.persistent;
    scene.display.count_presents(c.width, c.height);
    const int presents_before = scene.display.presents;
    const std::uint32_t clock_before = scene.system.clock_ms;

    blit_effect(app.scene, source, app.scene.surfaces.ascreen, c.mode);

    EXPECT_TRUE(same_pixels(scene.display.screen, source));
    EXPECT_TRUE(same_pixels(scene.display.screen, source));
    EXPECT_TRUE(same_pixels(*app.scene.surfaces.ascreen.persistent, persistent_before));
    int uncovered = 0, repeated = 0;
    for (const std::uint32_t n : scene.display.present_counts) {
        uncovered += n == 0;
        repeated += n > 1;
    }
    EXPECT_EQ(uncovered, 0);
    const int presents = scene.display.presents - presents_before;
    const std::uint32_t waited = scene.system.clock_ms - clock_before;
    if (c.mode == 1) {
        // Blocks are one pixel larger than the grid so that rounding leaves no gap; they overlap.
        EXPECT_LE(presents, 1600);
        // On a screen of 40 pixels or more every block lies at least partly inside it.
        if (c.width >= 40 && c.height >= 40) {
            EXPECT_EQ(presents, 1600);
        }
        EXPECT_GE(waited, 1600u);
    } else {
        // Rows (columns) each copied exactly once, two per step.
        EXPECT_EQ(repeated, 0);
        const int lines = c.mode == 2 ? c.height : c.width;
        EXPECT_EQ(presents, lines);
        const std::uint32_t step_ms = c.mode == 2 ? 6 : 4;
        EXPECT_EQ(waited, static_cast<std::uint32_t>(lines / 2 + 1) * step_ms);
    }
}

INSTANTIATE_TEST_SUITE_P(OddAndEvenSizes, Transition,
                         ::testing::Values(Case{1, 64, 48}, Case{1, 65, 47}, Case{1, 7, 5}, Case{1, 41, 39},
                                           Case{1, 1023, 37}, Case{1, 800, 41}, Case{2, 64, 48}, Case{2, 64, 47},
                                           Case{2, 5, 1}, Case{2, 30, 600}, Case{2, 3, 2}, Case{3, 64, 48},
                                           Case{3, 65, 48}, Case{3, 1, 9}, Case{3, 801, 20}, Case{3, 2, 4}));

TEST(TransitionOrder, RowsComeInFromBothEdges) {
    RenderScene scene(16, 12);
    App& app = scene.app;
    const Surface source = new_picture(16, 12);
    int step = 0;
    bool checked = false;
    scene.system.on_pump = [&] {
        // Two event deliveries per pause: the first step has copied rows 0 and 11 only.
        if (++step != 1) return;
        for (int y = 0; y < 12; ++y) {
            const bool copied = y == 0 || y == 11;
            EXPECT_EQ(same_pixels(scene.display.screen, source, 0, y, 16, 1), copied) << y;
        }
        checked = true;
    };
    blit_effect(app.scene, source, app.scene.surfaces.ascreen, 2);
    EXPECT_TRUE(checked);
}

TEST(TransitionOrder, UnknownModesCopyNothing) {
    RenderScene scene(20, 10);
    App& app = scene.app;
    const Surface before = scene.display.screen;
    const int presents = scene.display.presents;
    for (const int mode : {0, 4, -1}) blit_effect(app.scene, new_picture(20, 10), app.scene.surfaces.ascreen, mode);
    EXPECT_TRUE(same_pixels(scene.display.screen, before));
    EXPECT_EQ(scene.display.presents, presents);
}

}  // namespace
}  // namespace kolvane
