// Port to where the scene's pictures come from: files beside the program, resources embedded in it.
#pragma once
#include <optional>
#include <string_view>

namespace kolvane {

struct Image;

// Names are "bg0" to "bg9", "sprite", "mask", "preview" and "title".
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual std::optional<Image> picture(std::string_view name) = 0;
};

}  // namespace kolvane
