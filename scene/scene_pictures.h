// Loading the scene's pictures (ten backgrounds, the sprite sheet and its mask) into their surfaces.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "ports/picture_source.h"
#include "scene/render/bmp.h"

namespace kolvane {

struct Scene;

// Pictures kept as BMP files in a folder: backgrounds/bgN.bmp and NAME.bmp.
class FolderPictures : public PictureSource {
public:
    explicit FolderPictures(std::string folder) : folder_(std::move(folder)) {}
    std::optional<Image> picture(std::string_view name) override;

private:
    std::string folder_;
};

// Fills pictures(0..9), sprite and mask. A missing or wrongly sized picture is left black (its
// mask white), so the scene still runs; the result is false then.
bool load_scene_pictures(Scene& scene, PictureSource& source);

}  // namespace kolvane
