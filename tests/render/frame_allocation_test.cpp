// The frame loop's rendering allocates nothing: erase, draw, show, overlays and a background change.
#include <gtest/gtest.h>

#include "render_fixture.h"
#include "scene/render/compositor.h"
#include "scene/render/overlays.h"
#include "scene/render/rotation.h"
#include "tests/allocation_counter.h"

namespace kolvane {
namespace {

TEST(FrameAllocation, RenderingFramesAndChangingTheBackgroundAllocateNothing) {
    testing::RenderScene scene(160, 100);
    App& app = scene.app;
    app.settings.scroller_active = 1;
    app.settings.show_time = std::string("1");
    app.lists.caption_count = 1;
    app.lists.captions[1] = "A caption long enough to need the heap if it were copied";
    app.scene.run.scroller_period = 3;
    app.scene.scroller.scroller_countdown = 3;
    app.scene.run.rotation_period = 2;
    for (int slot = 1; slot <= 25; ++slot)
        scene.place(slot, slot % 3 == 0 ? 68 : (slot % 2 ? 20 : 44), slot * 6.0, slot * 3.0, slot % 3 != 0);
    scene.frame([] {});  // the first frame after set-up

    const std::int64_t before = testing::allocation_count();
    int changes = 0;
    for (int frame = 0; frame < 400; ++frame) {
        const int picture = app.scene.rotation.current_picture;
        blit_old_sprites(app.scene);
        for (int slot = 1; slot <= 25; ++slot) app.scene.sprites.slot[static_cast<std::size_t>(slot)].x += 0.7;
        handle_picture_rotation(app.scene);
        blit_new_sprites(app.scene);
        blit_flicker_free(app.scene);
        handle_time(app.scene);
        handle_scroller(app.scene);
        changes += app.scene.rotation.current_picture != picture;
    }
    EXPECT_EQ(testing::allocation_count(), before);
    EXPECT_GT(changes, 0);
}

}  // namespace
}  // namespace kolvane
