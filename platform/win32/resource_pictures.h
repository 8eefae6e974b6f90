// The program's pictures as resources embedded in kolvane.scr.
#pragma once
#include <windows.h>

#include <optional>
#include <string_view>

#include "ports/picture_source.h"
#include "scene/render/bmp.h"

namespace kolvane::win32 {

// Pictures kept as RCDATA resources named BG0 to BG9, SPRITE, MASK, PREVIEW and TITLE.
class ResourcePictures : public PictureSource {
public:
    explicit ResourcePictures(HMODULE module = nullptr) : module_(module) {}
    std::optional<Image> picture(std::string_view name) override;

private:
    HMODULE module_;
};

}  // namespace kolvane::win32
