// Decoding pictures: BMP with our own reader, PNG and JPEG with stb_image, each size checked before decoding.
#include "scene/render/picture_codec.h"

#include <stb_image.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <limits>
#include <system_error>

#include "scene/render/surface.h"

namespace kolvane {

namespace {

bool starts_with(std::span<const std::uint8_t> data, std::initializer_list<std::uint8_t> prefix) {
    if (data.size() < prefix.size()) return false;
    std::size_t i = 0;
    for (std::uint8_t byte : prefix)
        if (data[i++] != byte) return false;
    return true;
}

bool acceptable(int width, int height) {
    return width > 0 && height > 0 && width <= max_picture_side && height <= max_picture_side &&
           std::int64_t{width} * height <= max_picture_pixels;
}

// stb_image takes an int length; a picture file is far smaller than that anyway.
bool fits_stb(std::span<const std::uint8_t> data) {
    return !data.empty() && data.size() <= static_cast<std::size_t>(std::numeric_limits<int>::max());
}

// The RGB pixels stb_image decodes, freed with it.
struct StbPixels {
    int width = 0;
    int height = 0;
    stbi_uc* pixels = nullptr;
    StbPixels() = default;
    StbPixels(const StbPixels&) = delete;
    StbPixels& operator=(const StbPixels&) = delete;
    ~StbPixels() { stbi_image_free(pixels); }
};

// Decodes PNG or JPEG bytes as three channels; false when stb_image refuses them or they are too large.
bool stb_decode(std::span<const std::uint8_t> data, StbPixels& out) {
    const auto size = picture_size(data);
    if (!size) return false;
    int channels = 0;
    out.pixels = stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &out.width, &out.height, &channels, 3);
    if (out.pixels == nullptr) return false;
    // The header read above and the decoder must agree, or the buffer is not what we think.
    return out.width == size->width && out.height == size->height;
}

std::uint32_t rgb_at(const stbi_uc* p) {
    return (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
}

}  // namespace

PictureFormat picture_format(std::span<const std::uint8_t> data) {
    if (starts_with(data, {'B', 'M'})) return PictureFormat::bmp;
    if (starts_with(data, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return PictureFormat::png;
    if (starts_with(data, {0xFF, 0xD8, 0xFF})) return PictureFormat::jpeg;
    return PictureFormat::unknown;
}

std::optional<PictureSize> picture_size(std::span<const std::uint8_t> data) {
    const PictureFormat format = picture_format(data);
    if (format != PictureFormat::png && format != PictureFormat::jpeg) return std::nullopt;
    if (!fits_stb(data)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_memory(data.data(), static_cast<int>(data.size()), &width, &height, &channels) == 0)
        return std::nullopt;
    if (!acceptable(width, height)) return std::nullopt;
    return PictureSize{width, height};
}

std::optional<Image> decode_picture(std::span<const std::uint8_t> data) {
    const PictureFormat format = picture_format(data);
    if (format == PictureFormat::bmp) return decode_bmp(data);  // bounded by its own header check
    StbPixels decoded;
    if (!stb_decode(data, decoded)) return std::nullopt;
    Image image(decoded.width, decoded.height);
    const std::size_t count = image.pixels.size();
    for (std::size_t i = 0; i < count; ++i) image.pixels[i] = rgb_at(decoded.pixels + 3 * i);
    return image;
}

bool decode_picture_into(Surface& surface, std::span<const std::uint8_t> data) {
    if (picture_format(data) == PictureFormat::bmp) {
        const auto image = decode_picture(data);
        if (!image) return false;
        surface_from_image(surface, *image);
        return true;
    }
    StbPixels decoded;
    if (!stb_decode(data, decoded)) return false;
    surface.resize(decoded.width, decoded.height);
    for (int y = 0; y < decoded.height; ++y) {
        const stbi_uc* in = decoded.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(decoded.width) * 3;
        std::uint32_t* out = surface.row(y);
        for (int x = 0; x < decoded.width; ++x) out[x] = rgb_at(in + 3 * x);
    }
    return true;
}

std::optional<Image> read_picture(const std::string& path) {
    const std::vector<std::uint8_t> data = read_file_bytes(path);
    if (data.empty()) return std::nullopt;
    return decode_picture(data);
}

std::vector<std::uint8_t> read_file_bytes(const std::string& path) {
    // Only a plain file is opened, and only up to the size seen here (as read_bmp does).
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) return {};
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > max_bmp_file_bytes) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (in.bad()) return {};
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

}  // namespace kolvane
