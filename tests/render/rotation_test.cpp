// Background rotation: when the picture changes, with and without captions, and what a change leaves.
#include <gtest/gtest.h>

#include "render_fixture.h"
#include "scene/render/compositor.h"
#include "scene/render/overlays.h"
#include "scene/render/rotation.h"

namespace kolvane {
namespace {

using testing::RenderScene;
using testing::same_pixels;

// The frame steps that matter here, in the main loop's order: the rotation runs at the end of
// the motion step, the caption line last.
void run_frame(App& app) {
    handle_picture_rotation(app.scene);
    handle_scroller(app.scene);
}

void start_scene(App& app, int rotation_period, int scroller_period, bool captions) {
    app.scene.run.rotation_period = rotation_period;
    app.scene.run.scroller_period = scroller_period;
    app.scene.scroller = {};
    app.scene.scroller.scroller_countdown = scroller_period;  // as the sprite table's set-up leaves it
    app.settings.scroller_active = captions ? 1 : 0;
    app.lists.caption_count = 2;
    app.lists.captions[1] = "first";
    app.lists.captions[2] = "second";
    app.scene.rotation.rotation_count = 0;
    app.scene.rotation.transition_effect = 0;
}

TEST(Rotation, WithoutCaptionsTheFirstChangeComesInFrame81) {
    RenderScene scene(48, 32, 3);
    App& app = scene.app;
    start_scene(app, 80, 500, false);
    for (int frame = 1; frame <= 80; ++frame) {
        run_frame(app);
        ASSERT_EQ(app.scene.rotation.current_picture, 3) << frame;
        ASSERT_EQ(app.scene.rotation.rotation_count, frame);
    }
    run_frame(app);
    EXPECT_EQ(app.scene.rotation.current_picture, 4);
    EXPECT_EQ(app.scene.rotation.rotation_count, 0);
    EXPECT_EQ(app.scene.rotation.transition_effect, 1);
    EXPECT_EQ(app.scene.scroller.scroller_countdown, 500);  // the caption line never left its start
}

TEST(Rotation, WithCaptionsOnlyIdleFramesCountAndTheChangeFallsInTheThirdPause) {
    RenderScene scene(48, 32, 0);
    App& app = scene.app;
    start_scene(app, 1040, 500, true);
    int idle_frames = 0;
    for (int frame = 1; frame < 5000; ++frame) {
        const bool idle = app.scene.scroller.scroller_phase == 0 && app.scene.scroller.scroller_countdown > 0;
        const int count_before = app.scene.rotation.rotation_count;
        run_frame(app);
        if (app.scene.rotation.current_picture != 0) break;
        ASSERT_EQ(app.scene.rotation.rotation_count, count_before + (idle ? 1 : 0)) << frame;
        idle_frames += idle;
    }
    EXPECT_EQ(app.scene.rotation.current_picture, 1);
    EXPECT_EQ(idle_frames, 1040);  // the change itself is the 1041st counted frame
    // Two captions have come and gone; the change came in the pause after the second.
    EXPECT_EQ(app.scene.scroller.caption_index, 2);
    EXPECT_EQ(app.scene.scroller.scroller_phase, 0);
    EXPECT_EQ(app.scene.scroller.scroller_countdown, 500 - 41);
}

TEST(Rotation, WithoutAScrollerPeriodThePictureNeverChanges) {
    RenderScene scene(48, 32, 5);
    App& app = scene.app;
    start_scene(app, 80, 0, true);
    for (int frame = 0; frame < 2000; ++frame) run_frame(app);
    EXPECT_EQ(app.scene.rotation.current_picture, 5);
    EXPECT_EQ(app.scene.rotation.rotation_count, 0);
}

TEST(Rotation, EffectsTakeTurnsAndPicturesWrapRound) {
    RenderScene scene(50, 30, 8);
    App& app = scene.app;
    start_scene(app, 2, 500, false);
    const int expected_picture[] = {9, 0, 1, 2};
    const int expected_effect[] = {1, 2, 3, 1};
    for (int change = 0; change < 4; ++change) {
        for (int frame = 0; frame < 3; ++frame) run_frame(app);
        EXPECT_EQ(app.scene.rotation.current_picture, expected_picture[change]);
        EXPECT_EQ(app.scene.rotation.transition_effect, expected_effect[change]);
    }
}

TEST(Rotation, AChangeShowsTheNewPictureEverywhereAndClearsEverySprite) {
    RenderScene scene(64, 40, 9);
    App& app = scene.app;
    start_scene(app, 0, 500, false);
    scene.place(1, 44, 10.0, 5.0);
    scene.place(2, 68, 30.0, 20.0, false);  // a star placed in this very frame
    app.scene.sprites.kind_count[12] = 1;
    scene.frame([] {});
    ASSERT_FALSE(same_pixels(scene.display.screen, app.scene.surfaces.background_copy));
    const Surface old_background = app.scene.surfaces.background_copy;

    blit_old_sprites(app.scene);
    handle_picture_rotation(app.scene);

    EXPECT_EQ(app.scene.rotation.current_picture, 0);
    const SceneSurfaces& s = app.scene.surfaces;
    EXPECT_TRUE(same_pixels(s.background_main, s.pictures[0]));
    EXPECT_FALSE(same_pixels(s.background_copy, old_background));
    Surface stretched(64, 40);
    StretchPlan plan;
    stretch_blt(stretched, 0, 0, 64, 40, s.pictures[0], plan);
    EXPECT_TRUE(same_pixels(s.background_copy, stretched));
    EXPECT_TRUE(same_pixels(s.background_work, s.background_copy));
    EXPECT_TRUE(same_pixels(*s.ascreen.persistent, s.background_copy));
    EXPECT_FALSE(s.ascreen.persistent_drawing);
    EXPECT_TRUE(same_pixels(scene.display.screen, s.background_copy));
    for (int slot = 1; slot <= 25; ++slot) EXPECT_EQ(app.scene.sprites.slot[static_cast<std::size_t>(slot)].active, 0);
    EXPECT_EQ(app.scene.sprites.kind_count[12], 0);
    // The rest of that frame draws nothing and leaves the new picture on the screen.
    blit_new_sprites(app.scene);
    blit_flicker_free(app.scene);
    EXPECT_TRUE(same_pixels(scene.display.screen, s.background_copy));
    // A window repaint shows the new picture.
    scene.display.uncover(0, 0, 64, 40);
    EXPECT_TRUE(same_pixels(scene.display.screen, s.background_copy));
}

}  // namespace
}  // namespace kolvane
