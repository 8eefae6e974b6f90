// A long run of the whole scene at 1920 x 1080 with the frame waits skipped, checking its invariants.
#include <gtest/gtest.h>

#include <array>

#include "scene/render/compositor.h"
#include "scene/scene_window.h"
#include "tests/scene/scene_fixture.h"

namespace kolvane {
namespace {

constexpr std::array<int, 13> kind_limit{0, 2, 1, 3, 5, 6, 1, 1, 1, 1, 5, 5, 1000};

void check_table(const App& app, long frame) {
    const SpriteTable& t = app.scene.sprites;
    ASSERT_EQ(t.max_sprites, 25);
    std::array<int, 26> seen{};
    for (int i = 1; i <= 25; ++i) {
        const int s = t.draw_order[static_cast<std::size_t>(i)];
        ASSERT_GE(s, 1) << "frame " << frame;
        ASSERT_LE(s, 25) << "frame " << frame;
        ASSERT_EQ(seen[static_cast<std::size_t>(s)]++, 0) << "slot twice in draw_order, frame " << frame;
    }
    std::array<int, 13> live{};
    for (int s = 1; s <= 25; ++s) {
        const SpriteSlot& slot = t.slot[static_cast<std::size_t>(s)];
        if (slot.active == 0) continue;
        ASSERT_GE(slot.kind, 1);
        ASSERT_LE(slot.kind, 12);
        ASSERT_GE(slot.frame, 0);
        ASSERT_LE(slot.frame, 73);
        ASSERT_GE(slot.anim, 0);
        ASSERT_LE(slot.anim, 10);
        ASSERT_GE(slot.anim_step, 0);
        ASSERT_LE(slot.anim_step, 100);
        ++live[static_cast<std::size_t>(slot.kind)];
    }
    for (int k = 1; k <= 12; ++k) {
        ASSERT_EQ(t.kind_count[static_cast<std::size_t>(k)], live[static_cast<std::size_t>(k)])
            << "kind " << k << " frame " << frame;
        ASSERT_LE(live[static_cast<std::size_t>(k)], kind_limit[static_cast<std::size_t>(k)]) << "kind " << k;
    }
    ASSERT_GE(app.scene.rotation.current_picture, 0);
    ASSERT_LE(app.scene.rotation.current_picture, 9);
}

// What the screen must show: the clean background with every active sprite drawn in order.
void check_no_stale_pixels(testing::SceneRig& rig, long frame) {
    App& app = *rig.app;
    Surface expected = app.scene.surfaces.background_copy;
    for (int k = 1; k <= app.scene.sprites.max_sprites; ++k) {
        const int s = app.scene.sprites.draw_order[static_cast<std::size_t>(k)];
        if (app.scene.sprites.slot[static_cast<std::size_t>(s)].active == 0) continue;
        const SlotPicture p = slot_picture(app.scene, s);
        if (p.masked) bit_blt(expected, p.x, p.y, p.width, p.height, app.scene.surfaces.mask, p.sheet_x, p.sheet_y, RasterOp::srcand);
        bit_blt(expected, p.x, p.y, p.width, p.height, app.scene.surfaces.sprite, p.sheet_x, p.sheet_y, RasterOp::srcpaint);
    }
    const Surface& shown = rig.display.screen;
    ASSERT_EQ(shown.width(), expected.width());
    ASSERT_EQ(shown.height(), expected.height());
    long differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) differing += shown.at(x, y) != expected.at(x, y) ? 1 : 0;
    ASSERT_EQ(differing, 0) << "stale pixels on the screen at frame " << frame;
}

TEST(LongRun, InvariantsHoldOverManyFramesAtFullHd) {
    testing::SceneRig rig(1920, 1080);
    rig.store.set("scroller_delay", "2");  // captions and background changes both come often
    rig.store.set("cycle_speed_value", "1");
    rig.store.set("object_frequency", "1");
    rig.start();
    ASSERT_EQ(rig.app->scene.run.screen_width, 1920);
    long launched = 0;
    std::array<int, 13> previous{};
    for (long frame = 1; frame <= KOLVANE_LONG_RUN_FRAMES; ++frame) {
        rig.app->scene.run.frame_start = static_cast<std::int32_t>(rig.system.clock_ms);
        frame_work(rig.app->scene);
        // The wait is skipped: the simulated clock just moves on by one frame.
        rig.system.clock_ms += 45;
        ASSERT_FALSE(end_of_frame(rig.app->scene));
        ASSERT_NO_FATAL_FAILURE(check_table(*rig.app, frame));
        for (int k = 1; k <= 11; ++k) {
            const int now = rig.app->scene.sprites.kind_count[static_cast<std::size_t>(k)];
            launched += now > previous[static_cast<std::size_t>(k)] ? now - previous[static_cast<std::size_t>(k)] : 0;
            previous[static_cast<std::size_t>(k)] = now;
        }
        if (frame % 997 == 0) {
            ASSERT_NO_FATAL_FAILURE(check_no_stale_pixels(rig, frame));
        }
    }
    EXPECT_GT(launched, KOLVANE_LONG_RUN_FRAMES / 100);
}

}  // namespace
}  // namespace kolvane
