// Fuzzes the picture decoder (PNG and JPEG through stb_image, BMP through our reader) on any bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "scene/render/picture_codec.h"
#include "scene/render/surface.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto size_read = kolvane::picture_size(bytes);
    const auto image = kolvane::decode_picture(bytes);
    kolvane::Surface surface(3, 2, 0x123456u);
    const bool into = kolvane::decode_picture_into(surface, bytes);
    check(into == image.has_value(), "both ways of decoding agree on what decodes");
    if (!image) {
        check(surface.width() == 3 && surface.height() == 2 && surface.at(0, 0) == 0x123456u,
              "a refused picture leaves the surface as it was");
        return 0;
    }
    check(image->width > 0 && image->height > 0 && image->width <= kolvane::max_picture_side &&
              image->height <= kolvane::max_picture_side,
          "a picture decoded has a size within the bounds");
    if (size_read) check(size_read->width == image->width && size_read->height == image->height,
                         "the header's size is the decoded size");
    check(image->pixels.size() == static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height),
          "a picture decoded has one pixel per place");
    check(surface.width() == image->width && surface.height() == image->height, "the surface takes the picture's size");
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            check(image->at(x, y) <= 0xFFFFFFu, "pixels are plain RGB");
            check(surface.at(x, y) == image->at(x, y), "the surface holds the same pixels");
        }
    return 0;
}
