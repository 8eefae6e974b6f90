// The ten background scenes. Each is computed per pixel in linear light from our own noise and
// lighting: star layers with a natural spread of brightness and colour, soft glows, fractal-noise
// clouds, shaded spheres lit from the upper left (the sprites' light). All positions are in
// design units of a 640 × 480 picture, so any output size shows the same scene; a picture shown
// cropped instead of stretched moves the few bodies that lie near its edges towards the middle.
#include <algorithm>
#include <functional>

#include "assets.h"

namespace assetgen {
namespace {

struct Ctx {
    int W, H;
    double ax;  // how much wider than tall one design unit looks on the display
    double sc;  // pixels per design unit, vertically
    bool cropped;  // shown at its own shape, cropped to the screen's: subjects keep to the middle
    FloatImage img;
    std::vector<Subject> subjects;

    Ctx(int w, int h, bool stretched) : W(w), H(h), cropped(!stretched), img(w, h) {
        sc = h / 480.0;
        const double natural = (w / 640.0) / (h / 480.0);
        // A 4:3 picture shown stretched to a wide screen: draw for a display between 16:10 and 16:9
        // (1.25 times wider than 4:3), so planets look round where the saver is mostly seen.
        ax = stretched ? natural * 1.25 : natural;
    }
    double u_of(int x) const { return (x + 0.5) * 640.0 / W; }
    double v_of(int y) const { return (y + 0.5) * 480.0 / H; }
    double px(double u) const { return u * W / 640.0; }
    double py(double v) const { return v * H / 480.0; }

    // Calls f(u, v, iso_u) for every pixel and adds its result.
    template <class F>
    void add(F&& f) {
        for (int y = 0; y < H; ++y) {
            const double v = v_of(y);
            for (int x = 0; x < W; ++x) {
                const double u = u_of(x);
                img.at(x, y) += f(u, v, u * ax);
            }
        }
    }
    template <class F>
    void modify(F&& f) {
        for (int y = 0; y < H; ++y) {
            const double v = v_of(y);
            for (int x = 0; x < W; ++x) {
                const double u = u_of(x);
                Rgb& c = img.at(x, y);
                c = f(u, v, u * ax, c);
            }
        }
    }
    // A round glow at design position (u, v) with sigma in design units.
    void glow(double u, double v, double sigma, Rgb peak) { img.add_gaussian(px(u), py(v), std::max(0.45, sigma * sc), peak, 1.0 / ax); }
    // Records a subject: a round one at (iu, v) of radius r, or the box reaching rx and ry from it
    // (all in round units: iu is u * ax).
    void subject(const char* what, double iu, double v, double rx, double ry) {
        subjects.push_back({what, px((iu - rx) / ax), py(v - ry), px((iu + rx) / ax), py(v + ry)});
    }
    void subject(const char* what, double iu, double v, double r) { subject(what, iu, v, r, r); }
};

// Light from the upper left and in front, in a frame with y up and z to the viewer.
Vec3 sun_dir() { return normalize(Vec3{-0.62, 0.5, 0.6}); }

// ---- stars -------------------------------------------------------------------------------------

struct StarOptions {
    int count = 1500;             // per 640 × 480 picture
    double brightness = 1.0;
    double faintest = 9.0;        // magnitudes below the brightest
    double blue_share = 0.35;
    int spiked = 3;               // this many of the brightest get soft diffraction spikes
    std::function<double(double, double)> density;  // relative density at (u, v), 0 to 1
};

void add_stars(Ctx& c, std::uint64_t seed, const StarOptions& o) {
    Rng rng(seed);
    const Noise clump(seed ^ 0x5151);
    struct Star {
        double u, v, b;
        Rgb col;
    };
    std::vector<Star> stars;
    int placed = 0, tries = 0;
    while (placed < o.count && tries < o.count * 40) {
        ++tries;
        const double u = rng.uniform() * 640, v = rng.uniform() * 480;
        double d = 0.55 + 0.45 * clamp01(0.5 + clump.fbm(u * c.ax / 90, v / 90, 3));
        if (o.density) d *= o.density(u, v);
        const double m = std::log10(1 + rng.uniform() * (std::pow(10.0, 0.33 * o.faintest) - 1)) / 0.33;
        const double t = rng.uniform();
        if (rng.uniform() > d) continue;
        const double temp = rng.uniform() < o.blue_share ? 0.62 + 0.38 * t : 0.1 + 0.6 * t;
        stars.push_back({u, v, std::pow(10.0, -0.4 * m), star_colour(temp)});
        ++placed;
    }
    std::sort(stars.begin(), stars.end(), [](const Star& a, const Star& b) { return a.b > b.b; });
    for (std::size_t i = 0; i < stars.size(); ++i) {
        const Star& s = stars[i];
        const double b = s.b * o.brightness;
        const double sigma = 0.42 + 0.55 * std::sqrt(std::min(1.0, s.b));
        c.glow(s.u, s.v, sigma, s.col * (b * 2.6 / (sigma * sigma)));
        if (s.b > 0.06) c.glow(s.u, s.v, 2.6 + 5 * s.b, s.col * (b * 0.06));
        if (static_cast<int>(i) < o.spiked) {
            // Soft four-point spikes.
            const double len = 10 + 22 * std::sqrt(s.b);
            for (int k = -60; k <= 60; ++k) {
                const double t = k / 60.0;
                const double w = std::pow(1 - std::fabs(t), 3) * b * 0.28;
                c.glow(s.u + t * len / c.ax, s.v, 0.45, s.col * w);
                c.glow(s.u, s.v + t * len, 0.45, s.col * w);
            }
        }
    }
}

// ---- shaded spheres --------------------------------------------------------------------------

// Where (iu, v) lies on a sphere of radius r centred at (cu_iso, cv): the unit normal (y up).
bool sphere_normal(double iu, double v, double cu_iso, double cv, double r, Vec3& n) {
    const double x = (iu - cu_iso) / r, y = -(v - cv) / r;
    const double q = x * x + y * y;
    if (q >= 1) return false;
    n = {x, y, std::sqrt(1 - q)};
    return true;
}

// Coverage of a sphere's edge for anti-aliasing: 1 inside, 0 outside, soft over about a pixel.
double disc_coverage(const Ctx& c, double iu, double v, double cu_iso, double cv, double r) {
    const double d = std::sqrt((iu - cu_iso) * (iu - cu_iso) + (v - cv) * (v - cv)) - r;
    return clamp01(0.5 - d * c.sc);
}

Rgb space_base(double v, Rgb top, Rgb bottom) { return mix(top, bottom, v / 480.0); }

// ---- 0: emission nebula with dark dust lanes ----------------------------------------------------

void scene_emission(Ctx& c) {
    const Noise n(101), w(102), d(103);
    c.add([&](double u, double v, double iu) {
        const double x = iu / 210, y = v / 210;
        const double wx = x + 0.55 * w.fbm(x * 1.3, y * 1.3, 4), wy = y + 0.55 * w.fbm(x * 1.3 + 5.2, y * 1.3 + 1.7, 4);
        const double dx = (u - 350) / 300, dy = (v - 230) / 230;
        const double shape = std::exp(-(dx * dx + dy * dy) * 1.6);
        const double cloud = clamp01(0.55 + n.fbm(wx * 2.2, wy * 2.2, 6, 0.55));
        const double dens = std::pow(cloud, 2.2) * shape;
        const double core = std::exp(-((u - 372) * (u - 372) + (v - 214) * (v - 214)) / (2 * 75.0 * 75.0));
        Rgb col = mix(srgb(230, 40, 100), srgb(250, 96, 70), clamp01(n.fbm(wx * 4, wy * 4, 3) + 0.4)) * (dens * 0.5);
        col += srgb(255, 186, 120) * (dens * core * 0.45) + srgb(60, 190, 200) * (dens * core * core * 0.25);
        col = col * (1 - 0.35 * core);
        col += srgb(120, 30, 90) * (shape * 0.05);
        // Dust: dark filaments and lanes.
        const double lane = d.ridged(wx * 1.6 + 3, wy * 1.6, 5, 0.55);
        const double tau = 3.2 * smoothstep(0.45, 0.9, lane) * smoothstep(-0.2, 0.4, d.fbm(x * 1.1, y * 1.1, 3) + 0.1);
        const double trans = std::exp(-tau);
        col = col * trans + srgb(60, 26, 16) * (0.03 * (1 - trans) * shape);
        return col + space_base(v, srgb(6, 4, 14), srgb(10, 4, 12));
    });
    StarOptions o;
    o.count = 1700;
    o.brightness = 0.9;
    o.spiked = 2;
    add_stars(c, 1001, o);
    c.subject("the glowing core of the nebula and its young stars", 372 * c.ax, 214, 75);
    // The young stars that light the cloud.
    const double cluster[5][3] = {{372, 214, 1.0}, {352, 232, 0.5}, {394, 198, 0.45}, {381, 240, 0.3}, {360, 204, 0.25}};
    for (const auto& s : cluster) {
        c.glow(s[0], s[1], 1.1, srgb(230, 240, 255) * (2.2 * s[2]));
        c.glow(s[0], s[1], 9, srgb(160, 200, 255) * (0.05 * s[2]));
    }
}

// ---- 1: face-on spiral galaxy ---------------------------------------------------------------

void scene_spiral(Ctx& c) {
    const Noise n(201), k(202);
    const double cu = 330 * c.ax, cv = 236;
    const double tilt = 0.78, rot = -0.5;
    // The disc's radius: a little smaller when cropped, so its tilted ellipse fits the widest screen's crop.
    const double edge = c.cropped ? 200 : 215;
    c.add([&](double, double v, double iu) {
        const double x0 = iu - cu, y0 = v - cv;
        const double xr = x0 * std::cos(rot) - y0 * std::sin(rot), yr = (x0 * std::sin(rot) + y0 * std::cos(rot)) / tilt;
        const double r = std::sqrt(xr * xr + yr * yr) / edge;  // 1 at the visible edge of the disc
        const double th = std::atan2(yr, xr);
        const double pitch = 0.32;
        const double phase = th - std::log(std::max(r, 0.02)) / pitch;
        const double wob = 0.35 * n.fbm(xr / 60, yr / 60, 4);
        const double wave = 0.5 + 0.5 * std::cos(2 * (phase + wob));
        const double arm = 0.4 * std::pow(wave, 1.5) + 0.9 * std::pow(wave, 7.0);
        const double disc = std::exp(-r / 0.36);
        const double bulge = std::exp(-std::pow(r / 0.09, 0.85));
        const double clump = std::pow(clamp01(0.6 + n.fbm(xr / 12, yr / 12, 5)), 1.6);
        Rgb col = srgb(120, 160, 255) * (arm * disc * clump * 0.85) + srgb(255, 214, 160) * (disc * 0.1) + srgb(255, 220, 170) * (bulge * 0.9);
        // Pink star-forming knots along the arms.
        const double knots = std::pow(clamp01(k.fbm(xr / 5, yr / 5, 3) * 1.8 - 0.3), 2.0) * arm * disc;
        col += srgb(255, 90, 150) * (knots * 2.2);
        const double young = std::pow(clamp01(k.fbm(xr / 3 + 5, yr / 3, 2) * 2.0 - 0.5), 3.0) * arm * disc;
        col += srgb(200, 220, 255) * (young * 2.0);
        // Dust on the inner edge of the arms.
        const double dust_arm = std::pow(0.5 + 0.5 * std::cos(2 * (phase + wob) - 0.7), 6.0);
        const double tau = 2.6 * dust_arm * std::exp(-r / 0.55) * clamp01(0.5 + n.fbm(xr / 20 + 7, yr / 20, 3)) * smoothstep(0.05, 0.2, r);
        col = col * std::exp(-tau);
        // Faint outer halo.
        col += srgb(90, 100, 150) * (0.03 * std::exp(-r / 0.7));
        return col + space_base(v, srgb(3, 4, 12), srgb(5, 4, 12));
    });
    StarOptions o;
    o.count = 1100;
    o.spiked = 3;
    add_stars(c, 2001, o);
    // A few distant galaxies.
    Rng rng(2002);
    for (int i = 0; i < 9; ++i) {
        const double u = rng.range(20, 620), v = rng.range(20, 460);
        if (std::hypot((u - 330) * c.ax, v - 236) < edge + 15) continue;
        c.glow(u, v, rng.range(1.0, 2.2), srgb(255, 220, 190) * rng.range(0.05, 0.12));
    }
    // The disc's edge is an ellipse turned by rot: its reach across and down.
    const double ct = std::cos(rot), st = std::sin(rot);
    c.subject("the galaxy's disc", cu, cv, edge * std::sqrt(ct * ct + st * st * tilt * tilt), edge * std::sqrt(st * st + ct * ct * tilt * tilt));
}

// ---- 2: ringed gas giant with moons -----------------------------------------------------

void scene_ringed(Ctx& c) {
    const Noise n(301), bands(302);
    const double R = 118, cu = 300 * c.ax, cv = 262;
    const Vec3 L = sun_dir();
    const Vec3 N = normalize(Vec3{0.18, 1.0, 0.3});  // ring plane normal, tipped towards the viewer
    const double r_in = 1.32, r_out = 2.3;
    auto ring_density = [&](double rr) {
        if (rr < r_in || rr > r_out) return 0.0;
        const double t = (rr - r_in) / (r_out - r_in);
        double d = 0.55 + 0.45 * bands.at(rr * 30, 0.5);
        d *= 0.7 + 0.3 * std::sin(rr * 95);
        if (t > 0.62 && t < 0.68) d *= 0.08;  // a gap
        d *= smoothstep(0.0, 0.06, t) * smoothstep(1.0, 0.9, t);
        if (t < 0.25) d *= 0.45;
        return clamp01(d);
    };
    auto ring_colour = [&](double rr) { return mix(srgb(236, 226, 206), srgb(176, 166, 156), clamp01((rr - r_in) / (r_out - r_in))); };
    auto planet_albedo = [&](Vec3 nn) {
        const double lat = nn.y;
        const double warp = 0.06 * n.fbm(nn.x * 4, nn.y * 9, nn.z * 4, 5);
        const double b = bands.at(0.3, (lat + warp) * 9.0);
        const double fine = n.fbm(nn.x * 10, (lat + warp) * 40, nn.z * 10, 3);
        Rgb col = mix(srgb(222, 186, 132), srgb(150, 96, 62), clamp01(0.5 + b * 1.3));
        col = mix(col, srgb(240, 230, 208), clamp01(0.3 + fine * 0.5) * 0.3);
        // A pale storm oval in the northern belts.
        const double sx = (nn.x + 0.12) / 0.13, sy = (nn.y - 0.24) / 0.055;
        const double storm = std::exp(-(sx * sx + sy * sy));
        col = mix(col, srgb(246, 232, 214), storm * 0.85);
        col = mix(col, srgb(170, 110, 80), std::exp(-std::pow(std::sqrt(sx * sx + sy * sy) - 1.3, 2) / 0.08) * 0.4);
        return col;
    };
    c.add([&](double, double v, double iu) {
        const double X = (iu - cu) / R, Y = -(v - cv) / R;
        Rgb col = space_base(v, srgb(3, 4, 10), srgb(6, 5, 12));
        // Ring point on this line of sight.
        const double zr = -(N.x * X + N.y * Y) / N.z;
        const Vec3 Q{X, Y, zr};
        const double rq = length(Q);
        const double dens = ring_density(rq);
        double planet_cov = 0;
        Vec3 P;
        const double q = X * X + Y * Y;
        if (q < 1.02) {
            const double edge = (std::sqrt(q) - 1) * R * c.sc;
            planet_cov = clamp01(0.5 - edge);
            P = {X, Y, std::sqrt(std::max(0.0, 1 - std::min(q, 1.0)))};
        }
        auto ring_at = [&]() {
            // Lit ring, dark where the planet shadows it.
            const double tca = dot(Q * -1.0, L);
            const double d2 = dot(Q, Q) - tca * tca;
            const bool shadow = tca > 0 && d2 < 1;
            const double light = shadow ? 0.03 : 0.25 + 0.75 * std::fabs(dot(N, L));
            return ring_colour(rq) * (light * 0.72);
        };
        if (planet_cov > 0) {
            const Vec3 nn = P;
            const double ndl = dot(nn, L);
            double lit = smoothstep(-0.08, 0.25, ndl) * (0.25 + 0.75 * clamp01(ndl));
            // Ring shadow on the planet.
            const double t = -dot(N, P) / dot(N, L);
            if (t > 0) lit *= 1 - 0.85 * ring_density(length(P + L * t));
            const double limb = std::pow(clamp01(nn.z), 0.35);
            Rgb pc = planet_albedo(nn) * (lit * limb * 0.62);
            pc += srgb(90, 110, 160) * (0.02 * std::pow(1 - nn.z, 2));  // faint haze at the limb
            col = mix(col, pc, planet_cov);
            // Ring in front of the planet.
            if (dens > 0 && zr > P.z) col = mix(col, ring_at(), dens * 0.9);
        } else if (dens > 0) {
            col = mix(col, ring_at(), dens * 0.9);
        }
        return col;
    });
    // Moons.
    auto moon = [&](double mu, double mv, double mr, Rgb albedo, std::uint64_t seed) {
        const Noise mn(seed);
        c.modify([&](double, double v, double iu, Rgb col) {
            Vec3 nn;
            const double cov = disc_coverage(c, iu, v, mu * c.ax, mv, mr);
            if (cov <= 0) return col;
            if (!sphere_normal(iu, v, mu * c.ax, mv, mr * 1.0001, nn)) nn = normalize(Vec3{(iu - mu * c.ax) / mr, -(v - mv) / mr, 0.01});
            const double ndl = dot(nn, L);
            const double tex = 0.75 + 0.35 * mn.fbm(nn.x * 3, nn.y * 3, nn.z * 3, 4);
            const Rgb mc = albedo * (smoothstep(-0.05, 0.3, ndl) * clamp01(ndl + 0.1) * tex * 0.7) + srgb(40, 50, 80) * 0.004;
            return mix(col, mc, cov);
        });
    };
    StarOptions o;
    o.count = 900;
    o.spiked = 1;
    o.density = [&](double u, double v) { return std::hypot((u * c.ax - cu) / R, (v - cv) / R) < 1.05 ? 0.0 : 1.0; };
    add_stars(c, 3001, o);
    // The rings reach r_out planet radii in their plane; a circle in a plane of unit normal n reaches
    // r * sqrt(1 - n.d^2) along a direction d.
    const double reach_x = R * r_out * std::sqrt(1 - N.x * N.x), reach_y = R * r_out * std::sqrt(1 - N.y * N.y);
    c.subject("the ringed planet", cu, cv, std::max(R, reach_x), std::max(R, reach_y));
    // Cropped, the moons near the edges come inwards.
    const double moons[3][3] = {{c.cropped ? 520.0 : 560.0, c.cropped ? 100.0 : 96.0, 17}, {c.cropped ? 112.0 : 92.0, c.cropped ? 380.0 : 392.0, 10},
                                {c.cropped ? 535.0 : 612.0, c.cropped ? 318.0 : 300.0, 5}};
    const Rgb albedo[3] = {srgb(200, 196, 188), srgb(220, 200, 170), srgb(190, 190, 200)};
    for (int i = 0; i < 3; ++i) {
        moon(moons[i][0], moons[i][1], moons[i][2], albedo[i], 303 + static_cast<std::uint64_t>(i));
        c.subject("a moon", moons[i][0] * c.ax, moons[i][1], moons[i][2]);
    }
}

// ---- 3: limb of a blue planet at orbital sunrise ------------------------------------------

void scene_sunrise(Ctx& c) {
    const Noise n(401), cl(402);
    const double R = 1500, cu = 300 * c.ax, cv = 215 + R;  // the limb crosses the middle at v = 215
    const double sun_u = 404 * c.ax;
    const double sun_v = cv - std::sqrt(R * R - (sun_u - cu) * (sun_u - cu)) - 2;
    c.add([&](double, double v, double iu) {
        const double dx = iu - cu, dy = v - cv;
        const double dist = std::sqrt(dx * dx + dy * dy);
        const double h = dist - R;  // height above the surface, design units
        const double along = (iu - sun_u);  // distance along the limb from the sunrise point
        const double near_sun = std::exp(-along * along / (2 * 120.0 * 120.0));
        const double mid = std::exp(-along * along / (2 * 420.0 * 420.0));
        Rgb col = space_base(v, srgb(2, 3, 10), srgb(3, 5, 14));
        if (h > 0) {
            // Atmosphere: layers from deep orange at the ground to blue, thin.
            const double blue = std::exp(-h / 6.0) * (0.18 + 0.8 * mid);
            const double warm = std::exp(-h / 2.4) * near_sun;
            col += srgb(60, 140, 255) * (blue * 0.55) + srgb(255, 150, 60) * (warm * 0.9) + srgb(90, 160, 255) * (0.03 * std::exp(-h / 40) * mid);
            // Sunlight glare above the limb.
            const double sd = std::hypot(iu - sun_u, v - sun_v);
            col += srgb(255, 230, 200) * (0.06 * std::exp(-sd / 60) + 0.02 * std::exp(-sd / 220));
        } else {
            // The night side, lit a little near the sunrise and fading to city lights.
            const double depth = -h;
            const double x = iu / 120, y = v / 40;
            const double cloud = clamp01(cl.fbm(x * 2, y * 2 + x * 0.5, 6) * 1.2 + 0.15);
            const double day = std::exp(-depth / 26.0) * near_sun + std::exp(-depth / 7.0) * mid * 0.3 + 0.012;
            Rgb surface = mix(srgb(16, 46, 98), srgb(200, 208, 220), cloud);
            col = surface * (day * 0.55);
            col += srgb(255, 140, 70) * (std::exp(-depth / 3.0) * near_sun * 0.6);  // red twilight band
            col += srgb(40, 110, 230) * (std::exp(-depth / 2.0) * (0.15 + 0.5 * mid) * 0.6);
            // City lights: small warm specks, far from the sunrise.
            const double city = n.at(iu * 0.9, v * 2.3) * 0.5 + n.at(iu * 0.21, v * 0.6);
            if (city > 0.55 && depth > 12) col += srgb(255, 190, 110) * ((city - 0.55) * 0.35 * (1 - near_sun) * std::exp(-depth / 240));
            col += srgb(8, 14, 30) * 0.15;
        }
        return col;
    });
    StarOptions o;
    o.count = 1100;
    o.brightness = 0.85;
    o.spiked = 1;
    o.density = [&](double u, double v) {
        const double h = std::hypot(u * c.ax - cu, v - cv) - R;
        return smoothstep(6, 30, h) * (1 - 0.85 * std::exp(-std::hypot(u * c.ax - sun_u, v - sun_v) / 120));
    };
    add_stars(c, 4001, o);
    // The sun at the limb: a hard core, a halo and a soft starburst.
    c.subject("the sun rising over the limb", sun_u, sun_v, 28);
    c.glow(sun_u / c.ax, sun_v, 3.0, srgb(255, 252, 240) * 6.0);
    c.glow(sun_u / c.ax, sun_v, 9.0, srgb(255, 220, 170) * 0.55);
    c.glow(sun_u / c.ax, sun_v, 28.0, srgb(255, 190, 130) * 0.12);
    for (int ray = 0; ray < 6; ++ray) {
        const double a = ray * pi / 6 + 0.26;
        for (int k = -80; k <= 80; ++k) {
            const double t = k / 80.0;
            const double len = 90;
            const double wgt = std::pow(1 - std::fabs(t), 4) * 0.25;
            c.glow(sun_u / c.ax + std::cos(a) * t * len / c.ax, sun_v + std::sin(a) * t * len, 0.9, srgb(255, 230, 200) * wgt);
        }
    }
}

// ---- 4: cratered moon surface with a planet rising ------------------------------------------

void scene_moonscape(Ctx& c) {
    const Noise n(501), hz(502), tex(503);
    const Vec3 Lp = normalize(Vec3{-0.85, 0.3, 0.42});  // the low sun of the ground, from the left
    // Horizon height as a function of u.
    auto horizon = [&](double u) { return 318 + 12 * hz.fbm(u / 160, 0.3, 5) + 8 * std::sin(u / 140 + 1.0); };
    // The planet behind the horizon.
    const double pu = 455 * c.ax, pv = 292, pr = 78;
    c.add([&](double u, double v, double iu) {
        Rgb col = space_base(v, srgb(2, 3, 9), srgb(4, 5, 12));
        Vec3 nn;
        const double cov = disc_coverage(c, iu, v, pu, pv, pr);
        if (cov > 0 && v < horizon(u) + 2) {
            if (!sphere_normal(iu, v, pu, pv, pr * 1.0001, nn)) nn = normalize(Vec3{(iu - pu) / pr, -(v - pv) / pr, 0.01});
            const double ndl = dot(nn, Lp);
            const Vec3 g = rot_z(0.3).apply(nn);
            const double wisp = n.fbm(g.x * 3 + 2 + 0.4 * tex.at(g.y * 9, g.z * 3), g.y * 9, g.z * 3, 6);
            const double cloud = std::pow(clamp01(wisp * 1.4 + 0.12), 1.5);
            const double landv = tex.fbm(g.x * 1.8, g.y * 1.8, g.z * 1.8, 6);
            const double land = smoothstep(0.22, 0.32, landv);
            Rgb surf = mix(srgb(10, 34, 92), mix(srgb(110, 96, 64), srgb(58, 80, 48), clamp01(0.5 + tex.at(g.x * 6, g.y * 6, g.z * 6))), land);
            surf = mix(surf, srgb(236, 240, 248), cloud);
            const double lit = smoothstep(-0.12, 0.2, ndl) * clamp01(ndl + 0.05);
            Rgb pc = surf * (lit * 0.62) + srgb(80, 140, 255) * (std::pow(1 - nn.z, 3) * 0.35 * smoothstep(-0.3, 0.3, ndl));
            col = mix(col, pc, cov);
        }
        // Thin atmosphere glow around the planet.
        const double d = std::hypot(iu - pu, v - pv) - pr;
        if (d > 0 && v < horizon(u)) {
            const Vec3 dir = normalize(Vec3{(iu - pu), -(v - pv), 0});
            col += srgb(80, 150, 255) * (0.12 * std::exp(-d / 3.5) * smoothstep(-0.6, 0.5, dot(dir, Lp)));
        }
        return col;
    });
    c.subject("the planet rising", pu, pv, pr);
    StarOptions o;
    o.count = 1000;
    o.spiked = 2;
    o.density = [&](double u, double v) { return (v < horizon(u) - 1 && std::hypot(u * c.ax - pu, v - pv) > pr + 2) ? 1.0 : 0.0; };
    add_stars(c, 5001, o);
    // The ground: a height field of rolling dust and round craters on a plane seen in perspective,
    // lit by a low sun from the left, with shadows cast along the light.
    struct Crater {
        double x, z, r, depth;
    };
    std::vector<Crater> craters;
    Rng rng(5002);
    for (int i = 0; i < 140; ++i) {
        const double z = 1.2 + 26 * std::pow(rng.uniform(), 1.6);
        const double big = rng.uniform();
        craters.push_back({rng.range(-1.25, 1.25) * z * 1.3, z, 0.04 + 0.5 * big * big * big + 0.02 * z, 0.3 + 0.1 * rng.uniform()});
    }
    craters.push_back({-0.55, 1.75, 0.55, 0.32});
    craters.push_back({0.9, 3.4, 0.42, 0.3});
    const double v_far = 321;  // the ground's vanishing line
    const double focal = 260;
    auto height = [&](double x, double z) {
        double h = 0.05 * n.fbm(x * 1.1, z * 1.1, 5) + 0.012 * tex.fbm(x * 9, z * 9, 3);
        for (const Crater& cr : craters) {
            const double dx = x - cr.x, dz = z - cr.z;
            const double q2 = (dx * dx + dz * dz) / (cr.r * cr.r);
            if (q2 > 4) continue;
            const double q = std::sqrt(q2);
            if (q < 1) h += cr.r * cr.depth * (q2 - 1) * 0.9;
            h += cr.r * cr.depth * 0.35 * std::exp(-(q - 1) * (q - 1) / 0.06);
        }
        return h;
    };
    const Vec3 Lg = normalize(Vec3{-0.85, 0.22, 0.25});  // ground frame: x right, y up, z away
    c.modify([&](double u, double v, double iu, Rgb col) {
        const double hzn = horizon(u);
        const double cov = clamp01((v - hzn) * c.sc + 0.5);
        if (cov <= 0) return col;
        // Far hills beyond the plane: a dim band just under the horizon line.
        const double dv = std::max(v - v_far, 0.6);
        const double z = focal / dv * 0.9;
        const double x = (iu - 320 * c.ax) / focal * z;
        const double e = 0.004 * z;
        const double h0 = height(x, z);
        const Vec3 nrm = normalize(Vec3{-(height(x + e, z) - h0) / e, 1, -(height(x, z + e) - h0) / e});
        double lit = std::max(0.0, dot(nrm, Lg));
        // Shadow march towards the sun.
        for (int k = 1; k <= 14 && lit > 0; ++k) {
            const double t = 0.02 * k * k * (0.5 + 0.05 * z);
            if (height(x + Lg.x * t, z + Lg.z * t) > h0 + Lg.y * t) {
                lit = 0;
                break;
            }
        }
        const double grain = 0.85 + 0.3 * tex.fbm(x * 14, z * 14, 3);
        const double far = smoothstep(30, 4, z);
        Rgb g = srgb(160, 156, 150) * ((lit * 1.6 + 0.02) * grain * 0.21 * (0.6 + 0.4 * far));
        g += srgb(30, 36, 56) * 0.012;  // faint earthshine
        if (v < v_far + 1) g = srgb(150, 146, 140) * 0.03;  // the far rim, in shadow
        return mix(col, g, cov);
    });
}

// ---- 5: blue reflection nebula around a young cluster -------------------------------------

void scene_reflection(Ctx& c) {
    const Noise n(601), w(602);
    struct S {
        double u, v, b;
    };
    const S cluster[] = {{300, 200, 1.0}, {348, 236, 0.8}, {268, 252, 0.55}, {332, 176, 0.5}, {382, 214, 0.45},
                         {290, 232, 0.3}, {410, 260, 0.25}, {246, 212, 0.22}, {360, 280, 0.2}};
    const double streak = -0.55;  // direction of the wisps
    c.add([&](double, double v, double iu) {
        double light = 0;
        for (const S& s : cluster) {
            const double d = std::hypot(iu - s.u * c.ax, v - s.v);
            light += s.b / (1 + std::pow(d / 55, 2.4));
        }
        // Wisps: noise stretched along one direction, warped.
        const double cs = std::cos(streak), sn = std::sin(streak);
        const double a = (iu * cs - v * sn) / 70, b = (iu * sn + v * cs) / 18;
        const double wa = a + 0.4 * w.fbm(a * 0.7, b * 0.25, 3);
        const double wisps = clamp01(0.5 + n.fbm(wa, b * 0.45, 6, 0.55));
        const double big = clamp01(0.55 + n.fbm(iu / 160, v / 160, 3));
        const double dens = std::pow(wisps, 2.0) * big;
        Rgb col = srgb(70, 120, 255) * (dens * light * 0.6) + srgb(40, 70, 160) * (big * dens * 0.02);
        // A little warm dust far from the stars.
        col += srgb(90, 50, 40) * (0.02 * std::pow(clamp01(n.fbm(iu / 90 + 3, v / 90, 4) + 0.2), 2) * (1 - clamp01(light)));
        return col + space_base(v, srgb(2, 4, 14), srgb(4, 4, 12));
    });
    StarOptions o;
    o.count = 1500;
    o.spiked = 0;
    o.blue_share = 0.5;
    add_stars(c, 6001, o);
    double u0 = 1e9, u1 = -1e9, v0 = 1e9, v1 = -1e9;
    for (const S& s : cluster) {
        u0 = std::min(u0, s.u);
        u1 = std::max(u1, s.u);
        v0 = std::min(v0, s.v);
        v1 = std::max(v1, s.v);
    }
    c.subject("the young cluster", (u0 + u1) / 2 * c.ax, (v0 + v1) / 2, (u1 - u0) / 2 * c.ax + 10, (v1 - v0) / 2 + 10);
    for (const S& s : cluster) {
        c.glow(s.u, s.v, 1.2, srgb(225, 236, 255) * (3.0 * s.b));
        c.glow(s.u, s.v, 5, srgb(150, 190, 255) * (0.14 * s.b));
        const double len = 26 + 34 * s.b;
        for (int k = -60; k <= 60; ++k) {
            const double t = k / 60.0;
            const double wgt = std::pow(1 - std::fabs(t), 3) * 0.4 * s.b;
            c.glow(s.u + t * len / c.ax, s.v, 0.5, srgb(200, 220, 255) * wgt);
            c.glow(s.u, s.v + t * len, 0.5, srgb(200, 220, 255) * wgt);
        }
    }
}

// ---- 6: dense star band of our galaxy ---------------------------------------------------

void scene_milky_way(Ctx& c) {
    const Noise n(701), d(702);
    // The band runs from the lower left to the upper right.
    const double ang = -0.52, cu = 320, cv = 250;
    auto across = [&](double u, double v) { return (-(u - cu) * c.ax * std::sin(ang) + (v - cv) * std::cos(ang)); };
    auto along = [&](double u, double v) { return ((u - cu) * c.ax * std::cos(ang) + (v - cv) * std::sin(ang)); };
    c.add([&](double u, double v, double) {
        const double a = along(u, v), x = across(u, v);
        const double wob = 18 * n.fbm(a / 200, 0.5, 3);
        const double xb = x - wob;
        const double band = std::exp(-xb * xb / (2 * 70.0 * 70.0));
        const double core = std::exp(-xb * xb / (2 * 32.0 * 32.0)) * (0.6 + 0.4 * std::exp(-(a + 80) * (a + 80) / (2 * 260.0 * 260.0)));
        const double mottle = clamp01(0.6 + n.fbm(a / 40, xb / 30, 6, 0.6));
        Rgb col = srgb(150, 160, 200) * (band * mottle * 0.12) + srgb(255, 220, 170) * (core * mottle * 0.2);
        // Dark rift along the band and dust clouds.
        const double rift = std::exp(-(xb - 8 - 10 * d.fbm(a / 80, 1.3, 3)) * (xb - 8 - 10 * d.fbm(a / 80, 1.3, 3)) / (2 * 9.0 * 9.0));
        const double clouds = smoothstep(0.1, 0.6, d.fbm(a / 60, xb / 35, 5) + 0.2 * rift);
        const double tau = 2.2 * (rift * clamp01(0.4 + d.fbm(a / 30, xb / 10, 4)) + clouds * band * 0.9);
        col = col * std::exp(-tau);
        // A few glowing pink clouds in the band.
        const double pink = std::pow(clamp01(n.fbm(a / 25 + 9, xb / 25, 4) * 1.5 - 0.5), 2) * band;
        col += srgb(255, 80, 120) * (pink * 0.25 * std::exp(-tau * 0.5));
        return col + space_base(v, srgb(3, 3, 10), srgb(5, 4, 12));
    });
    StarOptions faint;
    faint.count = 9000;
    faint.brightness = 0.5;
    faint.faintest = 7;
    faint.spiked = 0;
    faint.density = [&](double u, double v) {
        const double x = across(u, v);
        const double a = along(u, v);
        const double rift = std::exp(-(x - 8) * (x - 8) / (2 * 12.0 * 12.0)) * clamp01(0.4 + d.fbm(a / 30, x / 10, 4));
        return (0.12 + 0.88 * std::exp(-x * x / (2 * 80.0 * 80.0))) * (1 - 0.8 * rift);
    };
    add_stars(c, 7001, faint);
    StarOptions bright;
    bright.count = 900;
    bright.spiked = 4;
    add_stars(c, 7002, bright);
    c.subject("the bright middle of the band", cu * c.ax, cv, 110);
}

// ---- 7: red planet with two small moons ---------------------------------------------------

void scene_red_planet(Ctx& c) {
    const Noise n(801), m(802);
    const double R = 150, cu = 262 * c.ax, cv = 258;
    const Vec3 L = sun_dir();
    StarOptions o;
    o.count = 1300;
    o.spiked = 2;
    o.density = [&](double u, double v) { return std::hypot(u * c.ax - cu, v - cv) < R + 6 ? 0.0 : 1.0; };
    c.add([&](double, double v, double) { return space_base(v, srgb(3, 3, 10), srgb(6, 4, 10)); });
    add_stars(c, 8001, o);
    c.modify([&](double, double v, double iu, Rgb col) {
        const double d = std::hypot(iu - cu, v - cv);
        // Thin dusty atmosphere.
        if (d > R) {
            const Vec3 dir = normalize(Vec3{iu - cu, -(v - cv), 0});
            col += srgb(255, 140, 100) * (0.1 * std::exp(-(d - R) / 3.0) * smoothstep(-0.5, 0.6, dot(dir, L)));
        }
        const double cov = disc_coverage(c, iu, v, cu, cv, R);
        if (cov <= 0) return col;
        Vec3 nn;
        if (!sphere_normal(iu, v, cu, cv, R * 1.0001, nn)) nn = normalize(Vec3{(iu - cu) / R, -(v - cv) / R, 0.01});
        // Turn the globe so the features sit on it, not on the picture.
        const Vec3 g = rot_x(0.35).apply(nn);
        const double dark = smoothstep(0.0, 0.35, n.fbm(g.x * 2.2, g.y * 2.2, g.z * 2.2, 6) + 0.1);
        const double fine = n.fbm(g.x * 9, g.y * 9, g.z * 9, 4);
        Rgb albedo = mix(srgb(214, 110, 62), srgb(112, 58, 40), dark) * (0.9 + 0.15 * fine);
        // A canyon scar and the polar cap.
        const double scar = std::exp(-std::pow((g.y + 0.08 + 0.05 * m.at(g.x * 3, g.z * 3)) / 0.025, 2)) * smoothstep(0.3, -0.2, g.x) * smoothstep(-0.9, -0.4, g.x);
        albedo = albedo * (1 - 0.45 * scar);
        const double cap = smoothstep(0.86, 0.9, g.y + 0.04 * m.at(g.x * 6, g.z * 6));
        albedo = mix(albedo, srgb(240, 236, 230), cap);
        const double ndl = dot(nn, L);
        const double lit = smoothstep(-0.08, 0.3, ndl) * clamp01(ndl + 0.08);
        Rgb pc = albedo * (lit * 0.62) + srgb(255, 150, 110) * (std::pow(1 - nn.z, 4) * 0.22 * smoothstep(-0.2, 0.5, ndl));
        return mix(col, pc, cov);
    });
    // Two small, lumpy moons.
    auto moonlet = [&](double mu, double mv, double mr, double stretch, double tilt, std::uint64_t seed) {
        const Noise mn(seed);
        c.modify([&](double, double v, double iu, Rgb col) {
            const double x0 = (iu - mu * c.ax) / mr, y0 = -(v - mv) / mr;
            const double x = (x0 * std::cos(tilt) - y0 * std::sin(tilt)) / stretch, y = x0 * std::sin(tilt) + y0 * std::cos(tilt);
            const double ang = std::atan2(y, x);
            const double rad = 1 + 0.12 * mn.fbm(std::cos(ang) * 1.5, std::sin(ang) * 1.5, 3);
            const double q = std::sqrt(x * x + y * y);
            const double cov = clamp01((rad - q) * mr * c.sc + 0.5);
            if (cov <= 0) return col;
            const double qq = std::min(q / rad, 0.999);
            Vec3 nn = normalize(Vec3{x0 / rad, y0 / rad, std::sqrt(1 - qq * qq)});
            const double e = 0.05;
            const double h0 = mn.fbm(x0 * 3, y0 * 3, 4);
            nn = normalize(nn - Vec3{(mn.fbm(x0 * 3 + e, y0 * 3, 4) - h0) / e, (mn.fbm(x0 * 3, y0 * 3 + e, 4) - h0) / e, 0} * 0.12);
            const double ndl = dot(nn, L);
            const Rgb mc = srgb(150, 128, 110) * (smoothstep(-0.05, 0.3, ndl) * clamp01(ndl + 0.05) * 0.55 * (0.85 + 0.2 * h0));
            return mix(col, mc, cov);
        });
    };
    c.subject("the red planet", cu, cv, R + 4);
    // Cropped, the small moon near the right edge comes inwards.
    const double small_u = c.cropped ? 530 : 566, small_v = c.cropped ? 352 : 330;
    moonlet(508, 128, 16, 1.35, 0.4, 803);
    moonlet(small_u, small_v, 8, 1.2, -0.7, 804);
    // A moonlet's edge reaches 1.12 times its radius, times its stretch.
    c.subject("a moon", 508 * c.ax, 128, 16 * 1.35 * 1.12);
    c.subject("a moon", small_u * c.ax, small_v, 8 * 1.2 * 1.12);
}

// ---- 8: eclipse with its corona ---------------------------------------------------------

void scene_eclipse(Ctx& c) {
    const Noise n(901), s(902);
    const double cu = 318 * c.ax, cv = 228, R = 62;
    c.add([&](double, double v, double iu) {
        const double dx = iu - cu, dy = v - cv;
        const double d = std::sqrt(dx * dx + dy * dy);
        const double rr = d / R;
        const double th = std::atan2(dy, dx);
        Rgb col = space_base(v, srgb(2, 3, 10), srgb(4, 5, 14));
        if (rr > 0.98) {
            // The corona: a bright inner glow and long streamers whose strength varies with angle.
            const double a1 = s.fbm(std::cos(th) * 1.6 + 4, std::sin(th) * 1.6, 4);
            const double streamer = std::pow(clamp01(0.55 + a1), 3.0);
            const double rays = 0.7 + 0.3 * s.at(std::cos(th) * 30 + rr * 0.6, std::sin(th) * 30);
            const double x = rr - 1;
            const double inner = 0.55 * std::pow(rr, -6.0);
            const double outer = streamer * rays * 0.5 * std::pow(rr, -2.2) * std::exp(-x / (0.8 + 2.5 * streamer));
            const double corona = inner + outer + 0.05 * std::pow(rr, -2.5);
            col += mix(srgb(255, 244, 228), srgb(190, 205, 255), clamp01(x / 2.0)) * corona;
            col += srgb(255, 250, 240) * (0.9 * std::exp(-x * 50));
        }
        // The moon: black with the faintest earthshine.
        const double cov = clamp01((R - d) * c.sc + 0.5);
        const Rgb moon = srgb(14, 16, 22) * (0.06 + 0.04 * n.fbm(dx / 20, dy / 20, 4));
        return mix(col, moon, cov);
    });
    // Prominences: small pink arcs on the limb.
    Rng rng(903);
    for (int i = 0; i < 6; ++i) {
        const double th = rng.range(0, 2 * pi);
        const double len = rng.range(2.0, 5.5);
        const double lean = rng.range(-0.5, 0.5);
        for (int k = 0; k <= 40; ++k) {
            const double t = k / 40.0;
            const double a = th + (t - 0.5) * 0.012 * len * 4 + lean * 0.01 * std::sin(pi * t);
            const double h = R + 0.5 + len * std::sin(pi * t) * 0.9;
            c.glow((cu + std::cos(a) * h) / c.ax, cv + std::sin(a) * h, 0.7, srgb(255, 70, 120) * 0.3);
        }
    }
    // A bead of sunlight on the upper left limb, where the light comes from.
    const double ba = pi + 0.68;
    c.glow((cu + std::cos(ba) * (R + 1.6)) / c.ax, cv + std::sin(ba) * (R + 1.6), 1.4, srgb(255, 252, 245) * 4.0);
    c.glow((cu + std::cos(ba) * (R + 3)) / c.ax, cv + std::sin(ba) * (R + 3), 7.0, srgb(255, 240, 220) * 0.3);
    StarOptions o;
    o.count = 700;
    o.brightness = 0.9;
    o.spiked = 1;
    o.density = [&](double u, double v) { return smoothstep(R * 2.0, R * 4.5, std::hypot(u * c.ax - cu, v - cv)); };
    add_stars(c, 9001, o);
    c.glow(120, 380, 1.3, srgb(255, 236, 200) * 1.8);  // a bright planet near the sun
    c.subject("the eclipsed sun and its inner corona", cu, cv, 2 * R);
    c.subject("the bright planet", 120 * c.ax, 380, 4);
}

// ---- 9: comet over a deep field -----------------------------------------------------------

void scene_comet(Ctx& c) {
    const Noise n(1001), t(1002);
    const double hu = 170 * c.ax, hv = 150;         // head
    const Vec3 away = normalize(Vec3{0.82, 0.57, 0});  // tail direction (down and right: away from the light)
    c.add([&](double, double v, double iu) {
        const double dx = iu - hu, dy = v - hv;
        const double a = dx * away.x + dy * away.y;    // along the tail
        const double x = -dx * away.y + dy * away.x;   // across
        Rgb col = space_base(v, srgb(2, 3, 10), srgb(4, 4, 12));
        if (a > -40) {
            const double al = std::max(a, 0.0);
            // Ion tail: straight, narrow, blue, with streamers.
            const double w_ion = 3 + al * 0.07;
            const double streams = clamp01(0.55 + 0.6 * t.fbm(x / (w_ion * 0.5), al / 160, 4));
            const double ion = std::exp(-x * x / (2 * w_ion * w_ion)) * std::exp(-al / 330) * streams * smoothstep(-10, 20, a);
            col += srgb(90, 150, 255) * (ion * 0.38);
            // Dust tail: broad, curving to one side, pale yellow.
            const double bend = 0.0009 * al * al;
            const double xd = x + bend;
            const double w_dust = 4 + al * 0.2;
            const double dust = std::exp(-xd * xd / (2 * w_dust * w_dust)) * std::exp(-al / 210) * (0.8 + 0.2 * t.fbm(xd / 30, al / 60, 3)) * smoothstep(-20, 30, a);
            col += srgb(255, 236, 200) * (dust * 0.22);
        }
        // Coma.
        const double r = std::sqrt(dx * dx + dy * dy);
        col += srgb(150, 255, 210) * (0.5 * std::exp(-r / 9)) + srgb(120, 200, 190) * (0.06 * std::exp(-r / 40));
        return col;
    });
    c.glow(hu / c.ax, hv, 1.4, srgb(255, 255, 240) * 3.0);
    c.subject("the comet's head", hu, hv, 40);
    // The deep field: many faint, small galaxies of all shapes and colours.
    Rng rng(1003);
    for (int i = 0; i < 260; ++i) {
        const double u = rng.range(0, 640), v = rng.range(0, 480);
        const double size = 0.6 + 3.2 * std::pow(rng.uniform(), 3);
        const double e = rng.range(0.3, 1.0), ang = rng.range(0, pi);
        const double b = rng.range(0.02, 0.09) * (1 + size * 0.3);
        const Rgb col = rng.uniform() < 0.4 ? srgb(255, 210, 160) : (rng.uniform() < 0.5 ? srgb(200, 210, 255) : srgb(255, 190, 190));
        const double ca = std::cos(ang), sa = std::sin(ang);
        const double reach = size * 4;
        const int x0 = std::max(0, static_cast<int>(c.px(u - reach / c.ax))), x1 = std::min(c.W - 1, static_cast<int>(c.px(u + reach / c.ax)) + 1);
        const int y0 = std::max(0, static_cast<int>(c.py(v - reach))), y1 = std::min(c.H - 1, static_cast<int>(c.py(v + reach)) + 1);
        const bool spiral = size > 2.2 && rng.uniform() < 0.6;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double du = (c.u_of(x) - u) * c.ax, dv = c.v_of(y) - v;
                const double p = (du * ca + dv * sa) / size, q = (-du * sa + dv * ca) / (size * e);
                const double rr = std::sqrt(p * p + q * q);
                double val = std::exp(-rr * 1.6) + 0.8 * std::exp(-rr * rr * 4);
                if (spiral) val *= 0.7 + 0.5 * std::cos(2 * std::atan2(q, p) - rr * 2.5);
                c.img.at(x, y) += col * (b * val);
            }
        }
    }
    StarOptions o;
    o.count = 700;
    o.spiked = 2;
    add_stars(c, 1004, o);
    (void)n;
}

// ---- the title scene of the configuration window and the preview --------------------------

void scene_title(Ctx& c) {
    const Noise n(1101), w(1102);
    const double R = 900, cu = 330 * c.ax, cv = 372 + R;
    c.add([&](double u, double v, double iu) {
        Rgb col = space_base(v, srgb(4, 4, 16), srgb(6, 8, 22));
        // Violet and teal clouds across the upper half.
        const double x = iu / 170, y = v / 170;
        const double wx = x + 0.5 * w.fbm(x, y, 3), wy = y + 0.5 * w.fbm(x + 3.1, y + 1.2, 3);
        const double cloud = std::pow(clamp01(0.5 + n.fbm(wx * 2, wy * 2, 6, 0.55)), 2.2);
        const double band = std::exp(-std::pow((v - 150 + 0.2 * (u - 320)) / 130, 2));
        col += mix(srgb(120, 60, 200), srgb(40, 170, 200), clamp01(0.5 + n.fbm(wx * 3 + 5, wy * 3, 3))) * (cloud * band * 0.32);
        // A planet's night side along the bottom, with a bright rim of atmosphere.
        const double h = std::hypot(iu - cu, v - cv) - R;
        if (h < 0) {
            const double depth = -h;
            const double cl = clamp01(n.fbm(iu / 50, v / 14, 5) + 0.2);
            col = mix(srgb(6, 14, 30), srgb(30, 60, 90), cl) * (0.25 + 0.75 * std::exp(-depth / 14)) * 0.35;
            col += srgb(60, 200, 255) * (0.5 * std::exp(-depth / 1.6));
        } else {
            col += srgb(60, 180, 255) * (0.35 * std::exp(-h / 4.0) + 0.05 * std::exp(-h / 30));
        }
        return col;
    });
    StarOptions o;
    o.count = 1400;
    o.spiked = 3;
    o.density = [&](double u, double v) { return smoothstep(-2, 8, std::hypot(u * c.ax - cu, v - cv) - R); };
    add_stars(c, 1103, o);
    // A rising sun just over the limb at the right.
    const double su = 520 * c.ax;
    const double sv = cv - std::sqrt(R * R - (su - cu) * (su - cu)) - 3;
    c.glow(su / c.ax, sv, 3.0, srgb(255, 250, 235) * 4.0);
    c.glow(su / c.ax, sv, 14.0, srgb(140, 220, 255) * 0.3);
    c.glow(su / c.ax, sv, 50.0, srgb(80, 160, 255) * 0.06);
}

}  // namespace

const char* background_title(int index) {
    static const char* titles[background_count] = {
        "Emission nebula with dark dust lanes",
        "Face-on spiral galaxy",
        "Ringed gas giant with three moons",
        "Limb of a blue planet at orbital sunrise",
        "Cratered moon surface with a blue planet rising",
        "Blue reflection nebula around a young cluster",
        "Dense star band of our galaxy with its dark rift",
        "Red planet with two small moons",
        "Total eclipse with its corona",
        "Comet over a deep field of faint galaxies",
    };
    return index >= 0 && index < background_count ? titles[index] : "";
}

Subject crop_safe_area(int width, int height) {
    const double keep_w = std::min<double>(width, height * narrowest_screen), keep_h = std::min<double>(height, width / widest_screen);
    return {"the part every crop keeps", std::ceil((width - keep_w) / 2), std::ceil((height - keep_h) / 2), std::floor((width + keep_w) / 2),
            std::floor((height + keep_h) / 2)};
}

FloatImage render_background(int index, int width, int height, bool stretched, std::vector<Subject>* subjects) {
    Ctx c(width, height, stretched);
    switch (index) {
        case 0: scene_emission(c); break;
        case 1: scene_spiral(c); break;
        case 2: scene_ringed(c); break;
        case 3: scene_sunrise(c); break;
        case 4: scene_moonscape(c); break;
        case 5: scene_reflection(c); break;
        case 6: scene_milky_way(c); break;
        case 7: scene_red_planet(c); break;
        case 8: scene_eclipse(c); break;
        case 9: scene_comet(c); break;
        default: scene_title(c); break;
    }
    if (subjects) *subjects = std::move(c.subjects);
    return std::move(c.img);
}

}  // namespace assetgen
