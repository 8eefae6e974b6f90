// Software surfaces and their clipped raster copies.
#include "scene/render/surface.h"

#include <algorithm>
#include <cstring>

#include "scene/render/bmp.h"
#include "startup/numeric.h"

namespace kolvane {

Surface::Surface(int width, int height, std::uint32_t fill_colour) {
    resize(width, height);
    fill(fill_colour);
}

void Surface::resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), black);
}

void Surface::assign(const Surface& other) {
    if (this == &other) return;
    width_ = other.width_;
    height_ = other.height_;
    pixels_.assign(other.pixels_.begin(), other.pixels_.end());
}

void Surface::fill(std::uint32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

namespace {

// One axis of a copy: shifts the start so both origins are inside, then cuts the length to both sizes.
// 64-bit arithmetic keeps far-off rectangles from overflowing.
bool clip_axis(int& dest_pos, int& src_pos, int& length, int dest_size, int src_size) {
    std::int64_t d = dest_pos, s = src_pos, n = length;
    const std::int64_t shift = std::max<std::int64_t>({0, -d, -s});
    d += shift;
    s += shift;
    n -= shift;
    n = std::min({n, dest_size - d, src_size - s});
    if (n <= 0) return false;
    dest_pos = static_cast<int>(d);
    src_pos = static_cast<int>(s);
    length = static_cast<int>(n);
    return true;
}

void and_row(std::uint32_t* __restrict dest, const std::uint32_t* __restrict src, int n) {
    for (int i = 0; i < n; ++i) dest[i] &= src[i];
}

void or_row(std::uint32_t* __restrict dest, const std::uint32_t* __restrict src, int n) {
    for (int i = 0; i < n; ++i) dest[i] |= src[i];
}

}  // namespace

PixelRect bit_blt(Surface& dest, int x, int y, int width, int height, const Surface& src, int src_x, int src_y,
                  RasterOp op) {
    if (!clip_axis(x, src_x, width, dest.width(), src.width())) return {};
    if (!clip_axis(y, src_y, height, dest.height(), src.height())) return {};
    for (int j = 0; j < height; ++j) {
        std::uint32_t* d = dest.row(y + j) + x;
        const std::uint32_t* s = src.row(src_y + j) + src_x;
        switch (op) {
        case RasterOp::srccopy:
            // A surface copied onto itself (the persistent image shares the clean background).
            if (d != s) std::memmove(d, s, static_cast<std::size_t>(width) * sizeof(std::uint32_t));
            break;
        case RasterOp::srcand:
            and_row(d, s, width);
            break;
        case RasterOp::srcpaint:
            or_row(d, s, width);
            break;
        }
    }
    return {x, y, width, height};
}

PixelRect mask_and_paint(Surface& dest, int x, int y, int width, int height, const Surface& mask,
                         const Surface& figure, int sheet_x, int sheet_y) {
    if (mask.width() != figure.width() || mask.height() != figure.height()) {
        bit_blt(dest, x, y, width, height, mask, sheet_x, sheet_y, RasterOp::srcand);
        return bit_blt(dest, x, y, width, height, figure, sheet_x, sheet_y, RasterOp::srcpaint);
    }
    if (!clip_axis(x, sheet_x, width, dest.width(), mask.width())) return {};
    if (!clip_axis(y, sheet_y, height, dest.height(), mask.height())) return {};
    for (int j = 0; j < height; ++j) {
        std::uint32_t* __restrict d = dest.row(y + j) + x;
        const std::uint32_t* __restrict m = mask.row(sheet_y + j) + sheet_x;
        const std::uint32_t* __restrict f = figure.row(sheet_y + j) + sheet_x;
        for (int i = 0; i < width; ++i) d[i] = (d[i] & m[i]) | f[i];
    }
    return {x, y, width, height};
}

int to_pixel(double position) {
    // Far beyond any surface, yet small enough that adding a surface size cannot overflow.
    constexpr double limit = 1 << 29;
    if (position != position) return 0;  // not a number: no place at all
    return static_cast<int>(round_half_even(std::clamp(position, -limit, limit)));
}

void surface_from_image(Surface& surface, const Image& image) {
    surface.resize(image.width, image.height);
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) surface.at(x, y) = image.at(x, y) & white;
}

void image_from_surface(Image& image, const Surface& surface) {
    image = Image(surface.width(), surface.height());
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) image.at(x, y) = surface.at(x, y);
}

void mask_from_image(Surface& mask, const Image& image) {
    mask.resize(image.width, image.height);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const std::uint32_t p = image.at(x, y);
            const std::uint32_t sum = ((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu);
            mask.at(x, y) = sum >= 3u * 128u ? white : black;
        }
    }
}

}  // namespace kolvane
