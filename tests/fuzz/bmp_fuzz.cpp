// Fuzzes the BMP reader on any bytes; what it reads must survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <set>
#include <span>

#include "scene/render/bmp.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;

namespace {

void check_round_trip(const kolvane::Image& image, kolvane::BmpFormat format) {
    const auto encoded = kolvane::encode_bmp(image, format);
    check(!encoded.empty(), "a picture the format can hold is written");
    const auto again = kolvane::decode_bmp(encoded);
    check(again.has_value(), "a written picture reads");
    check(again->width == image.width && again->height == image.height && again->pixels == image.pixels,
          "a written picture reads back unchanged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = kolvane::decode_bmp(std::span<const std::uint8_t>(data, size));
    if (!image) return 0;
    check(image->width > 0 && image->height > 0 && image->width <= kolvane::max_picture_side &&
              image->height <= kolvane::max_picture_side &&
              std::int64_t{image->width} * image->height <= kolvane::max_picture_pixels,
          "a picture read is within the bounds");
    check(image->pixels.size() == static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height),
          "a picture read has one pixel per place");
    for (const std::uint32_t p : image->pixels) check(p <= 0xFFFFFFu, "pixels are plain RGB");

    // Large pictures take too long to write for every input; small ones are the interesting ones.
    if (image->pixels.size() > 65536) return 0;
    check_round_trip(*image, kolvane::BmpFormat::rgb24);
    const std::set<std::uint32_t> colours(image->pixels.begin(), image->pixels.end());
    if (colours.size() <= 256) check_round_trip(*image, kolvane::BmpFormat::indexed8);
    if (colours.size() <= 2) check_round_trip(*image, kolvane::BmpFormat::indexed1);
    return 0;
}
