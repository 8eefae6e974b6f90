// Pictures stored compressed (PNG and JPEG, read by stb_image) or as BMP: reading their bytes and decoding them, bounded.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "scene/render/bmp.h"

namespace kolvane {

class Surface;

// Which kind of file the bytes begin like.
enum class PictureFormat { unknown, bmp, png, jpeg };
PictureFormat picture_format(std::span<const std::uint8_t> data);

// Width and height from the header alone; nothing when the data is no picture we take or is too large.
struct PictureSize {
    int width = 0;
    int height = 0;
};
std::optional<PictureSize> picture_size(std::span<const std::uint8_t> data);

// A BMP, PNG or JPEG held in memory; nothing for anything else, a damaged file or one too large.
std::optional<Image> decode_picture(std::span<const std::uint8_t> data);
// The same straight into a surface, reusing its pixels when they are large enough; false (the
// surface left as it was) when the data cannot be decoded.
bool decode_picture_into(Surface& surface, std::span<const std::uint8_t> data);

// A picture file (BMP, PNG or JPEG, whatever its name says) within the bounds of bmp.h; nothing for a
// file that is not plain, too large, damaged or beyond them. Both programs read their pictures here.
std::optional<Image> read_picture(const std::string& path);

// The bytes of a plain file of at most max_bmp_file_bytes; empty when it is anything else or unreadable.
std::vector<std::uint8_t> read_file_bytes(const std::string& path);

}  // namespace kolvane
