// Compositor: erases, draws and shows the sprites on the scene's surfaces; set-up and transitions.
#pragma once
#include "scene/render/scene_surfaces.h"

namespace kolvane {

struct Scene;

void blit_old_sprites(Scene& scene);
void blit_new_sprites(Scene& scene);
void blit_flicker_free(Scene& scene);
// Finds, for every frame of the sprite table, the part a masked draw changes, so that a moved sprite
// shows only that part of where it was and where it is. Called once the sprite table is made.
void fit_frame_boxes(Scene& scene);
// Erases every live sprite from the composed frame, then frees every slot.
void sprites_clear(Scene& scene);
// Brings all of source onto destination with transition mode 1 (random blocks), 2 (rows from both
// edges) or 3 (columns from both edges), delivering events between steps; other modes copy nothing.
void blit_effect(Scene& scene, const Surface& source, ScreenPicture& destination, int mode);

// The scene's first activation: the screen picture, its persistent image and the off-screen copies
// get the screen size and the scaled picture current_picture (a large one when the scene shows
// them). Expects screen_width, screen_height and current_picture set, and the pictures and sheets loaded.
void setup_surfaces(Scene& scene);
// The end-of-frame repaint: all of background_copy over ascreen.
void repaint_screen(Scene& scene);

// One axis of the rectangle a moved slot shows: from where it was to where it is now, one pixel
// longer on the side of the movement.
struct FlickerSpan {
    int start = 0;
    int length = 0;
};
FlickerSpan flicker_free_span(double old_position, double position, int size);

// Where a slot is drawn and which rectangle of the sheets it shows.
struct SlotPicture {
    int x = 0, y = 0, width = 0, height = 0;
    int sheet_x = 0, sheet_y = 0;
    bool masked = false;
};
SlotPicture slot_picture(const Scene& scene, int slot);

// Drawing into ascreen: into the persistent image while persistent drawing is on (the window then
// shows it), else straight onto the screen, which takes only a plain copy of the source's pixels
// at the same place. The changed rectangle goes to the display.
PixelRect draw_to_screen(Scene& scene, int x, int y, int width, int height, const Surface& source, int source_x,
                         int source_y, RasterOp op);
// background_main scaled into dest where background_area puts it; the rectangle written.
PixelRect draw_background(Scene& scene, Surface& dest);
// background_main scaled to the screen into the persistent image (persistent drawing on), and shown.
void stretch_to_screen(Scene& scene);
void set_persistent_drawing(Scene& scene, bool on);

}  // namespace kolvane
