// The program's pictures as resources embedded in kolvane.scr.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "ports/picture_source.h"
#include "scene/render/bmp.h"

namespace kolvane::win32 {

// Pictures kept as RCDATA resources named BG0 to BG9, SPRITE, MASK, PREVIEW and TITLE, and the larger
// ones compressed as SPRITE_2X, MASK_2X, SPRITE_3X, MASK_3X and LARGE_BG0 to LARGE_BG9.
class ResourcePictures : public PictureSource {
public:
    explicit ResourcePictures(HMODULE module = nullptr) : module_(module) {}
    std::optional<Image> picture(std::string_view name) override;
    std::vector<std::uint8_t> encoded(std::string_view name) override;

private:
    // The resource's bytes as mapped into the program; empty when there is none.
    std::span<const std::uint8_t> resource(std::string_view name) const;
    HMODULE module_;
};

}  // namespace kolvane::win32
