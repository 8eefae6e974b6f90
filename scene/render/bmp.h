// BMP pictures: a plain pixel image type and a small reader and writer for Windows bitmaps.
// Portable: standard C++ only. Used for the backgrounds, the sprite sheet and its mask, the
// preview and title pictures (read from files or from embedded resources) and the wallpaper
// snapshot (written).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ports/system_api.h"

namespace kolvane {

// An RGB picture: pixels are 0x00RRGGBB, row-major, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Image() = default;
    Image(int w, int h, std::uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    bool empty() const { return width <= 0 || height <= 0; }
};

// How write_bmp / encode_bmp store the pixels.
enum class BmpFormat {
    rgb24,     // 24 bits per pixel, any colours
    indexed8,  // 8 bits per pixel with a palette of the picture's own colours (at most 256)
    indexed1,  // 1 bit per pixel with a palette of at most 2 colours (black and white for a mask)
};

// The largest picture any reader decodes, refused from its header before a pixel is held: the largest
// the program ships is 2160 x 1818, and a background stands for a screen of at most 4096 x 4096.
inline constexpr int max_picture_side = 8192;
inline constexpr std::int64_t max_picture_pixels = std::int64_t{4096} * 4096;

// Decodes a BMP held in memory. Accepts uncompressed 1-, 4-, 8-, 16-, 24- and 32-bit pictures
// (BI_RGB, and BI_BITFIELDS for 16 and 32 bits), bottom-up and top-down, with a core, info or
// later header. Returns nothing for anything else, for a damaged file or for one beyond the bounds above.
std::optional<Image> decode_bmp(std::span<const std::uint8_t> data);

// A picture file larger than this is refused unread; the largest the program uses is under 1 MB.
inline constexpr std::uintmax_t max_bmp_file_bytes = std::uintmax_t{64} << 20;

// Reads a BMP file; nothing when it is not a regular file of at most max_bmp_file_bytes, cannot be
// read or cannot be decoded.
std::optional<Image> read_bmp(const std::string& path);

// Encodes a picture as a bottom-up BMP. For the indexed formats the palette holds the picture's
// distinct colours in ascending order (so black is entry 0); a picture with more colours than the
// format allows gives an empty result, as does an empty picture.
std::vector<std::uint8_t> encode_bmp(const Image& image, BmpFormat format = BmpFormat::rgb24);

// Writes a BMP file, put on the disk by `disk` when given; false when the picture cannot be encoded or the
// file cannot be written.
bool write_bmp(const std::string& path, const Image& image, BmpFormat format = BmpFormat::rgb24,
               SystemApi* disk = nullptr);

}  // namespace kolvane
