// Thousands of frames of the real sprite motion: the screen always shows exactly the composed frame.
#include <gtest/gtest.h>

#include "render_fixture.h"
#include "scene/render/compositor.h"
#include "scene/render/rotation.h"
#include "scene/sprites/motion.h"
#include "scene/sprites/sprite_table.h"

namespace kolvane {
namespace {

// Every frame of the table gets a figure: a disc of its own colour on black, cut out of a white mask.
void paint_every_frame(App& app) {
    SceneSurfaces& s = app.scene.surfaces;
    s.sprite.fill(black);
    s.mask.fill(white);
    for (int f = 1; f < frame_count; ++f) {
        const FrameRect& r = app.scene.sprites.frame_table[static_cast<std::size_t>(f)];
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x) {
                const int dx = 2 * x + 1 - r.width, dy = 2 * y + 1 - r.height;
                if (dx * dx * r.height * r.height + dy * dy * r.width * r.width > r.width * r.width * r.height * r.height)
                    continue;
                s.sprite.at(r.sheet_x + x, r.sheet_y + y) = 0x204060u + static_cast<std::uint32_t>(f) * 0x030201u;
                s.mask.at(r.sheet_x + x, r.sheet_y + y) = black;
            }
        }
    }
}

TEST(SceneFrames, TheScreenNeverKeepsAStalePictureOfASprite) {
    testing::RenderScene scene(160, 120);
    App& app = scene.app;
    app.scene.run.launch_interval = 8;
    app.scene.run.rotation_period = 700;
    app.scene.run.scroller_period = 500;
    app.settings.scroller_active = 0;
    app.scene.random.seed(20240611);
    init_sprites(app.scene);
    paint_every_frame(app);
    app.scene.run.repaint_request = 1;

    int freed_frames = 0, busiest = 0, changes = 0;
    for (int frame = 0; frame < 4000; ++frame) {
        const int picture = app.scene.rotation.current_picture;
        blit_old_sprites(app.scene);
        move_sprites(app.scene);
        freed_frames += app.scene.sprites.freed_count > 0;
        handle_picture_rotation(app.scene);
        blit_new_sprites(app.scene);
        blit_flicker_free(app.scene);
        sort_sprites(app.scene);
        if (app.scene.run.repaint_request == 1) {
            app.scene.run.repaint_request = 0;
            repaint_screen(app.scene);
        }
        changes += app.scene.rotation.current_picture != picture;
        int active = 0;
        for (int slot = 1; slot <= 25; ++slot) active += app.scene.sprites.slot[static_cast<std::size_t>(slot)].active;
        busiest = std::max(busiest, active);
        ASSERT_TRUE(testing::same_pixels(scene.display.screen, app.scene.surfaces.background_work)) << "frame " << frame;
    }
    // The run went through what matters: slots freed while shown, a full scene, background changes.
    EXPECT_GT(freed_frames, 50);
    EXPECT_GE(busiest, 10);
    EXPECT_GE(changes, 4);
}

}  // namespace
}  // namespace kolvane
