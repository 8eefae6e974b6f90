#include "core.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace assetgen {

std::uint32_t hash_u32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

Mat3 operator*(const Mat3& a, const Mat3& b) {
    // (a * b) v = a (b v)
    Mat3 m;
    const Vec3 c0{b.r0.x, b.r1.x, b.r2.x}, c1{b.r0.y, b.r1.y, b.r2.y}, c2{b.r0.z, b.r1.z, b.r2.z};
    m.r0 = {dot(a.r0, c0), dot(a.r0, c1), dot(a.r0, c2)};
    m.r1 = {dot(a.r1, c0), dot(a.r1, c1), dot(a.r1, c2)};
    m.r2 = {dot(a.r2, c0), dot(a.r2, c1), dot(a.r2, c2)};
    return m;
}

Mat3 rot_x(double a) {
    const double c = std::cos(a), s = std::sin(a);
    Mat3 m;
    m.r1 = {0, c, -s};
    m.r2 = {0, s, c};
    return m;
}

Mat3 rot_y(double a) {
    const double c = std::cos(a), s = std::sin(a);
    Mat3 m;
    m.r0 = {c, 0, s};
    m.r2 = {-s, 0, c};
    return m;
}

Mat3 rot_z(double a) {
    const double c = std::cos(a), s = std::sin(a);
    Mat3 m;
    m.r0 = {c, -s, 0};
    m.r1 = {s, c, 0};
    return m;
}

Mat3 rot_axis(Vec3 u, double a) {
    u = normalize(u);
    const double c = std::cos(a), s = std::sin(a), t = 1 - c;
    Mat3 m;
    m.r0 = {t * u.x * u.x + c, t * u.x * u.y - s * u.z, t * u.x * u.z + s * u.y};
    m.r1 = {t * u.x * u.y + s * u.z, t * u.y * u.y + c, t * u.y * u.z - s * u.x};
    m.r2 = {t * u.x * u.z - s * u.y, t * u.y * u.z + s * u.x, t * u.z * u.z + c};
    return m;
}

// ---- noise ----------------------------------------------------------------------------------

Noise::Noise(std::uint64_t seed) {
    std::array<std::uint8_t, 256> p{};
    for (int i = 0; i < 256; ++i) p[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    Rng rng(seed);
    for (int i = 255; i > 0; --i) {
        const int j = static_cast<int>(rng.next() % static_cast<std::uint64_t>(i + 1));
        std::swap(p[static_cast<std::size_t>(i)], p[static_cast<std::size_t>(j)]);
    }
    for (std::size_t i = 0; i < 512; ++i) perm_[i] = p[i & 255];
}

namespace {
inline double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
inline double grad2(int h, double x, double y) {
    switch (h & 7) {
        case 0: return x + y;
        case 1: return -x + y;
        case 2: return x - y;
        case 3: return -x - y;
        case 4: return x;
        case 5: return -x;
        case 6: return y;
        default: return -y;
    }
}
inline double grad3(int h, double x, double y, double z) {
    const int hh = h & 15;
    const double u = hh < 8 ? x : y;
    const double v = hh < 4 ? y : (hh == 12 || hh == 14 ? x : z);
    return ((hh & 1) == 0 ? u : -u) + ((hh & 2) == 0 ? v : -v);
}
}  // namespace

double Noise::at(double x, double y) const {
    const double fx = std::floor(x), fy = std::floor(y);
    const int X = static_cast<int>(fx) & 255, Y = static_cast<int>(fy) & 255;
    x -= fx;
    y -= fy;
    const double u = fade(x), v = fade(y);
    auto P = [this](int i) { return static_cast<int>(perm_[static_cast<std::size_t>(i)]); };
    const int a = P(X) + Y, b = P(X + 1) + Y;
    const double r = lerp(lerp(grad2(P(a), x, y), grad2(P(b), x - 1, y), u),
                          lerp(grad2(P(a + 1), x, y - 1), grad2(P(b + 1), x - 1, y - 1), u), v);
    return r * 0.7;
}

double Noise::at(double x, double y, double z) const {
    const double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int X = static_cast<int>(fx) & 255, Y = static_cast<int>(fy) & 255, Z = static_cast<int>(fz) & 255;
    x -= fx;
    y -= fy;
    z -= fz;
    const double u = fade(x), v = fade(y), w = fade(z);
    auto P = [this](int i) { return static_cast<int>(perm_[static_cast<std::size_t>(i)]); };
    const int A = P(X) + Y, AA = P(A) + Z, AB = P(A + 1) + Z;
    const int B = P(X + 1) + Y, BA = P(B) + Z, BB = P(B + 1) + Z;
    return lerp(lerp(lerp(grad3(P(AA), x, y, z), grad3(P(BA), x - 1, y, z), u),
                     lerp(grad3(P(AB), x, y - 1, z), grad3(P(BB), x - 1, y - 1, z), u), v),
                lerp(lerp(grad3(P(AA + 1), x, y, z - 1), grad3(P(BA + 1), x - 1, y, z - 1), u),
                     lerp(grad3(P(AB + 1), x, y - 1, z - 1), grad3(P(BB + 1), x - 1, y - 1, z - 1), u), v),
                w);
}

double Noise::fbm(double x, double y, int octaves, double gain) const {
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * at(x, y);
        norm += amp;
        amp *= gain;
        // Rotate a little between octaves so the lattice never lines up.
        const double nx = x * 1.6 - y * 1.2 + 17.3, ny = x * 1.2 + y * 1.6 - 9.1;
        x = nx;
        y = ny;
    }
    return sum / norm * 1.6;
}

double Noise::fbm(double x, double y, double z, int octaves, double gain) const {
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * at(x, y, z);
        norm += amp;
        amp *= gain;
        x = x * 2.03 + 11.7;
        y = y * 2.03 - 5.3;
        z = z * 2.03 + 3.1;
    }
    return sum / norm * 1.6;
}

double Noise::ridged(double x, double y, int octaves, double gain) const {
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        const double n = 1.0 - std::fabs(at(x, y) * 1.4);
        sum += amp * n * n;
        norm += amp;
        amp *= gain;
        const double nx = x * 1.6 - y * 1.2 + 7.7, ny = x * 1.2 + y * 1.6 + 3.3;
        x = nx;
        y = ny;
    }
    return sum / norm;
}

// ---- colour ---------------------------------------------------------------------------------

double srgb_to_linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double linear_to_srgb(double v) {
    if (v <= 0) return 0;
    if (v >= 1) return 1;
    return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
}

Rgb srgb(int r, int g, int b) { return {srgb_to_linear(r / 255.0), srgb_to_linear(g / 255.0), srgb_to_linear(b / 255.0)}; }

Rgb star_colour(double t) {
    static const Rgb stops[] = {srgb(255, 170, 120), srgb(255, 214, 170), srgb(255, 244, 232), srgb(222, 232, 255), srgb(170, 196, 255)};
    t = clamp01(t) * 4.0;
    const int i = static_cast<int>(std::min(3.0, std::floor(t)));
    return mix(stops[i], stops[i + 1], t - i);
}

void FloatImage::add_gaussian(double cx, double cy, double sigma, Rgb peak, double aspect) {
    const double reach = sigma * 3.5;
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - reach * aspect))), x1 = std::min(width - 1, static_cast<int>(std::ceil(cx + reach * aspect)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - reach))), y1 = std::min(height - 1, static_cast<int>(std::ceil(cy + reach)));
    const double k = 1.0 / (2 * sigma * sigma);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double dx = (x + 0.5 - cx) / aspect, dy = y + 0.5 - cy;
            const double w = std::exp(-(dx * dx + dy * dy) * k);
            if (w > 1e-4) at(x, y) += peak * w;
        }
    }
}

FloatImage FloatImage::blurred(double sigma) const {
    const int r = std::max(1, static_cast<int>(std::ceil(sigma * 3)));
    std::vector<double> k(static_cast<std::size_t>(2 * r + 1));
    double sum = 0;
    for (int i = -r; i <= r; ++i) sum += (k[static_cast<std::size_t>(i + r)] = std::exp(-i * i / (2 * sigma * sigma)));
    for (auto& v : k) v /= sum;
    FloatImage tmp(width, height), out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb acc;
            for (int i = -r; i <= r; ++i) acc += at(std::clamp(x + i, 0, width - 1), y) * k[static_cast<std::size_t>(i + r)];
            tmp.at(x, y) = acc;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb acc;
            for (int i = -r; i <= r; ++i) acc += tmp.at(x, std::clamp(y + i, 0, height - 1)) * k[static_cast<std::size_t>(i + r)];
            out.at(x, y) = acc;
        }
    return out;
}

namespace {
double shoulder(double v) {
    const double k = 0.7;
    if (v <= k) return std::max(0.0, v);
    return k + (1 - k) * (1 - std::exp(-(v - k) / (1 - k)));
}
int to_byte(double v) { return static_cast<int>(std::clamp(std::floor(v * 255.0 + 0.5), 0.0, 255.0)); }
}  // namespace

std::uint32_t pack_srgb(Rgb c) {
    return (static_cast<std::uint32_t>(to_byte(linear_to_srgb(c.r))) << 16) | (static_cast<std::uint32_t>(to_byte(linear_to_srgb(c.g))) << 8) |
           static_cast<std::uint32_t>(to_byte(linear_to_srgb(c.b)));
}

kolvane::Image to_image(const FloatImage& f, double exposure, bool dither) {
    kolvane::Image out(f.width, f.height);
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            const Rgb c = f.at(x, y) * exposure;
            const double d = dither ? ((hash_u32(static_cast<std::uint32_t>(x * 7919 + y * 104729 + 17)) & 0xFFFF) / 65535.0 - 0.5) / 255.0 : 0.0;
            const int r = to_byte(linear_to_srgb(shoulder(c.r)) + d);
            const int g = to_byte(linear_to_srgb(shoulder(c.g)) + d);
            const int b = to_byte(linear_to_srgb(shoulder(c.b)) + d);
            out.at(x, y) = (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
        }
    }
    return out;
}

bool write_file(const std::string& path, const std::vector<std::uint8_t>& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

void make_dirs(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
}

}  // namespace assetgen
