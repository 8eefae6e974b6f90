// Reading the PNG and JPEG assets in the tests: the picture and the channel count the file stores.
#pragma once
#include <optional>
#include <string>

#include "scene/render/bmp.h"

namespace kolvane::testing {

struct CompressedPicture {
    Image image;       // as 0x00RRGGBB
    int channels = 0;  // as stored in the file: 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA
};

// Nothing when the file cannot be read or is not a PNG or JPEG picture.
std::optional<CompressedPicture> read_compressed_picture(const std::string& path);

}  // namespace kolvane::testing
