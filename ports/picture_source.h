// Port to where the scene's pictures come from: files beside the program, resources embedded in it.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kolvane {

struct Image;

// Names are "bg0" to "bg9", "sprite", "mask", "preview" and "title" (pictures decoded at once), and the
// larger pictures kept compressed until they are shown: "sprite-2x", "mask-2x", "sprite-3x", "mask-3x"
// and "large-bg0" to "large-bg9".
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual std::optional<Image> picture(std::string_view name) = 0;
    // The stored bytes of a picture (PNG, JPEG or BMP); empty when there is none.
    virtual std::vector<std::uint8_t> encoded(std::string_view) { return {}; }
};

}  // namespace kolvane
