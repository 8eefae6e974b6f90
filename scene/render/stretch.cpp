// Scaling with precomputed weights: a horizontal pass over the input rows, then a vertical pass.
#include "scene/render/stretch.h"

#include <algorithm>
#include <cstring>

namespace kolvane {

namespace {

constexpr std::uint32_t red_blue = 0xFF00FFu;
constexpr std::uint32_t green = 0x00FF00u;

// Weights are out of 256: red and blue share one 32-bit multiply without carrying into each other.
inline std::uint32_t blend2(std::uint32_t a, std::uint32_t b, std::uint32_t wa, std::uint32_t wb) {
    const std::uint32_t rb = (((a & red_blue) * wa + (b & red_blue) * wb + 0x800080u) >> 8) & red_blue;
    const std::uint32_t g = (((a & green) * wa + (b & green) * wb + 0x008000u) >> 8) & green;
    return rb | g;
}

inline std::uint32_t weighted_sum(const std::uint32_t* const* inputs, const std::uint32_t* weights, int count,
                                  int column) {
    std::uint32_t rb = 0x800080u, g = 0x008000u;
    for (int k = 0; k < count; ++k) {
        const std::uint32_t p = inputs[k][column];
        rb += (p & red_blue) * weights[k];
        g += (p & green) * weights[k];
    }
    return ((rb >> 8) & red_blue) | ((g >> 8) & green);
}

}  // namespace

void StretchPlan::Axis::build(int src_size, int dest_size) {
    first.assign(static_cast<std::size_t>(dest_size), 0);
    count.assign(static_cast<std::size_t>(dest_size), 0);
    offset.assign(static_cast<std::size_t>(dest_size), 0);
    weight.clear();
    max_count = 0;
    const std::int64_t src = src_size, dst = dest_size;
    for (std::int64_t d = 0; d < dst; ++d) {
        const auto at = static_cast<std::size_t>(d);
        offset[at] = static_cast<std::int32_t>(weight.size());
        if (dst >= src) {
            // Bilinear: the centre of output pixel d sits at ((2d + 1) src - dst) / (2 dst) on the input.
            const std::int64_t denominator = 2 * dst;
            const std::int64_t position = std::clamp<std::int64_t>((2 * d + 1) * src - dst, 0, (src - 1) * denominator);
            const std::int64_t base = position / denominator;
            const auto fraction =
                static_cast<std::uint32_t>(((position % denominator) * 256 + denominator / 2) / denominator);
            if (fraction == 0 || fraction == 256) {
                first[at] = static_cast<std::int32_t>(fraction == 0 ? base : base + 1);
                weight.push_back(256);
            } else {
                first[at] = static_cast<std::int32_t>(base);
                weight.push_back(256 - fraction);
                weight.push_back(fraction);
            }
        } else {
            // Area average: output pixel d covers [d src, (d + 1) src) in units where an input pixel is dst wide.
            const std::int64_t lo = d * src, hi = (d + 1) * src;
            std::int64_t last_share = 0;
            std::size_t kept = weight.size();  // weights up to here end in a non-zero one
            for (std::int64_t i = lo / dst; i * dst < hi; ++i) {
                const std::int64_t covered_to = std::min(hi, (i + 1) * dst) - lo;
                const std::int64_t share = (covered_to * 256 + src / 2) / src;
                const auto w = static_cast<std::uint32_t>(share - last_share);
                last_share = share;
                if (w == 0 && weight.size() == static_cast<std::size_t>(offset[at])) continue;  // leading zero
                if (weight.size() == static_cast<std::size_t>(offset[at])) first[at] = static_cast<std::int32_t>(i);
                weight.push_back(w);
                if (w != 0) kept = weight.size();
            }
            weight.resize(kept);
        }
        count[at] = static_cast<std::int32_t>(weight.size()) - offset[at];
        max_count = std::max(max_count, count[at]);
    }
}

void StretchPlan::prepare(int src_width, int src_height, int dest_width, int dest_height) {
    src_width = std::max(src_width, 0);
    src_height = std::max(src_height, 0);
    dest_width = std::max(dest_width, 0);
    dest_height = std::max(dest_height, 0);
    if (src_width == src_w_ && src_height == src_h_ && dest_width == dest_w_ && dest_height == dest_h_) return;
    src_w_ = src_width;
    src_h_ = src_height;
    dest_w_ = dest_width;
    dest_h_ = dest_height;
    const bool nothing = src_w_ == 0 || src_h_ == 0;
    // A picture of the screen's own size is copied as it is; the work rows would be a second screen.
    same_size_ = !nothing && src_w_ == dest_w_ && src_h_ == dest_h_;
    if (same_size_) {
        x_.build(0, 0);
        y_.build(0, 0);
        std::vector<std::uint32_t>().swap(rows_);
        std::vector<const std::uint32_t*>().swap(taps_);
        return;
    }
    x_.build(nothing ? 0 : src_w_, nothing ? 0 : dest_w_);
    y_.build(nothing ? 0 : src_h_, nothing ? 0 : dest_h_);
    const std::size_t ring = static_cast<std::size_t>(std::max(1, y_.max_count));
    rows_.assign(nothing ? 0 : ring * static_cast<std::size_t>(dest_w_), 0);
    taps_.assign(static_cast<std::size_t>(y_.max_count), nullptr);
}

void StretchPlan::scale_row(const std::uint32_t* in, std::uint32_t* out, int c0, int c1) const {
    for (int c = c0; c < c1; ++c) {
        const auto at = static_cast<std::size_t>(c);
        const std::uint32_t* w = x_.weight.data() + x_.offset[at];
        const std::uint32_t* p = in + x_.first[at];
        const int n = x_.count[at];
        std::uint32_t value = 0;
        if (n == 1) {
            value = p[0];
        } else if (n == 2) {
            value = blend2(p[0], p[1], w[0], w[1]);
        } else {
            std::uint32_t rb = 0x800080u, g = 0x008000u;
            for (int k = 0; k < n; ++k) {
                rb += (p[k] & red_blue) * w[k];
                g += (p[k] & green) * w[k];
            }
            value = ((rb >> 8) & red_blue) | ((g >> 8) & green);
        }
        out[c] = value & white;
    }
}

PixelRect StretchPlan::draw(Surface& dest, int x, int y, const Surface& src) {
    if (src.width() != src_w_ || src.height() != src_h_ || src.empty()) return {};
    // The part of the output that lands inside dest.
    const int c0 = std::max(0, -x), c1 = std::min(dest_w_, dest.width() - x);
    const int r0 = std::max(0, -y), r1 = std::min(dest_h_, dest.height() - y);
    if (c0 >= c1 || r0 >= r1) return {};
    if (same_size_) {
        for (int r = r0; r < r1; ++r) {
            const std::uint32_t* in = src.row(r) + c0;
            std::uint32_t* out = dest.row(y + r) + x + c0;
            for (int c = 0; c < c1 - c0; ++c) out[c] = in[c] & white;
        }
        return {x + c0, y + r0, c1 - c0, r1 - r0};
    }

    // Each output row mixes a few consecutive input rows, scaled horizontally first. The windows only
    // move down, so a ring of as many rows as the widest window holds every row still needed: input
    // row i lives in slot i % ring, and rows are scaled just before the first output row that reads them.
    const int ring = std::max(1, y_.max_count);
    const auto slot_of = [&](int input_row) {
        return rows_.data() + static_cast<std::size_t>(input_row % ring) * static_cast<std::size_t>(dest_w_);
    };
    int next_input = y_.first[static_cast<std::size_t>(r0)];
    const int width = c1 - c0;
    for (int r = r0; r < r1; ++r) {
        const auto at = static_cast<std::size_t>(r);
        const int n = y_.count[at];
        const int first = y_.first[at];
        next_input = std::max(next_input, first);
        for (; next_input < first + n; ++next_input) scale_row(src.row(next_input), slot_of(next_input), c0, c1);
        const std::uint32_t* w = y_.weight.data() + y_.offset[at];
        for (int k = 0; k < n; ++k) taps_[static_cast<std::size_t>(k)] = slot_of(first + k) + c0;
        std::uint32_t* out = dest.row(y + r) + x + c0;
        if (n == 1) {
            std::memcpy(out, taps_[0], static_cast<std::size_t>(width) * sizeof(std::uint32_t));
        } else if (n == 2) {
            const std::uint32_t* a = taps_[0];
            const std::uint32_t* b = taps_[1];
            const std::uint32_t wa = w[0], wb = w[1];
            for (int c = 0; c < width; ++c) out[c] = blend2(a[c], b[c], wa, wb);
        } else {
            for (int c = 0; c < width; ++c) out[c] = weighted_sum(taps_.data(), w, n, c);
        }
    }
    return {x + c0, y + r0, width, r1 - r0};
}

PixelRect stretch_blt(Surface& dest, int x, int y, int width, int height, const Surface& src, StretchPlan& plan) {
    plan.prepare(src.width(), src.height(), width, height);
    return plan.draw(dest, x, y, src);
}

}  // namespace kolvane
