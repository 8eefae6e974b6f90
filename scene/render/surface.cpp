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

// Four pixels in one 128-bit value. The compiler lowers its bitwise operators to SSE2 (the x86-64
// baseline) at any optimisation level, so the raster loops are vectorised without relying on -O3.
using Pixels4 = std::uint32_t __attribute__((vector_size(16)));

// Rows start at any pixel: memcpy gives an unaligned load or store that keeps to the type rules.
inline Pixels4 load4(const std::uint32_t* p) {
    Pixels4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void store4(std::uint32_t* p, Pixels4 v) { std::memcpy(p, &v, sizeof v); }

// dest[i] = rule(dest[i], sources[i]...) along a row: four pixels at a time, then the last few singly.
// The rule is written once for both, since a vector takes the same operators as a pixel.
template <typename Rule, typename... Sources>
inline void combine_row(std::uint32_t* dest, int n, Rule rule, const Sources*... sources) {
    int i = 0;
    for (; i + 4 <= n; i += 4) store4(dest + i, rule(load4(dest + i), load4(sources + i)...));
    for (; i < n; ++i) dest[i] = rule(dest[i], sources[i]...);
}

constexpr auto and_rule = [](auto d, auto s) { return d & s; };
constexpr auto or_rule = [](auto d, auto s) { return d | s; };
constexpr auto mask_paint_rule = [](auto d, auto m, auto f) { return (d & m) | f; };

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
            combine_row(d, width, and_rule, s);
            break;
        case RasterOp::srcpaint:
            combine_row(d, width, or_rule, s);
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
        combine_row(dest.row(y + j) + x, width, mask_paint_rule, mask.row(sheet_y + j) + sheet_x,
                    figure.row(sheet_y + j) + sheet_x);
    }
    return {x, y, width, height};
}

void SheetRuns::clear() {
    width_ = height_ = 0;
    std::vector<Run>().swap(runs_);
    std::vector<std::uint32_t>().swap(row_start_);
}

void SheetRuns::build(const Surface& mask, const Surface& figure) {
    clear();
    if (mask.width() != figure.width() || mask.height() != figure.height() || mask.empty()) return;
    if (mask.width() > 0xFFFF) return;
    width_ = mask.width();
    height_ = mask.height();
    row_start_.reserve(static_cast<std::size_t>(height_) + 1);
    for (int y = 0; y < height_; ++y) {
        row_start_.push_back(static_cast<std::uint32_t>(runs_.size()));
        const std::uint32_t* m = mask.row(y);
        const std::uint32_t* f = figure.row(y);
        int x = 0;
        while (x < width_) {
            const auto kind = [&](int i) { return m[i] == black ? 2 : (m[i] == white && f[i] == black ? 0 : 1); };
            const int k = kind(x);
            const int start = x;
            while (x < width_ && kind(x) == k) ++x;
            if (k != 0) runs_.push_back({static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(x), k == 2});
        }
    }
    row_start_.push_back(static_cast<std::uint32_t>(runs_.size()));
}

bool SheetRuns::fits(const Surface& mask, const Surface& figure) const {
    return width_ > 0 && mask.width() == width_ && mask.height() == height_ && figure.width() == width_ &&
           figure.height() == height_;
}

const SheetRuns::Run* SheetRuns::first_in(int y, int from) const {
    const Run* begin = runs_.data() + row_start_[static_cast<std::size_t>(y)];
    const Run* end = runs_.data() + row_start_[static_cast<std::size_t>(y) + 1];
    return std::partition_point(begin, end, [from](const Run& r) { return r.end <= from; });
}

PixelRect mask_and_paint_runs(Surface& dest, int x, int y, int width, int height, const Surface& mask,
                              const Surface& figure, int sheet_x, int sheet_y, const SheetRuns& runs) {
    if (!runs.fits(mask, figure)) return mask_and_paint(dest, x, y, width, height, mask, figure, sheet_x, sheet_y);
    if (!clip_axis(x, sheet_x, width, dest.width(), mask.width())) return {};
    if (!clip_axis(y, sheet_y, height, dest.height(), mask.height())) return {};
    const int to = sheet_x + width;
    for (int j = 0; j < height; ++j) {
        const int row = sheet_y + j;
        std::uint32_t* d = dest.row(y + j);
        const std::uint32_t* m = mask.row(row);
        const std::uint32_t* f = figure.row(row);
        runs.for_each_in(row, sheet_x, to, [&](int a, int b, bool copy) {
            std::uint32_t* out = d + (x + a - sheet_x);
            if (copy) std::memcpy(out, f + a, static_cast<std::size_t>(b - a) * sizeof(std::uint32_t));
            else combine_row(out, b - a, mask_paint_rule, m + a, f + a);
        });
    }
    return {x, y, width, height};
}

void erase_runs(Surface& dest, int x, int y, int width, int height, const Surface& clean, int sheet_x, int sheet_y,
                const SheetRuns& runs) {
    if (runs.width() <= 0 || dest.width() != clean.width() || dest.height() != clean.height()) {
        bit_blt(dest, x, y, width, height, clean, x, y, RasterOp::srccopy);
        return;
    }
    // Clipped to the screen and to the sheet together, as the draw was.
    if (!clip_axis(x, sheet_x, width, dest.width(), runs.width())) return;
    if (!clip_axis(y, sheet_y, height, dest.height(), runs.height())) return;
    const int to = sheet_x + width;
    for (int j = 0; j < height; ++j) {
        const int row = sheet_y + j;
        std::uint32_t* d = dest.row(y + j);
        const std::uint32_t* c = clean.row(y + j);
        runs.for_each_in(row, sheet_x, to, [&](int a, int b, bool) {
            const int at = x + a - sheet_x;
            if (d != c) std::memcpy(d + at, c + at, static_cast<std::size_t>(b - a) * sizeof(std::uint32_t));
        });
    }
}

PixelRect bounding_rect(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    const int right = std::max(a.left + a.width, b.left + b.width), bottom = std::max(a.top + a.height, b.top + b.height);
    return {left, top, right - left, bottom - top};
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
