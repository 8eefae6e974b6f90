// PNG and JPEG files of our pictures, written by Debian's stb_image_write (kept private to this file).
#include <cstdint>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "assets.h"

namespace assetgen {
namespace {

void append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<std::uint8_t> rgb_bytes(const kolvane::Image& image) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (std::uint32_t p : image.pixels) {
        rgb.push_back(static_cast<std::uint8_t>(p >> 16));
        rgb.push_back(static_cast<std::uint8_t>(p >> 8));
        rgb.push_back(static_cast<std::uint8_t>(p));
    }
    return rgb;
}

}  // namespace

std::vector<std::uint8_t> encode_png(const kolvane::Image& image) {
    if (image.empty()) return {};
    const std::vector<std::uint8_t> rgb = rgb_bytes(image);
    // The writer's strongest setting: these files are committed, so a smaller file is worth the time.
    stbi_write_png_compression_level = 9;
    std::vector<std::uint8_t> out;
    if (!stbi_write_png_to_func(append, &out, image.width, image.height, 3, rgb.data(), image.width * 3)) return {};
    return out;
}

std::vector<std::uint8_t> encode_jpeg(const kolvane::Image& image, int quality) {
    if (image.empty()) return {};
    const std::vector<std::uint8_t> rgb = rgb_bytes(image);
    std::vector<std::uint8_t> out;
    if (!stbi_write_jpg_to_func(append, &out, image.width, image.height, 3, rgb.data(), quality)) return {};
    return out;
}

}  // namespace assetgen
