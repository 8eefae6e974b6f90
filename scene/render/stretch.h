// Scaling a picture to another size: bilinear when enlarging, area average when shrinking.
#pragma once
#include <cstdint>
#include <vector>

#include "scene/render/surface.h"

namespace kolvane {

// The weights and work rows of one scaling, made once for a pair of sizes so that scaling again
// allocates nothing.
class StretchPlan {
public:
    // Makes the plan for scaling src_width x src_height to dest_width x dest_height; keeps the
    // present one when the sizes are the same.
    void prepare(int src_width, int src_height, int dest_width, int dest_height);
    // Scales all of src (of the prepared size) to (x, y) of dest, clipped to dest.
    PixelRect draw(Surface& dest, int x, int y, const Surface& src);

    int src_width() const { return src_w_; }
    int src_height() const { return src_h_; }
    int dest_width() const { return dest_w_; }
    int dest_height() const { return dest_h_; }

private:
    // For each output position: the first input position and the weights (out of 256, summing to
    // 256) of the consecutive input positions that make it.
    struct Axis {
        std::vector<std::int32_t> first;
        std::vector<std::int32_t> count;
        std::vector<std::int32_t> offset;
        std::vector<std::uint32_t> weight;
        std::int32_t max_count = 0;
        void build(int src_size, int dest_size);
    };
    // One input row scaled horizontally, columns c0 to c1 of the output.
    void scale_row(const std::uint32_t* in, std::uint32_t* out, int c0, int c1) const;
    Axis x_, y_;
    bool same_size_ = false;  // a plain copy: no weights and no work rows
    std::vector<std::uint32_t> rows_;  // a ring of input rows scaled horizontally, dest_w_ pixels each
    std::vector<const std::uint32_t*> taps_;
    int src_w_ = -1, src_h_ = -1, dest_w_ = -1, dest_h_ = -1;
};

// Paints all of src into (x, y, width, height) of dest, scaled, through a plan kept by the caller.
PixelRect stretch_blt(Surface& dest, int x, int y, int width, int height, const Surface& src, StretchPlan& plan);

}  // namespace kolvane
