// Loading the scene's pictures (ten backgrounds, the sprite sheet and its mask) into their surfaces.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "scene/render/bmp.h"

namespace kolvane {

struct App;

// Where the pictures come from: files beside the program, resources embedded in it, ...
// Names are "bg0" to "bg9", "sprite", "mask", "preview" and "title".
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual std::optional<Image> picture(std::string_view name) = 0;
};

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
bool load_scene_pictures(App& app, PictureSource& source);

}  // namespace kolvane
