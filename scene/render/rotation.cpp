// Background rotation: the next picture, stretched, brought on with the three transitions in turn.
#include "scene/render/rotation.h"

#include "scene/render/compositor.h"
#include "scene/scene.h"
#include "scene/scene_pictures.h"

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
    // A large picture was decoded ahead, in the spare time of an earlier frame, unless the change came first.
    load_background(scene, rotation.current_picture);
    rotation.transition_effect += 1;
    if (rotation.transition_effect > 3) rotation.transition_effect = 1;

    const int w = scene.run.screen_width, h = scene.run.screen_height;
    draw_background(scene, surfaces.background_copy);
    blit_effect(scene, surfaces.background_copy, surfaces.ascreen, rotation.transition_effect);
    // Each transition brings every pixel of the new picture, so the screen now equals it.
    bit_blt(surfaces.background_work, 0, 0, w, h, surfaces.background_copy, 0, 0, RasterOp::srccopy);

    // Window repaints show the new picture from now on. The persistent image shares background_copy,
    // which holds the scaled picture already: it is shown again rather than scaled a second time.
    set_persistent_drawing(scene, true);
    if (surfaces.ascreen.persistent == &surfaces.background_copy)
        draw_to_screen(scene, 0, 0, w, h, surfaces.background_copy, 0, 0, RasterOp::srccopy);
    else
        stretch_to_screen(scene);
    set_persistent_drawing(scene, false);

    sprites_clear(scene);
    surfaces.next_picture_due = surfaces.large_backgrounds;
}

}  // namespace kolvane
