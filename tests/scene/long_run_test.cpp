// A long run of the whole scene at 1920 x 1080 with the frame waits skipped, checking its invariants.
#include <gtest/gtest.h>

#include <array>

#include "scene/scene_window.h"
#include "tests/scene/scene_fixture.h"
#include "tests/scene/scene_invariants.h"

namespace kolvane {
namespace {

TEST(LongRun, InvariantsHoldOverManyFramesAtFullHd) {
    testing::SceneRig rig(1920, 1080);
    rig.store.set("scroller_delay", "2");  // captions and background changes both come often
    rig.store.set("cycle_speed_value", "1");
    rig.store.set("object_frequency", "1");
    rig.start();
    ASSERT_EQ(rig.app->scene.run.screen_width, 1920);
    Surface expected;
    long launched = 0;
    std::array<int, 13> previous{};
    for (long frame = 1; frame <= KOLVANE_LONG_RUN_FRAMES; ++frame) {
        rig.app->scene.run.frame_start = static_cast<std::int32_t>(rig.system.clock_ms);
        const testing::DrawOrder drawn_order = rig.app->scene.sprites.draw_order;
        frame_work(rig.app->scene);
        // The wait is skipped: the simulated clock just moves on by one frame.
        rig.system.clock_ms += 45;
        ASSERT_FALSE(end_of_frame(rig.app->scene));
        ASSERT_EQ(testing::sprite_table_fault(*rig.app), "") << "frame " << frame;
        for (int k = 1; k <= 11; ++k) {
            const int now = rig.app->scene.sprites.kind_count[static_cast<std::size_t>(k)];
            launched += now > previous[static_cast<std::size_t>(k)] ? now - previous[static_cast<std::size_t>(k)] : 0;
            previous[static_cast<std::size_t>(k)] = now;
        }
        if (frame % 997 == 0) {
            ASSERT_EQ(testing::stale_pixels_fault(*rig.app, drawn_order, rig.display.screen, expected), "") << "frame " << frame;
        }
    }
    EXPECT_GT(launched, KOLVANE_LONG_RUN_FRAMES / 100);
}

}  // namespace
}  // namespace kolvane
