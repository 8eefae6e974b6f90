// Loading the scene's pictures.
#include "scene/scene_pictures.h"

#include "scene/render/surface.h"
#include "scene/scene.h"

namespace kolvane {

std::optional<Image> FolderPictures::picture(std::string_view name) {
    const std::string file(name);
    const bool background = file.size() == 3 && file.rfind("bg", 0) == 0;
    return read_bmp(folder_ + "/" + (background ? "backgrounds/" : "") + file + ".bmp");
}

namespace {
// The picture of the expected size, or a plain one of that size.
bool load_into(Surface& surface, PictureSource& source, const std::string& name, int width, int height,
               std::uint32_t fallback, bool as_mask) {
    const auto image = source.picture(name);
    if (image && image->width == width && image->height == height) {
        if (as_mask) mask_from_image(surface, *image);
        else surface_from_image(surface, *image);
        return true;
    }
    surface = Surface(width, height, fallback);
    return false;
}
}  // namespace

bool load_scene_pictures(Scene& scene, PictureSource& source) {
    SceneSurfaces& s = scene.surfaces;
    bool all = true;
    for (int i = 0; i < background_picture_count; ++i)
        all &= load_into(s.pictures[static_cast<std::size_t>(i)], source, "bg" + std::to_string(i),
                         background_picture_width, background_picture_height, 0x000000u, false);
    all &= load_into(s.sprite, source, "sprite", sheet_width, sheet_height, 0x000000u, false);
    all &= load_into(s.mask, source, "mask", sheet_width, sheet_height, 0xFFFFFFu, true);
    return all;
}

}  // namespace kolvane
