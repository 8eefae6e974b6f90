#include "raytrace.h"

#include <algorithm>
#include <limits>

namespace assetgen {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double eps = 1e-7;

struct Hit {
    double t = inf;
    int prim = -1;
    Vec3 local;    // hit point in the primitive's frame
    Vec3 normal;   // model space
};

const Noise& bump_noise() {
    static const Noise n(0xF011);
    return n;
}

double bound_radius(const Prim& p) {
    switch (p.shape) {
        case Shape::ellipsoid: return std::max({p.size.x, p.size.y, p.size.z});
        case Shape::cylinder: return std::sqrt(p.size.x * p.size.x + p.size.z * p.size.z);
        case Shape::cone: {
            const double r = std::max(p.size.x, p.size.y);
            return std::sqrt(r * r + p.size.z * p.size.z);
        }
        case Shape::dish: return std::sqrt(p.size.x * p.size.x + p.size.y * p.size.y);
        case Shape::convex: return p.size.x;  // set by the builder: the largest vertex distance
    }
    return 0;
}

// Ray-primitive intersection in the primitive's frame. Returns t of the nearest hit beyond tmin.
bool intersect(const Prim& p, Vec3 ro_m, Vec3 rd_m, double tmin, Hit& hit) {
    const Vec3 ro = p.rot.apply(ro_m - p.pos);
    const Vec3 rd = p.rot.apply(rd_m);
    double t = inf;
    Vec3 n_local;
    switch (p.shape) {
        case Shape::ellipsoid: {
            const Vec3 s = p.size;
            const Vec3 o{ro.x / s.x, ro.y / s.y, ro.z / s.z}, d{rd.x / s.x, rd.y / s.y, rd.z / s.z};
            const double a = dot(d, d), b = dot(o, d), c = dot(o, o) - 1;
            const double disc = b * b - a * c;
            if (disc < 0) return false;
            const double sq = std::sqrt(disc);
            double t0 = (-b - sq) / a, t1 = (-b + sq) / a;
            if (t0 > tmin) t = t0;
            else if (t1 > tmin) t = t1;
            else return false;
            const Vec3 q = ro + rd * t;
            n_local = {q.x / (s.x * s.x), q.y / (s.y * s.y), q.z / (s.z * s.z)};
            break;
        }
        case Shape::cylinder:
        case Shape::cone: {
            const double h = p.size.z;
            double m = 0, c0 = p.size.x;
            if (p.shape == Shape::cone) {
                m = (p.size.y - p.size.x) / (2 * h);
                c0 = (p.size.x + p.size.y) / 2;
            }
            // Side: x^2 + y^2 = (m z + c0)^2
            const double k = m * ro.z + c0;
            const double a = rd.x * rd.x + rd.y * rd.y - m * m * rd.z * rd.z;
            const double b = ro.x * rd.x + ro.y * rd.y - m * rd.z * k;
            const double c = ro.x * ro.x + ro.y * ro.y - k * k;
            if (std::fabs(a) > 1e-12) {
                const double disc = b * b - a * c;
                if (disc >= 0) {
                    const double sq = std::sqrt(disc);
                    const double roots[2] = {(-b - sq) / a, (-b + sq) / a};
                    for (double r : {std::min(roots[0], roots[1]), std::max(roots[0], roots[1])}) {
                        if (r <= tmin || r >= t) continue;
                        const Vec3 q = ro + rd * r;
                        if (std::fabs(q.z) > h || m * q.z + c0 < 0) continue;
                        t = r;
                        n_local = {q.x, q.y, -m * (m * q.z + c0)};
                        break;
                    }
                }
            }
            // Caps.
            if (std::fabs(rd.z) > 1e-12) {
                for (double zc : {-h, h}) {
                    const double r = (zc - ro.z) / rd.z;
                    if (r <= tmin || r >= t) continue;
                    const Vec3 q = ro + rd * r;
                    const double rad = zc < 0 ? (p.shape == Shape::cone ? p.size.x : c0) : (p.shape == Shape::cone ? p.size.y : c0);
                    if (q.x * q.x + q.y * q.y <= rad * rad) {
                        t = r;
                        n_local = {0, 0, zc < 0 ? -1.0 : 1.0};
                    }
                }
            }
            if (t == inf) return false;
            break;
        }
        case Shape::convex: {
            double tnear = -inf, tfar = inf;
            Vec3 nn;
            for (const Plane& pl : p.planes) {
                const double denom = dot(pl.n, rd);
                const double dist = pl.d - dot(pl.n, ro);
                if (std::fabs(denom) < 1e-12) {
                    if (dist < 0) return false;
                    continue;
                }
                const double r = dist / denom;
                if (denom < 0) {
                    if (r > tnear) {
                        tnear = r;
                        nn = pl.n;
                    }
                } else if (r < tfar) {
                    tfar = r;
                }
                if (tnear > tfar) return false;
            }
            if (tnear <= tmin || tnear > tfar) return false;
            t = tnear;
            n_local = nn;
            break;
        }
        case Shape::dish: {
            // Spherical cap through the origin, centre of the sphere at (0, 0, R), rim radius a, depth dpt.
            const double a_rim = p.size.x, dpt = p.size.y;
            const double R = (a_rim * a_rim + dpt * dpt) / (2 * dpt);
            const Vec3 o = ro - Vec3{0, 0, R};
            const double b = dot(o, rd), c = dot(o, o) - R * R, a = dot(rd, rd);
            const double disc = b * b - a * c;
            if (disc < 0) return false;
            const double sq = std::sqrt(disc);
            for (double r : {(-b - sq) / a, (-b + sq) / a}) {
                if (r <= tmin) continue;
                const Vec3 q = ro + rd * r;
                if (q.z > dpt) continue;
                t = r;
                n_local = Vec3{0, 0, R} - q;  // inner side faces +z
                if (dot(n_local, rd) > 0) n_local = -n_local;
                break;
            }
            if (t == inf) return false;
            break;
        }
    }
    if (t >= hit.t) return false;
    hit.t = t;
    hit.local = ro + rd * t;
    hit.normal = normalize(p.rot.apply_t(n_local));
    return true;
}

struct Tracer {
    const Model& model;
    std::vector<double> bounds;
    Vec3 light_m;
    Vec3 fill_m;
    Vec3 view_m;  // towards the viewer, model space

    bool trace(Vec3 ro, Vec3 rd, Hit& hit, bool shadow_only) const {
        bool any = false;
        for (std::size_t i = 0; i < model.prims.size(); ++i) {
            const Prim& p = model.prims[i];
            if (shadow_only && !p.mat.casts_shadow) continue;
            // Bounding sphere rejection.
            const Vec3 oc = ro - p.pos;
            const double b = dot(oc, rd);
            const double c = dot(oc, oc) - bounds[i] * bounds[i];
            if (c > 0 && (b > 0 || b * b - c < 0)) continue;
            if (intersect(p, ro, rd, shadow_only ? 1e-4 : eps, hit)) {
                hit.prim = static_cast<int>(i);
                any = true;
                if (shadow_only) return true;
            }
        }
        return any;
    }

    Rgb shade(const Hit& hit, Vec3 ro, Vec3 rd) const {
        const Prim& p = model.prims[static_cast<std::size_t>(hit.prim)];
        const Material& m = p.mat;
        const Vec3 q = hit.local;
        if (m.texture == Texture::flame) {
            const double f = clamp01((q.z + p.size.z) / (2 * p.size.z));
            // Brighter where the view looks through more of the plume.
            const double edge = std::fabs(dot(hit.normal, view_m));
            return mix(m.emission2, m.emission, f) * (0.55 + 0.45 * edge);
        }
        if (m.texture == Texture::glow) return m.emission;
        Vec3 n = hit.normal;
        if (dot(n, view_m) < 0 && p.shape != Shape::dish) n = n;  // solid shapes: keep the outward normal
        Rgb albedo = m.albedo;
        double specular_weight = m.specular, shin = m.shininess;
        switch (m.texture) {
            case Texture::solar: {
                const double s = m.tex_scale;
                const double u = q.x / s, v = q.y / s;
                const double fu = u - std::floor(u), fv = v - std::floor(v);
                const bool line = fu < 0.09 || fv < 0.09;
                const bool face = std::fabs(p.rot.apply(n).z) > 0.5;
                if (!face) {
                    albedo = srgb(170, 170, 176);
                    specular_weight = 0.3;
                } else if (line) {
                    albedo = m.albedo2;
                    specular_weight = 0.35;
                    shin = 30;
                } else {
                    const std::uint32_t hsh = hash_u32(static_cast<std::uint32_t>(static_cast<int>(std::floor(u)) * 73856093) ^ static_cast<std::uint32_t>(static_cast<int>(std::floor(v)) * 19349663));
                    const double var = 0.85 + 0.3 * ((hsh & 255) / 255.0);
                    albedo = m.albedo * var;
                    specular_weight = 0.9;
                    shin = 60;
                }
                break;
            }
            case Texture::foil: {
                const Noise& nz = bump_noise();
                const double f = 1.0 / m.tex_scale;
                const Vec3 w = (p.pos + p.rot.apply_t(q)) * f;
                const double h = 0.02;
                const double n0 = nz.fbm(w.x, w.y, w.z, 3);
                const Vec3 g{(nz.fbm(w.x + h, w.y, w.z, 3) - n0) / h, (nz.fbm(w.x, w.y + h, w.z, 3) - n0) / h, (nz.fbm(w.x, w.y, w.z + h, 3) - n0) / h};
                n = normalize(n - g * m.bump);
                albedo = m.albedo * (0.85 + 0.3 * n0);
                break;
            }
            case Texture::tiles: {
                const double s = m.tex_scale;
                const Vec3 w = p.pos + p.rot.apply_t(q);
                const double a = w.x / s, b = w.y / s * 1.7, c = w.z / s;
                auto near_line = [](double v) { return std::fabs(v - std::floor(v + 0.5)) < 0.045; };
                if (near_line(a) || near_line(b) || near_line(c)) albedo = albedo * 0.8;
                const std::uint32_t hsh = hash_u32(static_cast<std::uint32_t>(static_cast<int>(std::floor(a)) * 73856093) ^ static_cast<std::uint32_t>(static_cast<int>(std::floor(b)) * 19349663) ^ static_cast<std::uint32_t>(static_cast<int>(std::floor(c)) * 83492791));
                albedo = albedo * (0.94 + 0.08 * ((hsh & 255) / 255.0));
                break;
            }
            case Texture::band: {
                const double v = (q.z + p.size.z) / m.tex_scale;
                if (static_cast<int>(std::floor(v)) % 2 != 0) albedo = m.albedo2;
                break;
            }
            default: break;
        }
        // Lighting.
        Vec3 ro_s = ro + rd * hit.t + n * 1e-4;
        Hit sh;
        const double ndl = dot(n, light_m);
        double key = 0;
        if (ndl > 0) {
            key = ndl;
            if (trace(ro_s, light_m, sh, true)) key *= 0.08;
        }
        const double fill = std::max(0.0, dot(n, fill_m));
        const double amb = 0.5 + 0.5 * n.y;  // sky from above, a little
        Rgb col = albedo * (srgb(255, 250, 240) * (key * 1.15) + srgb(90, 110, 150) * (fill * 0.28) + srgb(40, 46, 60) * (0.55 * amb + 0.25));
        if (key > 0) {
            const Vec3 hv = normalize(light_m + view_m);
            const double s = std::pow(std::max(0.0, dot(n, hv)), shin) * specular_weight * 1.4;
            col += Rgb{s, s, s * 0.97};
        }
        // A faint cool rim from behind, so dark sides keep their outline against black.
        const double rim = std::pow(1.0 - std::fabs(dot(n, view_m)), 3.0) * 0.12;
        col += srgb(110, 140, 200) * rim;
        if (m.reflect > 0) {
            const Vec3 r = n * (2 * dot(n, view_m)) - view_m;
            const double e = smoothstep(-0.4, 1.0, dot(r, light_m));
            col += albedo * (m.reflect * (0.12 + 1.3 * e * e));
        }
        return col + m.emission;
    }
};

}  // namespace

Mat3 frame_towards(Vec3 dir) {
    // Rows: a basis whose third row is dir, so apply() maps dir to +z.
    const Vec3 z = normalize(dir);
    const Vec3 up = std::fabs(z.y) < 0.9 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    const Vec3 x = normalize(cross(up, z));
    const Vec3 y = cross(z, x);
    Mat3 m;
    m.r0 = x;
    m.r1 = y;
    m.r2 = z;
    return m;
}

Prim& Model::ellipsoid(Vec3 c, Vec3 radii, const Material& m, const Mat3& rot) {
    Prim p;
    p.shape = Shape::ellipsoid;
    p.pos = c;
    p.size = radii;
    p.rot = rot;
    p.mat = m;
    prims.push_back(p);
    return prims.back();
}

Prim& Model::cylinder(Vec3 a, Vec3 b, double r, const Material& m) {
    Prim p;
    p.shape = Shape::cylinder;
    p.pos = (a + b) * 0.5;
    p.rot = frame_towards(b - a);
    p.size = {r, r, length(b - a) / 2};
    p.mat = m;
    prims.push_back(p);
    return prims.back();
}

Prim& Model::cone(Vec3 a, Vec3 b, double ra, double rb, const Material& m) {
    Prim p;
    p.shape = Shape::cone;
    p.pos = (a + b) * 0.5;
    p.rot = frame_towards(b - a);
    p.size = {ra, rb, length(b - a) / 2};
    p.mat = m;
    prims.push_back(p);
    return prims.back();
}

Prim& Model::box(Vec3 c, Vec3 half, const Material& m, const Mat3& rot) {
    return slab(c, {{-half.x, -half.y}, {half.x, -half.y}, {half.x, half.y}, {-half.x, half.y}}, half.z, m, rot);
}

Prim& Model::slab(Vec3 c, const std::vector<std::pair<double, double>>& poly, double ht, const Material& m, const Mat3& rot) {
    Prim p;
    p.shape = Shape::convex;
    p.pos = c;
    p.rot = rot;
    p.mat = m;
    double far = 0;
    const std::size_t n = poly.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto [x0, y0] = poly[i];
        const auto [x1, y1] = poly[(i + 1) % n];
        const Vec3 nn = normalize(Vec3{y1 - y0, -(x1 - x0), 0});
        p.planes.push_back({nn, dot(nn, Vec3{x0, y0, 0})});
        far = std::max(far, std::sqrt(x0 * x0 + y0 * y0 + ht * ht));
    }
    p.planes.push_back({{0, 0, 1}, ht});
    p.planes.push_back({{0, 0, -1}, ht});
    p.size = {far, 0, ht};
    prims.push_back(p);
    return prims.back();
}

Prim& Model::dish(Vec3 c, Vec3 axis, double rim, double depth, const Material& m) {
    Prim p;
    p.shape = Shape::dish;
    p.pos = c;
    p.rot = frame_towards(axis);
    p.size = {rim, depth, 0};
    p.mat = m;
    prims.push_back(p);
    return prims.back();
}

Vec3 light_direction() { return normalize(Vec3{-0.55, 0.62, 0.56}); }

Figure render_model(const Model& model, int width, int height, const RenderOptions& opt) {
    Tracer tr{model, {}, {}, {}, {}};
    for (const Prim& p : model.prims) tr.bounds.push_back(bound_radius(p) * 1.0001 + 1e-9);
    const Mat3& V = opt.view;
    tr.light_m = V.apply_t(light_direction());
    tr.fill_m = V.apply_t(normalize(Vec3{0.7, -0.5, 0.35}));
    tr.view_m = V.apply_t(Vec3{0, 0, 1});
    const Vec3 rd = V.apply_t(Vec3{0, 0, -1});

    // Conservative extent in view space.
    double x0 = inf, x1 = -inf, y0 = inf, y1 = -inf, zmax = -inf;
    for (std::size_t i = 0; i < model.prims.size(); ++i) {
        const Vec3 c = V.apply(model.prims[i].pos);
        const double r = tr.bounds[i];
        x0 = std::min(x0, c.x - r);
        x1 = std::max(x1, c.x + r);
        y0 = std::min(y0, c.y - r);
        y1 = std::max(y1, c.y + r);
        zmax = std::max(zmax, c.z + r);
    }
    const double z_start = zmax + 1;
    auto ray_origin = [&](double vx, double vy) { return V.apply_t(Vec3{vx, vy, z_start}); };

    // Probe pass: the exact extent of the figure.
    const int probe = 480;
    double fx0 = inf, fx1 = -inf, fy0 = inf, fy1 = -inf;
    for (int j = 0; j <= probe; ++j) {
        for (int i = 0; i <= probe; ++i) {
            const double vx = x0 + (x1 - x0) * i / probe, vy = y0 + (y1 - y0) * j / probe;
            Hit h;
            if (tr.trace(ray_origin(vx, vy), rd, h, false)) {
                fx0 = std::min(fx0, vx);
                fx1 = std::max(fx1, vx);
                fy0 = std::min(fy0, vy);
                fy1 = std::max(fy1, vy);
            }
        }
    }
    const double cell_x = (x1 - x0) / probe, cell_y = (y1 - y0) / probe;
    fx0 -= cell_x * 0.5;
    fx1 += cell_x * 0.5;
    fy0 -= cell_y * 0.5;
    fy1 += cell_y * 0.5;
    double sx = (width - 2 * opt.margin) / (fx1 - fx0);
    double sy = (height - 2 * opt.margin) / (fy1 - fy0);
    if (opt.keep_aspect) sx = sy = std::min(sx, sy);
    const double cx = (fx0 + fx1) / 2, cy = (fy0 + fy1) / 2;

    Figure fig;
    fig.width = width;
    fig.height = height;
    fig.colour.assign(static_cast<std::size_t>(width * height), Rgb{});
    fig.coverage.assign(static_cast<std::size_t>(width * height), 0.0);
    const int s = opt.samples;
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            Rgb acc;
            int hits = 0;
            for (int j = 0; j < s; ++j) {
                for (int i = 0; i < s; ++i) {
                    const double ux = px + (i + 0.5) / s, uy = py + (j + 0.5) / s;
                    const double vx = cx + (ux - width / 2.0) / sx;
                    const double vy = cy - (uy - height / 2.0) / sy;
                    const Vec3 ro = ray_origin(vx, vy);
                    Hit h;
                    if (tr.trace(ro, rd, h, false)) {
                        acc += tr.shade(h, ro, rd);
                        ++hits;
                    }
                }
            }
            const std::size_t k = static_cast<std::size_t>(py * width + px);
            if (hits > 0) fig.colour[k] = acc * (1.0 / hits);
            fig.coverage[k] = static_cast<double>(hits) / (s * s);
        }
    }
    return fig;
}

namespace materials {
Material white_paint() {
    Material m;
    m.albedo = srgb(232, 232, 228);
    m.specular = 0.25;
    m.shininess = 30;
    return m;
}
Material light_grey() {
    Material m;
    m.albedo = srgb(170, 172, 178);
    m.specular = 0.3;
    return m;
}
Material dark_metal() {
    Material m;
    m.albedo = srgb(70, 72, 80);
    m.specular = 0.4;
    m.shininess = 40;
    return m;
}
Material silver() {
    Material m;
    m.albedo = srgb(200, 204, 212);
    m.specular = 0.7;
    m.shininess = 50;
    return m;
}
Material gold_foil() {
    Material m;
    m.albedo = srgb(214, 160, 60);
    m.specular = 0.8;
    m.shininess = 40;
    m.texture = Texture::foil;
    m.tex_scale = 0.35;
    return m;
}
Material silver_foil() {
    Material m = gold_foil();
    m.albedo = srgb(196, 198, 206);
    return m;
}
Material solar_panel() {
    Material m;
    m.albedo = srgb(34, 58, 140);
    m.albedo2 = srgb(150, 156, 170);
    m.texture = Texture::solar;
    m.tex_scale = 1.0;
    return m;
}
Material black_tiles() {
    Material m;
    m.albedo = srgb(48, 50, 56);
    m.specular = 0.15;
    m.texture = Texture::tiles;
    m.tex_scale = 0.6;
    return m;
}
Material tiles_white() {
    Material m;
    m.albedo = srgb(236, 236, 232);
    m.specular = 0.2;
    m.texture = Texture::tiles;
    m.tex_scale = 1.2;
    return m;
}
Material orange_tank() {
    Material m;
    m.albedo = srgb(200, 104, 40);
    m.specular = 0.18;
    m.shininess = 14;
    m.texture = Texture::foil;
    m.tex_scale = 2.5;
    m.bump = 0.025;
    return m;
}
Material glass_gold() {
    Material m;
    m.albedo = srgb(176, 128, 44);
    m.specular = 1.4;
    m.shininess = 70;
    m.reflect = 0.9;
    return m;
}
Material light(Rgb colour) {
    Material m;
    m.texture = Texture::glow;
    m.emission = colour;
    m.casts_shadow = false;
    return m;
}
Material flame(Rgb hot, Rgb cool) {
    Material m;
    m.texture = Texture::flame;
    m.emission = hot;
    m.emission2 = cool;
    m.casts_shadow = false;
    return m;
}
}  // namespace materials

}  // namespace assetgen
