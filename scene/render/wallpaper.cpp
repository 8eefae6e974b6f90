// The wallpaper snapshot: clean background plus every active sprite, composed in the persistent image.
#include "scene/render/wallpaper.h"

#include <algorithm>

#include "platform/overlay_view.h"
#include "scene/render/bmp.h"
#include "scene/render/compositor.h"
#include "startup/app.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {

// Lets the hidden boxes and the window update before the next step.
void process_events(App& app) { app.platform.system.pump_events(0); }

void hide_box(App& app, OverlayBox box) {
    if (OverlayView* view = app.platform.overlays) view->set_visible(box, false);
}

}  // namespace

std::string wallpaper_path(const App& app) { return app.startup.windows_dir + "Kolvane" + " Image.bmp"; }

void save_wallpaper(App& app) {
    hide_box(app, OverlayBox::caption);
    process_events(app);
    hide_box(app, OverlayBox::clock);
    process_events(app);

    set_persistent_drawing(app, true);
    SceneSurfaces& surfaces = app.surfaces;
    draw_to_screen(app, 0, 0, app.run.screen_width, app.run.screen_height, surfaces.background_copy, 0, 0,
                   RasterOp::srccopy);
    process_events(app);
    // The sprites as the last frame drew them, whatever a pending repaint request says.
    const SpriteTable& table = app.sprites;
    for (int k = 1; k <= std::min(table.max_sprites, sprite_slot_capacity - 1); ++k) {
        const int s = table.draw_order[static_cast<std::size_t>(k)];
        if (table.slot[static_cast<std::size_t>(s)].active == 0) continue;
        const SlotPicture p = slot_picture(app, s);
        if (p.masked)
            draw_to_screen(app, p.x, p.y, p.width, p.height, surfaces.mask, p.sheet_x, p.sheet_y, RasterOp::srcand);
        draw_to_screen(app, p.x, p.y, p.width, p.height, surfaces.sprite, p.sheet_x, p.sheet_y, RasterOp::srcpaint);
    }
    process_events(app);

    Image snapshot;
    image_from_surface(snapshot, *surfaces.ascreen.persistent);
    const std::string path = wallpaper_path(app);
    // A file that cannot be written leaves the wallpaper as it was.
    if (!write_bmp(path, snapshot)) return;
    process_events(app);
    set_wallpaper(app.platform.system, path);
    process_events(app);
}

}  // namespace kolvane
