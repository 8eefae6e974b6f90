// Shared pieces of the asset generator: random numbers, noise, vectors, colours and float images.
// Everything here is deterministic: fixed seeds, no clock, no threads.
#pragma once
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "scene/render/bmp.h"

namespace assetgen {

inline constexpr double pi = 3.14159265358979323846;

// ---- random numbers -------------------------------------------------------------------------

// SplitMix64: small, fast and the same everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double a, double b) { return a + (b - a) * uniform(); }
    int below(int n) { return static_cast<int>(uniform() * n); }
    double normal() {
        double u1 = uniform();
        if (u1 < 1e-300) u1 = 1e-300;
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * pi * uniform());
    }

private:
    std::uint64_t state_;
};

std::uint32_t hash_u32(std::uint32_t x);

// ---- vectors ----------------------------------------------------------------------------------

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(double s, Vec3 a) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 mul(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalize(Vec3 a) {
    const double l = length(a);
    return l > 0 ? a * (1.0 / l) : a;
}

// 3 × 3 rotation matrix, rows.
struct Mat3 {
    Vec3 r0{1, 0, 0}, r1{0, 1, 0}, r2{0, 0, 1};
    Vec3 apply(Vec3 v) const { return {dot(r0, v), dot(r1, v), dot(r2, v)}; }
    Vec3 apply_t(Vec3 v) const { return r0 * v.x + r1 * v.y + r2 * v.z; }  // the inverse for a rotation
};
Mat3 operator*(const Mat3& a, const Mat3& b);
Mat3 rot_x(double a);
Mat3 rot_y(double a);
Mat3 rot_z(double a);
Mat3 rot_axis(Vec3 axis, double a);

// ---- scalar helpers ---------------------------------------------------------------------------

inline double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline double clampd(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline double lerp(double a, double b, double t) { return a + (b - a) * t; }
inline double smoothstep(double e0, double e1, double x) {
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// ---- noise ------------------------------------------------------------------------------------

// Gradient noise in 2 and 3 dimensions, values roughly in [-1, 1].
class Noise {
public:
    explicit Noise(std::uint64_t seed);
    double at(double x, double y) const;
    double at(double x, double y, double z) const;
    // Fractal sums: octaves of noise, each twice the frequency and `gain` times the amplitude.
    double fbm(double x, double y, int octaves, double gain = 0.5) const;
    double fbm(double x, double y, double z, int octaves, double gain = 0.5) const;
    // Ridged fractal: sharp bright filaments, values in [0, ~1].
    double ridged(double x, double y, int octaves, double gain = 0.5) const;

private:
    std::array<std::uint8_t, 512> perm_{};
};

// ---- colour and float images ------------------------------------------------------------------

struct Rgb {
    double r = 0, g = 0, b = 0;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(double s, Rgb a) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb mix(Rgb a, Rgb b, double t) { return a + (b - a) * t; }
inline Rgb& operator+=(Rgb& a, Rgb b) {
    a = a + b;
    return a;
}
// A colour from sRGB byte values, converted to linear light.
Rgb srgb(int r, int g, int b);
double srgb_to_linear(double v);
double linear_to_srgb(double v);
// Colour of a star of the given temperature class t in [0, 1]: 0 red, 0.5 yellow-white, 1 blue.
Rgb star_colour(double t);

// Linear-light picture of floats.
struct FloatImage {
    int width = 0, height = 0;
    std::vector<Rgb> px;
    FloatImage() = default;
    FloatImage(int w, int h) : width(w), height(h), px(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}
    Rgb& at(int x, int y) { return px[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    const Rgb& at(int x, int y) const { return px[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    // Adds a round Gaussian spot of the given peak colour and radius (sigma, pixels).
    void add_gaussian(double cx, double cy, double sigma, Rgb peak, double aspect = 1.0);
    // Separable Gaussian blur of the whole picture.
    FloatImage blurred(double sigma) const;
};

// Converts to 8-bit sRGB with a soft shoulder (no hard clipping) and optional ordered dither.
kolvane::Image to_image(const FloatImage& f, double exposure = 1.0, bool dither = true);
// Plain conversion without tone mapping (values clipped to [0, 1]).
std::uint32_t pack_srgb(Rgb linear);

// ---- palette pictures -------------------------------------------------------------------------

// Reduces a picture to at most `colours` colours (k-means in a perceptual space, seeded by a
// median cut), optionally with error diffusion limited to the pixels where `region` is non-zero
// (all pixels when region is empty). Pure black pixels stay pure black and are not counted.
kolvane::Image quantize(const kolvane::Image& image, int colours, bool diffuse, const std::vector<std::uint8_t>& region = {});

// ---- files ------------------------------------------------------------------------------------

bool write_file(const std::string& path, const std::vector<std::uint8_t>& data);
void make_dirs(const std::string& path);

}  // namespace assetgen
