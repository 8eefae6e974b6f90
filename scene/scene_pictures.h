// Loading the scene's pictures (backgrounds, the sprite sheet and its mask, their larger forms) into their surfaces.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "ports/picture_source.h"
#include "scene/render/bmp.h"
#include "scene/render/surface.h"

namespace kolvane {

struct Scene;

// Pictures kept as files in a folder: backgrounds/bgN.bmp and NAME.bmp, decoded at once; the larger
// ones kept compressed: NAME.png (sprite-2x and the others) and backgrounds/large/bgN.jpg.
class FolderPictures : public PictureSource {
public:
    explicit FolderPictures(std::string folder) : folder_(std::move(folder)) {}
    std::optional<Image> picture(std::string_view name) override;
    std::vector<std::uint8_t> encoded(std::string_view name) override;

private:
    std::string folder_;
};

// Fills pictures(0..9), sprite and mask, and keeps the larger pictures' stored bytes. A missing or
// wrongly sized picture is left black (its mask white), so the scene still runs; the result is false
// then. The larger pictures are optional: without them the scene shows the others.
bool load_scene_pictures(Scene& scene, PictureSource& source);

// The first set-up's choice of pictures for the screen size and the settings: the object scale, the
// sheets drawn at it (the stored larger sheet, else the plain one enlarged pixel by pixel) and whether
// the large backgrounds are shown; the pictures the scene will not show are let go. A later set-up
// (a restart at another size) keeps the choice. Expects screen_width and the settings set.
void choose_scene_pictures(Scene& scene);

// Puts picture `index` (0 to 9) into background_main: the large one when the scene shows them and it
// decodes, else the 640 x 480 one. Does nothing when background_main holds it already.
void load_background(Scene& scene, int index);
// Where background_main goes on the screen: stretched over it, or a large picture scaled with its
// own shape to cover it, the overflow cut evenly from both sides.
PixelRect background_area(const Scene& scene);

// In a frame's spare time after a change: decodes the picture the next change shows into
// background_main, which the screen no longer needs. True when it decoded one.
bool prepare_next_background(Scene& scene);

}  // namespace kolvane
