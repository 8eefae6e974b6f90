// The wallpaper snapshot: clean background plus every active sprite, composed in the persistent image.
#include "scene/render/wallpaper.h"

#include <algorithm>

#include "lists/data_folders.h"
#include "scene/render/bmp.h"
#include "scene/render/compositor.h"
#include "scene/scene.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {

// Lets the hidden boxes and the window update before the next step.
void process_events(Scene& scene) { scene.platform.system.pump_events(0); }

void hide_box(Scene& scene, OverlayBox box) {
    if (OverlayView* view = scene.platform.overlays) view->set_visible(box, false);
}

}  // namespace

std::string wallpaper_path(const Scene& scene) {
    return data_read_path(data_folders(scene.startup), wallpaper_file_name);
}

void save_wallpaper(Scene& scene) {
    hide_box(scene, OverlayBox::caption);
    process_events(scene);
    hide_box(scene, OverlayBox::clock);
    process_events(scene);

    set_persistent_drawing(scene, true);
    SceneSurfaces& surfaces = scene.surfaces;
    draw_to_screen(scene, 0, 0, scene.run.screen_width, scene.run.screen_height, surfaces.background_copy, 0, 0,
                   RasterOp::srccopy);
    process_events(scene);
    // The sprites as the last frame drew them, whatever a pending repaint request says.
    const SpriteTable& table = scene.sprites;
    for (int k = 1; k <= std::min(table.max_sprites, sprite_slot_capacity - 1); ++k) {
        const int s = table.draw_order[static_cast<std::size_t>(k)];
        if (table.slot[static_cast<std::size_t>(s)].active == 0) continue;
        const SlotPicture p = slot_picture(scene, s);
        if (p.masked)
            draw_to_screen(scene, p.x, p.y, p.width, p.height, surfaces.sheet_mask(), p.sheet_x, p.sheet_y,
                           RasterOp::srcand);
        draw_to_screen(scene, p.x, p.y, p.width, p.height, surfaces.sheet(), p.sheet_x, p.sheet_y, RasterOp::srcpaint);
    }
    process_events(scene);

    Image snapshot;
    image_from_surface(snapshot, *surfaces.ascreen.persistent);
    const DataFolders folders = data_folders(scene.startup, &scene.platform.system);
    const auto write = [&](const std::string& file) {
        return write_bmp(file, snapshot, BmpFormat::rgb24, folders.disk);
    };
    const std::string path = write_data_file(folders, wallpaper_file_name, write);
    // A file that cannot be written leaves the wallpaper as it was, and says so.
    if (path.empty()) {
        scene.platform.system.message_box(unsaved_file_text(wallpaper_unsaved_text, folders, wallpaper_file_name),
                                          data_files_title, MessageKind::warning);
        return;
    }
    process_events(scene);
    set_wallpaper(scene.platform.system, path);
    process_events(scene);
}

}  // namespace kolvane
