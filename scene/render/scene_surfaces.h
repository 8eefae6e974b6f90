// The pictures of the scene window: the visible ascreen with its persistent image, the off-screen copies, the sheets.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "scene/render/stretch.h"
#include "scene/render/surface.h"

namespace kolvane {

inline constexpr int background_picture_count = 10;
inline constexpr int background_picture_width = 640;
inline constexpr int background_picture_height = 480;
inline constexpr int sheet_width = 720;
inline constexpr int sheet_height = 606;
// The large backgrounds are drawn for 1920 x 1080 with their subject inside the centre that survives
// cropping to 4:3 or 21:9; they are shown on screens wider than this.
inline constexpr int large_background_width = 1920;
inline constexpr int large_background_height = 1080;
inline constexpr int large_backgrounds_above_width = 1024;
inline constexpr int max_object_scale = 3;

// The larger pictures as stored (PNG or JPEG), decoded only when the scene shows them.
struct EncodedPictures {
    std::array<std::vector<std::uint8_t>, background_picture_count> large_backgrounds;
    std::array<std::vector<std::uint8_t>, max_object_scale + 1> sprite;  // by object scale; 0 and 1 unused
    std::array<std::vector<std::uint8_t>, max_object_scale + 1> mask;
};

// What the user sees, and apart from it the persistent image that window repaints and the
// wallpaper snapshot use. While persistent drawing is on, drawing goes into the persistent image
// and the window shows it; while it is off, drawing goes straight to the screen. The screen's
// pixels themselves live with the display, which copies each shown rectangle from its source.
struct ScreenPicture {
    int width = 0;
    int height = 0;
    // Between steps that draw persistently it always equals the clean background, so it shares
    // background_copy's pixels instead of holding a screen-sized copy of its own.
    Surface* persistent = nullptr;
    bool persistent_drawing = false;
};

struct SceneSurfaces {
    SceneSurfaces() { ascreen.persistent = &background_copy; }
    SceneSurfaces(const SceneSurfaces&) = delete;
    SceneSurfaces& operator=(const SceneSurfaces&) = delete;

    ScreenPicture ascreen;
    Surface background_work;  // the clean background with every active sprite drawn
    Surface background_copy;  // the clean background at screen size
    // The current background picture before scaling. With the large backgrounds it is the only
    // one decoded, and once the screen holds it, the next one is decoded into it ahead of its change.
    Surface background_main;
    std::array<Surface, background_picture_count> pictures;
    Surface sprite;  // the sprite sheet
    Surface mask;    // black where a frame is opaque, white elsewhere
    Surface scaled_sprite;  // the sheet and mask at an object scale of 2 or 3
    Surface scaled_mask;
    int sheet_scale = 1;    // which of the two pairs the scene draws from
    SheetRuns sheet_runs;   // of the pair drawn from, made when the pictures are chosen
    // By frame: the part of its rectangle a masked draw changes (empty when none), for the sprite table
    // of object scale frame_boxes_scale; made with the sprite table at set-up.
    std::vector<PixelRect> frame_boxes;
    int frame_boxes_scale = 0;
    bool pictures_chosen = false;  // the first set-up chose the pictures for its screen and let go of the rest
    StretchPlan stretch;  // background picture to screen size, made once at set-up

    bool large_backgrounds = false;  // this scene shows the large pictures, scaled to cover the screen
    bool main_is_large = false;      // background_main holds a large picture (else a 640 x 480 one)
    int main_picture = -1;           // the picture background_main holds, 0 to 9; -1 when none
    bool next_picture_due = false;   // the next picture may be decoded in a frame's spare time
    EncodedPictures encoded;

    const Surface& sheet() const { return sheet_scale > 1 ? scaled_sprite : sprite; }
    const Surface& sheet_mask() const { return sheet_scale > 1 ? scaled_mask : mask; }
};

}  // namespace kolvane
