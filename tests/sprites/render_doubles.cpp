// Stand-ins for blit_old_sprites and handle_picture_rotation, so the sprite code is tested on its own.
#include "tests/sprites/render_doubles.h"

#include "scene/render/compositor.h"
#include "scene/render/rotation.h"
#include "scene/scene.h"

namespace kolvane {

namespace testing {
RenderLog& render_log() {
    static RenderLog log;
    return log;
}
}  // namespace testing

// Keeps the one part of the erase the sprite code relies on: each live slot's old position.
void blit_old_sprites(Scene& scene) {
    testing::RenderLog& log = testing::render_log();
    ++log.erase_calls;
    log.active_at_last_erase = 0;
    for (std::int32_t i = 1; i <= scene.sprites.max_sprites; ++i) {
        SpriteSlot& s = scene.sprites.slot[i];
        if (s.active == 0) continue;
        ++log.active_at_last_erase;
        s.old_x = s.x;
        s.old_y = s.y;
    }
}

// A background change, when asked for, empties the table as the real one does (erase, then free).
void handle_picture_rotation(Scene& scene) {
    testing::RenderLog& log = testing::render_log();
    ++log.rotation_calls;
    log.cleared_in_last_call = log.clear_every > 0 && log.rotation_calls % log.clear_every == 0;
    if (!log.cleared_in_last_call) return;
    blit_old_sprites(scene);
    sprites_reset(scene);
}

}  // namespace kolvane
