// Background rotation: the next picture, stretched, brought on with the three transitions in turn.
#include "scene/render/rotation.h"

#include "scene/render/compositor.h"
#include "scene/scene.h"

namespace kolvane {

void handle_picture_rotation(Scene& scene) {
    // Only counted while the caption line pauses between two captions.
    if (scene.scroller.scroller_phase != 0 || scene.scroller.scroller_countdown <= 0) return;
    RotationState& rotation = scene.rotation;
    rotation.rotation_count += 1;
    if (rotation.rotation_count <= scene.run.rotation_period) return;
    rotation.rotation_count = 0;

    rotation.current_picture += 1;
    if (rotation.current_picture == background_picture_count) rotation.current_picture = 0;
    SceneSurfaces& surfaces = scene.surfaces;
    surfaces.background_main.assign(surfaces.pictures[static_cast<std::size_t>(rotation.current_picture)]);
    rotation.transition_effect += 1;
    if (rotation.transition_effect > 3) rotation.transition_effect = 1;

    const int w = scene.run.screen_width, h = scene.run.screen_height;
    stretch_blt(surfaces.background_copy, 0, 0, w, h, surfaces.background_main, surfaces.stretch);
    blit_effect(scene, surfaces.background_copy, surfaces.ascreen, rotation.transition_effect);
    // Each transition brings every pixel of the new picture, so the screen now equals it.
    bit_blt(surfaces.background_work, 0, 0, w, h, surfaces.background_copy, 0, 0, RasterOp::srccopy);

    // Window repaints show the new picture from now on.
    set_persistent_drawing(scene, true);
    stretch_to_screen(scene, surfaces.background_main);
    set_persistent_drawing(scene, false);

    sprites_clear(scene);
}

}  // namespace kolvane
