// The pictures of the scene window: the visible ascreen with its persistent image, the off-screen copies, the sheets.
#pragma once
#include <array>

#include "scene/render/stretch.h"
#include "scene/render/surface.h"

namespace kolvane {

inline constexpr int background_picture_count = 10;
inline constexpr int background_picture_width = 640;
inline constexpr int background_picture_height = 480;
inline constexpr int sheet_width = 720;
inline constexpr int sheet_height = 606;

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
    Surface background_main;  // the current background picture before scaling
    std::array<Surface, background_picture_count> pictures;
    Surface sprite;  // the sprite sheet
    Surface mask;    // black where a frame is opaque, white elsewhere
    StretchPlan stretch;  // background picture to screen size, made once at set-up
};

}  // namespace kolvane
