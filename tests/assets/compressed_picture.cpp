// Decodes PNG and JPEG files for the tests with Debian's stb_image, whose code stays private to this file.
#include "tests/assets/compressed_picture.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#include <stb_image.h>

namespace kolvane::testing {

std::optional<CompressedPicture> read_compressed_picture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (file.empty()) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 3);
    if (!rgb) return std::nullopt;
    CompressedPicture picture{Image(width, height), channels};
    for (std::size_t i = 0; i < picture.image.pixels.size(); ++i)
        picture.image.pixels[i] = (static_cast<std::uint32_t>(rgb[3 * i]) << 16) | (static_cast<std::uint32_t>(rgb[3 * i + 1]) << 8) | rgb[3 * i + 2];
    stbi_image_free(rgb);
    return picture;
}

}  // namespace kolvane::testing
