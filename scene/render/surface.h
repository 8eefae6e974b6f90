// Software surfaces of 32-bit pixels and the raster copies between them, clipped to both surfaces.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kolvane {

struct Image;

// Pixels are 0x00RRGGBB. A mask is held the same way: 0x000000 for a 0 bit, 0xFFFFFF for a 1 bit,
// so that ANDing it keeps or clears every colour bit as a 1-bit source would.
inline constexpr std::uint32_t black = 0x000000u;
inline constexpr std::uint32_t white = 0xFFFFFFu;

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, std::uint32_t fill_colour = black);

    // Gives the surface a new size, filled black; the buffer is reallocated only when it must grow.
    void resize(int width, int height);
    // Takes the size and pixels of another surface, reusing the buffer when it is large enough.
    void assign(const Surface& other);
    void fill(std::uint32_t colour);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }
    std::uint32_t* row(int y) { return pixels_.data() + index(0, y); }
    const std::uint32_t* row(int y) const { return pixels_.data() + index(0, y); }
    std::uint32_t at(int x, int y) const { return pixels_[index(x, y)]; }
    std::uint32_t& at(int x, int y) { return pixels_[index(x, y)]; }
    const std::uint32_t* data() const { return pixels_.data(); }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

enum class RasterOp {
    srccopy,   // destination = source
    srcand,    // destination = destination AND source
    srcpaint,  // destination = destination OR source
};

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
};

// The smallest rectangle holding both; an empty one adds nothing.
PixelRect bounding_rect(const PixelRect& a, const PixelRect& b);

// Copies width x height pixels from (src_x, src_y) of src to (x, y) of dest. Only pixels inside both
// take part; returns the rectangle of dest written (empty when none). src may be dest itself only for
// the same rectangle (the persistent image shares the clean background): the pixels then stay as they are.
PixelRect bit_blt(Surface& dest, int x, int y, int width, int height, const Surface& src, int src_x, int src_y,
                  RasterOp op);

// The mask's rectangle ANDed and then the figure's ORed onto dest, in one pass over dest; both
// sheets have the same size, so the clipping is that of either copy.
PixelRect mask_and_paint(Surface& dest, int x, int y, int width, int height, const Surface& mask,
                         const Surface& figure, int sheet_x, int sheet_y);

// The pixels of a sheet that a masked draw (mask ANDed, then figure ORed) changes, row by row in runs:
// where the mask is black the figure replaces the screen; where it is white and the figure black the
// screen stays, so those pixels are skipped by the draw and by the erase that later undoes it.
class SheetRuns {
public:
    // Empty for sheets of different sizes or wider than a run can say; the draws then take whole rectangles.
    void build(const Surface& mask, const Surface& figure);
    void clear();
    // Built for this pair of sheets (same size as when built).
    bool fits(const Surface& mask, const Surface& figure) const;
    int width() const { return width_; }
    int height() const { return height_; }

    struct Run {
        std::uint16_t start = 0;
        std::uint16_t end = 0;  // one past the last pixel
        bool copy = false;      // the mask is black all along: the figure's pixels are copied
    };
    // Calls visit(start, end, copy) for each run of sheet row `y`, cut to the columns [from, to).
    template <typename Visit>
    void for_each_in(int y, int from, int to, Visit visit) const {
        if (y < 0 || y >= height_) return;
        const Run* end = runs_.data() + row_start_[static_cast<std::size_t>(y) + 1];
        for (const Run* r = first_in(y, from); r != end && r->start < to; ++r)
            visit(std::max<int>(r->start, from), std::min<int>(r->end, to), r->copy);
    }

private:
    // The first run of row `y` that ends after column `from`, found by bisection.
    const Run* first_in(int y, int from) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<Run> runs_;
    std::vector<std::uint32_t> row_start_;  // runs_ index of each row's first run; one more for the end
};

// mask_and_paint through the sheet's runs: the same pixels result, but the skipped ones are not read.
PixelRect mask_and_paint_runs(Surface& dest, int x, int y, int width, int height, const Surface& mask,
                              const Surface& figure, int sheet_x, int sheet_y, const SheetRuns& runs);
// Undoes such a draw at (x, y): copies from `clean` (a surface of dest's size) only where the frame's
// runs changed dest; without runs, or with a clean surface of another size, the whole rectangle.
void erase_runs(Surface& dest, int x, int y, int width, int height, const Surface& clean, int sheet_x, int sheet_y,
                const SheetRuns& runs);

// A position of the scene (a real number) as a whole pixel, ties to even; far-off values are held
// at a distance where no copy can overflow.
int to_pixel(double position);

// Conversions to and from pictures read or written as files.
void surface_from_image(Surface& surface, const Image& image);
void image_from_surface(Image& image, const Surface& surface);
// A black-and-white mask from a picture: dark pixels become black (0 bits), light ones white.
void mask_from_image(Surface& mask, const Image& image);

}  // namespace kolvane
