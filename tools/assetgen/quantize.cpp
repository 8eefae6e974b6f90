// Palette reduction for the 256-colour pictures: median cut, refined by a few rounds of k-means,
// then mapping with optional serpentine error diffusion. Pure black is kept out of the palette
// search so that the black surround of the sprite sheet stays exactly black and no figure pixel
// ever becomes black.
#include <algorithm>
#include <map>

#include "core.h"

namespace assetgen {
namespace {

struct Entry {
    double c[3];
    double weight;
};

struct Box {
    std::vector<std::size_t> items;
};

void split_channels(std::uint32_t p, double out[3]) {
    out[0] = static_cast<double>((p >> 16) & 0xFF);
    out[1] = static_cast<double>((p >> 8) & 0xFF);
    out[2] = static_cast<double>(p & 0xFF);
}

// Perceptual weights of the channels for distances.
constexpr double wr = 0.30, wg = 0.59, wb = 0.20;

double distance(const double a[3], const double b[3]) {
    const double dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return wr * dr * dr + wg * dg * dg + wb * db * db;
}

}  // namespace

kolvane::Image quantize(const kolvane::Image& image, int colours, bool diffuse, const std::vector<std::uint8_t>& region) {
    // Histogram of the non-black colours.
    std::map<std::uint32_t, double> histogram;
    for (std::uint32_t p : image.pixels) {
        if ((p & 0xFFFFFF) != 0) histogram[p & 0xFFFFFF] += 1.0;
    }
    const int slots = std::max(1, colours - 1);  // one entry is kept for black
    std::vector<Entry> entries;
    entries.reserve(histogram.size());
    for (const auto& [colour, count] : histogram) {
        Entry e{};
        split_channels(colour, e.c);
        e.weight = count;
        entries.push_back(e);
    }
    std::vector<std::array<double, 3>> palette;
    if (static_cast<int>(entries.size()) <= slots) {
        for (const Entry& e : entries) palette.push_back({e.c[0], e.c[1], e.c[2]});
    } else {
        // Median cut: split the box with the largest weighted spread until there are enough.
        std::vector<Box> boxes(1);
        for (std::size_t i = 0; i < entries.size(); ++i) boxes[0].items.push_back(i);
        while (static_cast<int>(boxes.size()) < slots) {
            double best = -1;
            std::size_t best_box = 0;
            int best_axis = 0;
            for (std::size_t b = 0; b < boxes.size(); ++b) {
                if (boxes[b].items.size() < 2) continue;
                double lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9}, weight = 0;
                for (std::size_t i : boxes[b].items) {
                    for (int k = 0; k < 3; ++k) {
                        lo[k] = std::min(lo[k], entries[i].c[k]);
                        hi[k] = std::max(hi[k], entries[i].c[k]);
                    }
                    weight += entries[i].weight;
                }
                const double w[3] = {wr, wg, wb};
                for (int k = 0; k < 3; ++k) {
                    const double score = (hi[k] - lo[k]) * (hi[k] - lo[k]) * w[k] * std::sqrt(weight);
                    if (score > best) {
                        best = score;
                        best_box = b;
                        best_axis = k;
                    }
                }
            }
            if (best <= 0) break;
            Box& box = boxes[best_box];
            std::sort(box.items.begin(), box.items.end(), [&](std::size_t a, std::size_t b) {
                if (entries[a].c[best_axis] != entries[b].c[best_axis]) return entries[a].c[best_axis] < entries[b].c[best_axis];
                return a < b;
            });
            double total = 0;
            for (std::size_t i : box.items) total += entries[i].weight;
            double acc = 0;
            std::size_t cut = 1;
            for (std::size_t j = 0; j + 1 < box.items.size(); ++j) {
                acc += entries[box.items[j]].weight;
                cut = j + 1;
                if (acc >= total / 2) break;
            }
            Box other;
            other.items.assign(box.items.begin() + static_cast<std::ptrdiff_t>(cut), box.items.end());
            box.items.resize(cut);
            boxes.push_back(std::move(other));
        }
        for (const Box& box : boxes) {
            double sum[3] = {0, 0, 0}, weight = 0;
            for (std::size_t i : box.items) {
                for (int k = 0; k < 3; ++k) sum[k] += entries[i].c[k] * entries[i].weight;
                weight += entries[i].weight;
            }
            palette.push_back({sum[0] / weight, sum[1] / weight, sum[2] / weight});
        }
        // K-means refinement.
        for (int round = 0; round < 6; ++round) {
            std::vector<std::array<double, 4>> acc(palette.size(), {0, 0, 0, 0});
            for (const Entry& e : entries) {
                double best_d = 1e30;
                std::size_t best_i = 0;
                for (std::size_t i = 0; i < palette.size(); ++i) {
                    const double d = distance(e.c, palette[i].data());
                    if (d < best_d) {
                        best_d = d;
                        best_i = i;
                    }
                }
                for (int k = 0; k < 3; ++k) acc[best_i][static_cast<std::size_t>(k)] += e.c[k] * e.weight;
                acc[best_i][3] += e.weight;
            }
            for (std::size_t i = 0; i < palette.size(); ++i) {
                if (acc[i][3] > 0) palette[i] = {acc[i][0] / acc[i][3], acc[i][1] / acc[i][3], acc[i][2] / acc[i][3]};
            }
        }
    }
    // Final palette as bytes; never pure black.
    std::vector<std::array<double, 3>> pal;
    std::vector<std::uint32_t> pal_packed;
    for (const auto& c : palette) {
        int r = static_cast<int>(std::clamp(std::floor(c[0] + 0.5), 0.0, 255.0));
        int g = static_cast<int>(std::clamp(std::floor(c[1] + 0.5), 0.0, 255.0));
        int b = static_cast<int>(std::clamp(std::floor(c[2] + 0.5), 0.0, 255.0));
        if (r == 0 && g == 0 && b == 0) b = 1;
        pal.push_back({static_cast<double>(r), static_cast<double>(g), static_cast<double>(b)});
        pal_packed.push_back((static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b));
    }
    auto nearest = [&](const double c[3]) {
        double best_d = 1e30;
        std::size_t best_i = 0;
        for (std::size_t i = 0; i < pal.size(); ++i) {
            const double d = distance(c, pal[i].data());
            if (d < best_d) {
                best_d = d;
                best_i = i;
            }
        }
        return best_i;
    };

    kolvane::Image out(image.width, image.height);
    const std::size_t w = static_cast<std::size_t>(image.width);
    auto in_region = [&](std::size_t i) { return (image.pixels[i] & 0xFFFFFF) != 0 && (region.empty() || region[i] != 0); };
    if (!diffuse) {
        std::map<std::uint32_t, std::uint32_t> cache;
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            const std::uint32_t p = image.pixels[i] & 0xFFFFFF;
            if (p == 0) continue;
            auto it = cache.find(p);
            if (it == cache.end()) {
                double c[3];
                split_channels(p, c);
                it = cache.emplace(p, pal_packed[nearest(c)]).first;
            }
            out.pixels[i] = it->second;
        }
        return out;
    }
    std::vector<std::array<double, 3>> err(image.pixels.size(), {0, 0, 0});
    for (int y = 0; y < image.height; ++y) {
        const bool ltr = (y % 2) == 0;
        for (int step = 0; step < image.width; ++step) {
            const int x = ltr ? step : image.width - 1 - step;
            const std::size_t i = static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x);
            const std::uint32_t p = image.pixels[i] & 0xFFFFFF;
            if (p == 0) continue;
            double c[3];
            split_channels(p, c);
            const bool diffusing = in_region(i);
            if (diffusing) {
                for (int k = 0; k < 3; ++k) c[k] = std::clamp(c[k] + err[i][static_cast<std::size_t>(k)], 0.0, 255.0);
            }
            const std::size_t best = nearest(c);
            out.pixels[i] = pal_packed[best];
            if (!diffusing) continue;
            const double e[3] = {c[0] - pal[best][0], c[1] - pal[best][1], c[2] - pal[best][2]};
            const int dir = ltr ? 1 : -1;
            auto spread = [&](int dx, int dy, double f) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= image.width || ny >= image.height) return;
                const std::size_t j = static_cast<std::size_t>(ny) * w + static_cast<std::size_t>(nx);
                if (!in_region(j)) return;
                for (int k = 0; k < 3; ++k) err[j][static_cast<std::size_t>(k)] += e[k] * f;
            };
            // Damped Floyd-Steinberg: 85 % of the error travels, which keeps speckle down.
            spread(dir, 0, 7.0 / 16 * 0.85);
            spread(-dir, 1, 3.0 / 16 * 0.85);
            spread(0, 1, 5.0 / 16 * 0.85);
            spread(dir, 1, 1.0 / 16 * 0.85);
        }
    }
    return out;
}

}  // namespace assetgen
