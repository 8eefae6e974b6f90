// The sprite motion with the real compositor: after every frame the screen shows exactly the composed frame.
#include <gtest/gtest.h>

#include <cstring>

#include "app/app.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_platform.h"
#include "scene/render/compositor.h"
#include "scene/sprites/motion.h"

namespace kolvane::testing {
namespace {

// A sheet whose every frame is a solid colour of its own, and a mask black exactly on the frames.
void paint_sheets(App& app) {
    SceneSurfaces& surfaces = app.scene.surfaces;
    surfaces.sprite = Surface(sheet_width, sheet_height, black);
    surfaces.mask = Surface(sheet_width, sheet_height, white);
    for (std::int32_t f = 1; f <= 72; ++f) {
        const FrameRect& r = app.scene.sprites.frame_table[f];
        const std::uint32_t colour = 0x102030u + static_cast<std::uint32_t>(f) * 0x030507u;
        for (int y = r.sheet_y; y < r.sheet_y + r.height; ++y) {
            for (int x = r.sheet_x; x < r.sheet_x + r.width; ++x) {
                surfaces.sprite.at(x, y) = colour;
                surfaces.mask.at(x, y) = black;
            }
        }
    }
}

// A background with a pattern, on the screen and in both off-screen copies.
void paint_background(App& app) {
    const int w = app.scene.run.screen_width, h = app.scene.run.screen_height;
    Surface background(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) background.at(x, y) = static_cast<std::uint32_t>((x * 7 + y * 13) & 0xff) << 8;
    }
    app.scene.surfaces.ascreen.width = w;
    app.scene.surfaces.ascreen.height = h;
    app.scene.surfaces.ascreen.persistent->assign(background);
    app.scene.surfaces.background_work.assign(background);
    app.scene.surfaces.background_copy.assign(background);
}

bool same_pixels(const Surface& a, const Surface& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::memcmp(a.data(), b.data(), sizeof(std::uint32_t) * static_cast<std::size_t>(a.width()) *
                                                static_cast<std::size_t>(a.height())) == 0;
}

struct Scene {
    headless::FakeSystem fake;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    headless::HeadlessDisplay display;
    App app{Platform{fake, store, registry, &display}};

    Scene(int width, int height) {
        app.scene.random.seed(4242);
        app.scene.run.screen_width = width;
        app.scene.run.screen_height = height;
        app.scene.run.launch_interval = 8;
        app.scene.run.scroller_period = 0;  // the background then never changes
        init_sprites(app.scene);
        paint_sheets(app);
        paint_background(app);
        display.screen.assign(app.scene.surfaces.background_copy);
    }

    // One frame's sprite work in the main loop's order.
    void frame() {
        fake.clock_ms += 45;
        blit_old_sprites(app.scene);
        move_sprites(app.scene);
        blit_new_sprites(app.scene);
        blit_flicker_free(app.scene);
        sort_sprites(app.scene);
    }
};

// Objects faster than the edge margin leave the scene between two frames while still partly
// visible; their last picture must not stay behind on the screen.
TEST(SceneFrames, TheScreenAlwaysShowsTheComposedFrame) {
    Scene scene(1920, 1080);
    int freed_while_visible = 0;
    for (int n = 1; n <= 1500; ++n) {
        scene.frame();
        ASSERT_TRUE(same_pixels(scene.display.screen, scene.app.scene.surfaces.background_work))
            << "frame " << n;
        ASSERT_EQ(scene.app.scene.sprites.freed_count, 0);
        for (std::int32_t i = 1; i <= 25; ++i) {
            const SpriteSlot& s = scene.app.scene.sprites.slot[i];
            if (s.active == 0 && s.kind != 0 && s.kind != 12 && s.old_x < 1920 && s.old_x > -200 &&
                (s.x > 1928 || s.x < -200)) {
                ++freed_while_visible;
            }
        }
    }
    EXPECT_GT(freed_while_visible, 0) << "no object left the scene while still visible";
}

}  // namespace
}  // namespace kolvane::testing
