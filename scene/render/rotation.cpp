// Background rotation: the next picture, stretched, brought on with the three transitions in turn.
#include "scene/render/rotation.h"

#include "scene/render/compositor.h"
#include "startup/app.h"

namespace kolvane {

void handle_picture_rotation(App& app) {
    // Only counted while the caption line pauses between two captions.
    if (app.scroller.scroller_phase != 0 || app.scroller.scroller_countdown <= 0) return;
    RotationState& rotation = app.rotation;
    rotation.rotation_count += 1;
    if (rotation.rotation_count <= app.run.rotation_period) return;
    rotation.rotation_count = 0;

    rotation.current_picture += 1;
    if (rotation.current_picture == background_picture_count) rotation.current_picture = 0;
    SceneSurfaces& surfaces = app.surfaces;
    surfaces.background_main.assign(surfaces.pictures[static_cast<std::size_t>(rotation.current_picture)]);
    rotation.transition_effect += 1;
    if (rotation.transition_effect > 3) rotation.transition_effect = 1;

    const int w = app.run.screen_width, h = app.run.screen_height;
    stretch_blt(surfaces.background_copy, 0, 0, w, h, surfaces.background_main, surfaces.stretch);
    blit_effect(app, surfaces.background_copy, surfaces.ascreen, rotation.transition_effect, 0);
    bit_blt(surfaces.background_work, 0, 0, w, h, screen_source(app), 0, 0, RasterOp::srccopy);
    bit_blt(surfaces.background_copy, 0, 0, w, h, screen_source(app), 0, 0, RasterOp::srccopy);

    // Window repaints show the new picture from now on.
    set_persistent_drawing(app, true);
    stretch_to_screen(app, surfaces.background_main);
    set_persistent_drawing(app, false);

    sprites_clear(app);
}

}  // namespace kolvane
