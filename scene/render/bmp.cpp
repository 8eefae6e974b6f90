// BMP files: reading pictures of every depth the scene uses, and writing the wallpaper snapshot whole.
#include "scene/render/bmp.h"

#include "lists/text_file.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

namespace kolvane {
namespace {

std::uint32_t get_u16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8);
}

std::uint32_t get_u32(std::span<const std::uint8_t> d, std::size_t at) {
    return get_u16(d, at) | (get_u16(d, at + 2) << 16);
}

void put_u16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFFu));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFFu));
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put_u16(out, v & 0xFFFFu);
    put_u16(out, v >> 16);
}

// Position and width of the set bits of a channel mask, for BI_BITFIELDS pictures.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

// A channel is one run of set bits; a mask of several runs marks a damaged file (its pixels would
// spill into the other channels).
bool one_run(std::uint32_t mask) {
    if (mask == 0) return true;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1u)) == 0;
}

Channel channel_of(std::uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    while (((mask >> c.shift) & 1u) == 0) ++c.shift;
    while (c.shift + c.bits < 32 && ((mask >> (c.shift + c.bits)) & 1u) != 0) ++c.bits;
    return c;
}

std::uint32_t expand(std::uint32_t pixel, const Channel& c) {
    if (c.bits == 0) return 0;
    const std::uint32_t v = (pixel & c.mask) >> c.shift;
    const std::uint32_t max = (c.bits >= 32) ? 0xFFFFFFFFu : ((1u << c.bits) - 1u);
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(v) * 255u + max / 2u) / max);
}

}  // namespace

std::optional<Image> decode_bmp(std::span<const std::uint8_t> d) {
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
    const std::uint32_t pixel_offset = get_u32(d, 10);
    const std::uint32_t header_size = get_u32(d, 14);
    std::int64_t width = 0, height = 0;
    std::uint32_t bpp = 0, compression = 0, colours_used = 0;
    std::size_t palette_at = 0;
    std::size_t palette_entry = 4;
    if (header_size == 12) {  // BITMAPCOREHEADER
        width = static_cast<std::int16_t>(get_u16(d, 18));
        height = static_cast<std::int16_t>(get_u16(d, 20));
        bpp = get_u16(d, 24);
        palette_entry = 3;
        palette_at = 14 + 12;
    } else if (header_size >= 40) {
        if (d.size() < 14 + 40) return std::nullopt;
        width = static_cast<std::int32_t>(get_u32(d, 18));
        height = static_cast<std::int32_t>(get_u32(d, 22));
        bpp = get_u16(d, 28);
        compression = get_u32(d, 30);
        colours_used = get_u32(d, 46);
        palette_at = 14 + static_cast<std::size_t>(header_size);
    } else {
        return std::nullopt;
    }
    const bool top_down = height < 0;
    if (top_down) height = -height;
    if (width <= 0 || height <= 0 || width > max_picture_side || height > max_picture_side ||
        width * height > max_picture_pixels)
        return std::nullopt;

    Channel red, green, blue;
    if (compression == 3 && (bpp == 16 || bpp == 32)) {  // BI_BITFIELDS
        std::size_t masks_at = 14 + 40;
        if (d.size() < masks_at + 12) return std::nullopt;
        const std::uint32_t masks[3] = {get_u32(d, masks_at), get_u32(d, masks_at + 4), get_u32(d, masks_at + 8)};
        if (!one_run(masks[0]) || !one_run(masks[1]) || !one_run(masks[2])) return std::nullopt;
        red = channel_of(masks[0]);
        green = channel_of(masks[1]);
        blue = channel_of(masks[2]);
        if (header_size == 40) palette_at += 12;
    } else if (compression == 0) {
        if (bpp == 16) {
            red = channel_of(0x7C00u);
            green = channel_of(0x03E0u);
            blue = channel_of(0x001Fu);
        } else if (bpp == 32) {
            red = channel_of(0x00FF0000u);
            green = channel_of(0x0000FF00u);
            blue = channel_of(0x000000FFu);
        }
    } else {
        return std::nullopt;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return std::nullopt;

    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        std::size_t count = colours_used != 0 ? colours_used : (std::size_t{1} << bpp);
        if (count > 256) return std::nullopt;
        if (palette_at + count * palette_entry > d.size()) return std::nullopt;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = palette_at + i * palette_entry;
            palette.push_back((static_cast<std::uint32_t>(d[at + 2]) << 16) | (static_cast<std::uint32_t>(d[at + 1]) << 8) | d[at]);
        }
    }

    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const std::size_t stride = ((w * bpp + 31) / 32) * 4;
    if (pixel_offset > d.size() || (d.size() - pixel_offset) / stride < h) return std::nullopt;

    Image image(static_cast<int>(w), static_cast<int>(h));
    for (std::size_t row = 0; row < h; ++row) {
        const std::size_t y = top_down ? row : h - 1 - row;
        const std::uint8_t* src = d.data() + pixel_offset + row * stride;
        std::uint32_t* dst = image.pixels.data() + y * w;
        for (std::size_t x = 0; x < w; ++x) {
            std::uint32_t value = 0;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    const std::size_t bit = x * bpp;
                    const std::uint32_t byte = src[bit / 8];
                    const std::uint32_t index = (byte >> (8 - bpp - (bit % 8))) & ((1u << bpp) - 1u);
                    value = index < palette.size() ? palette[index] : 0;
                    break;
                }
                case 16: {
                    const std::uint32_t p = static_cast<std::uint32_t>(src[2 * x]) | (static_cast<std::uint32_t>(src[2 * x + 1]) << 8);
                    value = (expand(p, red) << 16) | (expand(p, green) << 8) | expand(p, blue);
                    break;
                }
                case 24:
                    value = (static_cast<std::uint32_t>(src[3 * x + 2]) << 16) | (static_cast<std::uint32_t>(src[3 * x + 1]) << 8) | src[3 * x];
                    break;
                default: {  // 32
                    const std::uint32_t p = static_cast<std::uint32_t>(src[4 * x]) | (static_cast<std::uint32_t>(src[4 * x + 1]) << 8) |
                                            (static_cast<std::uint32_t>(src[4 * x + 2]) << 16) | (static_cast<std::uint32_t>(src[4 * x + 3]) << 24);
                    value = (expand(p, red) << 16) | (expand(p, green) << 8) | expand(p, blue);
                    break;
                }
            }
            dst[x] = value;
        }
    }
    return image;
}

std::optional<Image> read_bmp(const std::string& path) {
    // Only a plain file is opened (a folder made the stream throw, a FIFO blocks the open, /dev/zero
    // never ends), and it is read only up to the size seen here.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > max_bmp_file_bytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (in.bad()) return std::nullopt;
    data.resize(static_cast<std::size_t>(in.gcount()));
    return decode_bmp(data);
}

std::vector<std::uint8_t> encode_bmp(const Image& image, BmpFormat format) {
    if (image.empty() || image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) return {};
    const std::size_t w = static_cast<std::size_t>(image.width);
    const std::size_t h = static_cast<std::size_t>(image.height);

    std::uint32_t bpp = 24;
    std::vector<std::uint32_t> palette;
    std::map<std::uint32_t, std::uint32_t> index_of;
    if (format != BmpFormat::rgb24) {
        bpp = format == BmpFormat::indexed8 ? 8 : 1;
        const std::size_t limit = std::size_t{1} << bpp;
        for (std::uint32_t p : image.pixels) {
            if (index_of.emplace(p & 0xFFFFFFu, 0).second && index_of.size() > limit) return {};
        }
        std::uint32_t next = 0;
        for (auto& [colour, index] : index_of) {
            index = next++;
            palette.push_back(colour);
        }
    }
    const std::size_t stride = ((w * bpp + 31) / 32) * 4;
    const std::size_t palette_bytes = palette.size() * 4;
    const std::size_t pixel_offset = 14 + 40 + palette_bytes;
    const std::size_t file_size = pixel_offset + stride * h;

    std::vector<std::uint8_t> out;
    out.reserve(file_size);
    out.push_back('B');
    out.push_back('M');
    put_u32(out, static_cast<std::uint32_t>(file_size));
    put_u32(out, 0);
    put_u32(out, static_cast<std::uint32_t>(pixel_offset));
    put_u32(out, 40);
    put_u32(out, static_cast<std::uint32_t>(w));
    put_u32(out, static_cast<std::uint32_t>(h));
    put_u16(out, 1);
    put_u16(out, bpp);
    put_u32(out, 0);                                     // BI_RGB
    put_u32(out, static_cast<std::uint32_t>(stride * h));
    put_u32(out, 2835);                                  // 72 dots per inch
    put_u32(out, 2835);
    put_u32(out, static_cast<std::uint32_t>(palette.size()));
    put_u32(out, 0);
    for (std::uint32_t c : palette) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFFu));
        out.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFFu));
        out.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFFu));
        out.push_back(0);
    }
    for (std::size_t row = 0; row < h; ++row) {
        const std::uint32_t* src = image.pixels.data() + (h - 1 - row) * w;
        const std::size_t start = out.size();
        out.resize(start + stride, 0);
        std::uint8_t* dst = out.data() + start;
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = src[x] & 0xFFFFFFu;
            if (bpp == 24) {
                dst[3 * x] = static_cast<std::uint8_t>(p & 0xFFu);
                dst[3 * x + 1] = static_cast<std::uint8_t>((p >> 8) & 0xFFu);
                dst[3 * x + 2] = static_cast<std::uint8_t>((p >> 16) & 0xFFu);
            } else if (bpp == 8) {
                dst[x] = static_cast<std::uint8_t>(index_of.find(p)->second);
            } else if (index_of.find(p)->second != 0) {
                dst[x / 8] = static_cast<std::uint8_t>(dst[x / 8] | (0x80u >> (x % 8)));
            }
        }
    }
    return out;
}

bool write_bmp(const std::string& path, const Image& image, BmpFormat format, SystemApi* disk) {
    const std::vector<std::uint8_t> data = encode_bmp(image, format);
    if (data.empty()) return false;
    // The old picture (which the desktop may be showing) stays whole until the new one is complete, and
    // a symlink at `path` is replaced by the picture, never written through.
    return replace_file(path, {reinterpret_cast<const char*>(data.data()), data.size()}, disk);
}

}  // namespace kolvane
