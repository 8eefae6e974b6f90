// The sprite sheet and its mask: every figure is modelled in 3-D, ray traced with the
// light from the upper left, and cut out by thresholding its coverage, so the mask is exact and
// the edges stay crisp; asteroids are noise-displaced spheres seen at 24 rotation angles.
#include <algorithm>
#include <cstdlib>

#include "assets.h"
#include "raytrace.h"

namespace assetgen {
namespace {

using namespace materials;

constexpr int sheet_w = 720, sheet_h = 606;

// Samples per pixel side at a scale: a larger sheet has smaller pixels, so fewer samples give the
// same smoothness of edge; two stay the least, so a cut through a pixel still finds its coverage.
int samples_at(int samples, int scale) { return std::max(2, (samples + scale - 1) / scale); }

const FrameRect single_frames[20] = {
    {0, 0, 0, 0},        {3, 2, 94, 82},     {103, 1, 89, 89},   {196, 2, 70, 59},   {272, 2, 89, 66},
    {367, 1, 80, 60},    {449, 1, 71, 28},   {521, 3, 21, 15},   {545, 4, 18, 15},   {570, 2, 17, 13},
    {3, 96, 96, 151},    {110, 97, 144, 60}, {110, 162, 144, 60}, {265, 81, 125, 144}, {401, 118, 59, 69},
    {469, 112, 30, 35},  {560, 60, 28, 166}, {592, 40, 128, 158}, {3, 262, 126, 167}, {170, 263, 126, 168},
};

// ---- models ------------------------------------------------------------------------------------

Material tinted(Material m, Rgb albedo) {
    m.albedo = albedo;
    return m;
}

// Solar wing: a panel of cells, centred at c, lying in the plane spanned by `along` and `across`.
void solar_wing(Model& m, Vec3 c, Vec3 along, Vec3 across, double length, double width, double cell) {
    const Vec3 n = normalize(cross(along, across));
    Mat3 rot;
    rot.r0 = normalize(along);
    rot.r1 = normalize(across);
    rot.r2 = n;
    Material mat = solar_panel();
    mat.tex_scale = cell;
    m.box(c, {length / 2, width / 2, 0.045}, mat, rot);
}

Model satellite_comsat() {
    Model m;
    m.box({0, 0, 0}, {1.0, 1.15, 1.0}, gold_foil());
    m.box({0, 1.22, 0}, {0.9, 0.08, 0.9}, white_paint());
    m.box({0, -1.22, 0}, {0.95, 0.07, 0.95}, light_grey());
    // Antennas on the front face.
    m.dish({0.15, 0.2, 1.05}, {0.15, 0.25, 1}, 0.8, 0.25, white_paint());
    m.cylinder({0.15, 0.2, 1.0}, {0.2, 0.3, 1.55}, 0.05, light_grey());
    m.cone({-0.6, 1.3, 0.4}, {-0.6, 1.9, 0.4}, 0.12, 0.3, silver());
    m.cylinder({0.5, 1.3, -0.4}, {0.5, 2.3, -0.4}, 0.035, light_grey());
    // Two wings on booms.
    for (int side : {-1, 1}) {
        const double s = side;
        m.cylinder({s * 1.0, 0.1, 0}, {s * 1.6, 0.1, 0}, 0.06, light_grey());
        solar_wing(m, {s * 3.3, 0.1, 0}, {1, 0, 0}, {0, 0.94, 0.34}, 3.4, 1.35, 0.34);
    }
    return m;
}

Model probe_two_panels() {
    Model m;
    // Hexagonal bus along y.
    std::vector<std::pair<double, double>> hex;
    for (int i = 0; i < 6; ++i) hex.push_back({1.0 * std::cos(i * pi / 3), 1.0 * std::sin(i * pi / 3)});
    Mat3 upright;
    upright.r0 = {1, 0, 0};
    upright.r1 = {0, 0, 1};
    upright.r2 = {0, 1, 0};  // local z = model y
    m.slab({0, 0, 0}, hex, 0.8, silver_foil(), upright);
    m.slab({0, 0.85, 0}, hex, 0.06, light_grey(), upright);
    // High-gain dish on top, a magnetometer boom and a thruster ring below.
    m.dish({0, 1.05, 0}, {0, 1, 0.15}, 1.25, 0.35, white_paint());
    m.cylinder({0, 1.0, 0}, {0, 1.55, 0.06}, 0.05, light_grey());
    m.sphere({0, 1.6, 0.07}, 0.1, gold_foil());
    m.cylinder({0, -0.8, 0}, {0, -1.1, 0}, 0.55, dark_metal());
    m.cone({0, -1.1, 0}, {0, -1.5, 0}, 0.22, 0.38, dark_metal());
    m.cylinder({0.6, -0.3, 0.6}, {1.4, -1.6, 1.6}, 0.03, light_grey());
    // Two large square panels on booms.
    for (int side : {-1, 1}) {
        const double s = side;
        m.cylinder({s * 0.9, 0, 0}, {s * 1.5, 0, 0}, 0.06, light_grey());
        solar_wing(m, {s * 3.05, 0, 0}, {1, 0, 0}, {0, 1, 0}, 3.1, 3.1, 0.52);
    }
    return m;
}

Model sputnik_style() {
    Model m;
    Material body = silver();
    body.albedo = srgb(214, 216, 222);
    body.specular = 1.1;
    body.shininess = 60;
    m.sphere({0, 0, 0}, 1.0, body);
    m.cylinder({-0.7, 0, 0}, {-1.05, 0, 0}, 0.12, dark_metal());
    // Four long whip antennas swept back.
    const Vec3 roots[4] = {{-0.45, 0.55, 0.55}, {-0.45, -0.55, 0.55}, {-0.45, 0.55, -0.55}, {-0.45, -0.55, -0.55}};
    for (const Vec3& r : roots) {
        const Vec3 dir = normalize(Vec3{-2.6, r.y * 0.9, r.z * 0.9});
        m.cylinder(r, r + dir * 3.2, 0.035, light_grey());
        m.sphere(r, 0.09, dark_metal());
    }
    return m;
}

Model x_panels() {
    Model m;
    m.cylinder({0, 0, -1.1}, {0, 0, 1.1}, 0.75, gold_foil());
    m.cylinder({0, 0, 1.1}, {0, 0, 1.25}, 0.8, white_paint());
    m.cone({0, 0, 1.25}, {0, 0, 1.75}, 0.45, 0.12, light_grey());
    m.sphere({0, 0, 1.8}, 0.12, tinted(dark_metal(), srgb(120, 40, 40)));
    for (int i = 0; i < 4; ++i) {
        const double a = pi / 4 + i * pi / 2;
        const Vec3 dir{std::cos(a), std::sin(a), 0};
        m.cylinder(dir * 0.7, dir * 1.25, 0.05, light_grey());
        solar_wing(m, dir * 2.5, dir, Vec3{-dir.y, dir.x, 0.35}, 2.4, 0.95, 0.3);
    }
    return m;
}

Model weather_sat() {
    Model m;
    m.cylinder({-1.6, 0, 0}, {1.6, 0, 0}, 0.8, silver_foil());
    m.cylinder({-1.75, 0, 0}, {-1.6, 0, 0}, 0.82, white_paint());
    m.cylinder({1.6, 0, 0}, {1.75, 0, 0}, 0.82, white_paint());
    // Instrument boxes and a dish at the front end.
    m.box({0.4, 0.85, 0}, {0.6, 0.2, 0.4}, tinted(white_paint(), srgb(220, 214, 200)));
    m.box({-0.6, -0.8, 0.2}, {0.4, 0.22, 0.35}, dark_metal());
    m.cylinder({1.75, 0, 0}, {2.3, 0, 0}, 0.08, light_grey());
    m.dish({2.3, 0, 0}, {1, 0.2, 0.4}, 0.9, 0.3, white_paint());
    // One long wing on the back end, yoked at an angle.
    m.cylinder({-1.75, 0, 0}, {-2.3, 0, 0}, 0.07, light_grey());
    solar_wing(m, {-3.95, 0, 0}, {1, 0, 0}, {0, 0.94, 0.34}, 3.2, 1.7, 0.38);
    return m;
}

Model saucer() {
    Model m;
    Material hull = silver();
    hull.albedo = srgb(190, 196, 206);
    hull.specular = 1.0;
    hull.shininess = 45;
    m.ellipsoid({0, 0, 0}, {3.0, 0.42, 3.0}, hull);
    m.ellipsoid({0, -0.25, 0}, {1.7, 0.4, 1.7}, tinted(dark_metal(), srgb(96, 100, 116)));
    Material dome = glass_gold();
    dome.albedo = srgb(70, 120, 150);
    dome.specular = 1.5;
    m.ellipsoid({0, 0.32, 0}, {1.05, 0.72, 1.05}, dome);
    m.cylinder({0, 0.2, 0}, {0, 0.42, 0}, 1.2, hull);
    const Rgb lights[3] = {srgb(255, 90, 70), srgb(120, 255, 160), srgb(255, 220, 90)};
    for (int i = 0; i < 12; ++i) {
        const double a = i * pi / 6 + 0.13;
        m.sphere({2.86 * std::cos(a), 0.0, 2.86 * std::sin(a)}, 0.17, light(lights[i % 3] * 1.6));
    }
    return m;
}

void orbiter(Model& m) {
    // Nose along +y, top along +z, span along x.
    Material top = tiles_white();
    Material black = black_tiles();
    m.cylinder({0, -5.2, 0}, {0, 3.6, 0}, 1.0, top);
    m.ellipsoid({0, 3.6, 0}, {1.0, 2.3, 1.0}, top);
    m.ellipsoid({0, 3.9, -0.08}, {0.98, 2.15, 0.95}, black);  // black chin
    m.ellipsoid({0, 5.2, 0.02}, {0.55, 0.85, 0.55}, black);   // nose cap
    // Cockpit windows.
    m.box({-0.32, 4.25, 0.78}, {0.22, 0.14, 0.12}, tinted(dark_metal(), srgb(30, 34, 44)), rot_x(-0.55));
    m.box({0.32, 4.25, 0.78}, {0.22, 0.14, 0.12}, tinted(dark_metal(), srgb(30, 34, 44)), rot_x(-0.55));
    // Payload bay door seam.
    m.box({0, -1.0, 0.99}, {0.03, 3.6, 0.04}, light_grey());
    // Wings: a double delta, white above, the black underside showing as a rim.
    m.slab({0, 0, -0.42}, {{-4.0, -4.3}, {-4.0, -5.2}, {4.0, -5.2}, {4.0, -4.3}, {0.9, 2.2}, {-0.9, 2.2}}, 0.16, top);
    m.slab({0, 0, -0.58}, {{-4.12, -4.3}, {-4.12, -5.25}, {4.12, -5.25}, {4.12, -4.3}, {0.95, 2.45}, {-0.95, 2.45}}, 0.14, black);
    m.box({0, -5.05, -0.45}, {3.8, 0.2, 0.12}, light_grey());  // elevons
    // Vertical tail in the y-z plane.
    Mat3 yz;
    yz.r0 = {0, 0, 1};
    yz.r1 = {0, 1, 0};
    yz.r2 = {1, 0, 0};
    m.slab({0, 0, 0}, {{0.7, -3.0}, {0.7, -5.4}, {4.1, -6.1}, {4.1, -5.3}}, 0.16, top, yz);
    m.slab({0, 0, 0}, {{3.9, -5.25}, {4.15, -5.3}, {4.15, -6.15}, {3.9, -6.1}}, 0.17, black, yz);
    // OMS pods and main engines.
    m.ellipsoid({-0.75, -4.2, 0.65}, {0.42, 1.5, 0.4}, top);
    m.ellipsoid({0.75, -4.2, 0.65}, {0.42, 1.5, 0.4}, top);
    const Vec3 bells[3] = {{0, -5.2, 0.45}, {-0.55, -5.2, -0.25}, {0.55, -5.2, -0.25}};
    for (const Vec3& b : bells) m.cone(b, b + Vec3{0, -0.9, 0}, 0.22, 0.42, dark_metal());
}

Model astronaut() {
    Model m;
    Material suit = white_paint();
    suit.albedo = srgb(236, 236, 230);
    suit.specular = 0.12;
    suit.shininess = 12;
    Material fabric = suit;
    fabric.albedo = srgb(214, 214, 208);
    Material glove = light_grey();
    glove.albedo = srgb(196, 198, 204);
    auto limb = [&](Vec3 a, Vec3 b, double r, const Material& mat) {
        m.cylinder(a, b, r, mat);
        m.sphere(a, r, mat);
        m.sphere(b, r, mat);
    };
    // Torso, backpack, helmet.
    m.ellipsoid({0, 1.0, 0}, {0.95, 1.1, 0.62}, suit);
    m.box({0, 1.15, -0.85}, {0.9, 1.05, 0.38}, tinted(white_paint(), srgb(222, 222, 214)));
    m.box({0, 2.15, -0.8}, {0.6, 0.14, 0.3}, light_grey());
    m.sphere({0, 2.45, 0.02}, 0.66, suit);
    Material visor = glass_gold();
    m.ellipsoid({0.0, 2.42, 0.24}, {0.52, 0.46, 0.5}, visor);
    m.cylinder({0, 1.9, 0}, {0, 2.05, 0}, 0.55, fabric);
    // Chest control box with lights.
    m.box({0, 0.95, 0.62}, {0.38, 0.24, 0.1}, light_grey());
    m.sphere({-0.18, 1.0, 0.72}, 0.05, light(srgb(255, 60, 50) * 1.4));
    m.sphere({0.0, 1.0, 0.72}, 0.05, light(srgb(80, 255, 120) * 1.4));
    m.sphere({0.18, 1.0, 0.72}, 0.05, light(srgb(255, 210, 70) * 1.4));
    // Hips and legs, one bent.
    m.ellipsoid({0, -0.1, 0}, {0.85, 0.5, 0.58}, fabric);
    limb({-0.45, -0.35, 0}, {-0.7, -1.6, 0.25}, 0.33, suit);
    limb({-0.7, -1.6, 0.25}, {-0.75, -2.75, -0.1}, 0.29, suit);
    m.ellipsoid({-0.78, -2.95, 0.05}, {0.33, 0.26, 0.45}, glove);
    limb({0.45, -0.35, 0}, {0.95, -1.35, 0.45}, 0.33, suit);
    limb({0.95, -1.35, 0.45}, {1.5, -2.35, 0.0}, 0.29, suit);
    m.ellipsoid({1.62, -2.55, 0.08}, {0.33, 0.26, 0.45}, glove, rot_z(0.5));
    m.cylinder({-0.7, -1.95, 0.22}, {-0.72, -2.2, 0.15}, 0.305, tinted(suit, srgb(200, 40, 40)));
    // Arms: left waving up, right reaching out.
    limb({-0.95, 1.6, 0}, {-1.75, 2.3, 0.3}, 0.28, suit);
    limb({-1.75, 2.3, 0.3}, {-2.05, 3.3, 0.35}, 0.25, suit);
    m.sphere({-2.1, 3.55, 0.35}, 0.27, glove);
    limb({0.95, 1.6, 0}, {1.75, 0.95, 0.35}, 0.28, suit);
    limb({1.75, 0.95, 0.35}, {2.55, 0.65, 0.6}, 0.25, suit);
    m.sphere({2.8, 0.6, 0.65}, 0.27, glove);
    // Backpack antenna and thruster handles.
    m.cylinder({0.55, 2.2, -0.95}, {0.7, 3.1, -1.0}, 0.03, light_grey());
    m.cylinder({-0.95, 0.3, -0.7}, {-1.15, 0.9, -0.6}, 0.08, light_grey());
    return m;
}

Model rocket() {
    Model m;
    Material body = tiles_white();
    body.tex_scale = 3.0;
    Material band = white_paint();
    band.texture = Texture::band;
    band.albedo = srgb(232, 232, 228);
    band.albedo2 = srgb(40, 42, 50);
    band.tex_scale = 1.0;
    m.cylinder({0, -4.5, 0}, {0, 4.5, 0}, 0.8, body);
    m.cylinder({0, 1.0, 0}, {0, 3.0, 0}, 0.81, band);
    m.cylinder({0, 4.5, 0}, {0, 4.75, 0}, 0.78, tinted(light_grey(), srgb(150, 40, 36)));
    m.cone({0, 4.75, 0}, {0, 7.2, 0}, 0.78, 0.04, tinted(white_paint(), srgb(190, 44, 38)));
    Mat3 fin_frame;
    for (int i = 0; i < 4; ++i) {
        const double a = i * pi / 2 + pi / 4;
        Mat3 f;
        f.r0 = {std::cos(a), 0, std::sin(a)};
        f.r1 = {0, 1, 0};
        f.r2 = {-std::sin(a), 0, std::cos(a)};
        m.slab({0, 0, 0}, {{0.6, -4.5}, {1.55, -5.2}, {1.55, -4.6}, {0.6, -2.6}}, 0.07, tinted(white_paint(), srgb(150, 40, 36)), f);
    }
    m.cone({0, -4.5, 0}, {0, -5.3, 0}, 0.45, 0.62, dark_metal());
    m.cone({0, -8.3, 0}, {0, -5.3, 0}, 0.05, 0.5, flame(srgb(255, 250, 220) * 1.3, srgb(255, 110, 30)));
    m.ellipsoid({0, -6.0, 0}, {0.36, 0.9, 0.36}, flame(srgb(255, 255, 245) * 1.5, srgb(255, 220, 140)));
    return m;
}

Model dish_satellite() {
    Model m;
    // Body with a big dish on a short mast, facing up and to the viewer.
    m.box({0, -1.0, 0}, {1.0, 1.05, 0.95}, gold_foil());
    m.box({0, 0.12, 0}, {0.9, 0.08, 0.85}, white_paint());
    m.cylinder({0, 0.2, 0}, {0, 0.9, 0}, 0.18, light_grey());
    const Vec3 axis = normalize(Vec3{-0.15, 1.0, 0.55});
    m.dish({0, 0.95, 0}, axis, 3.0, 0.8, tinted(white_paint(), srgb(238, 236, 230)));
    // Feed at the focus on a tripod.
    const Vec3 focus = Vec3{0, 0.95, 0} + axis * 2.6;
    m.cylinder(focus - axis * 0.2, focus + axis * 0.25, 0.16, gold_foil());
    for (int i = 0; i < 3; ++i) {
        const double a = i * 2 * pi / 3;
        const Mat3 f = frame_towards(axis);
        const Vec3 rim = Vec3{0, 0.95, 0} + f.apply_t(Vec3{2.2 * std::cos(a), 2.2 * std::sin(a), 0.45});
        m.cylinder(rim, focus, 0.03, light_grey());
    }
    // Two wings hanging down and out.
    for (int side : {-1, 1}) {
        const double s = side;
        m.cylinder({s * 1.0, -1.1, 0}, {s * 1.5, -1.5, 0}, 0.06, light_grey());
        solar_wing(m, Vec3{s * 2.45, -2.55, 0.1}, normalize(Vec3{s * 1.0, -1.1, 0}), normalize(Vec3{s * 1.1, 1.0, 0.4}), 2.9, 1.2, 0.36);
    }
    m.cone({0, -2.05, 0}, {0, -2.55, 0}, 0.2, 0.35, dark_metal());
    return m;
}

Model launch_stack() {
    Model m;
    // Axis along +y. Tank in the middle, boosters to its sides, the orbiter on the far side (-z).
    m.cylinder({0, -5.5, 0}, {0, 4.0, 0}, 1.35, orange_tank());
    m.ellipsoid({0, 4.0, 0}, {1.35, 3.0, 1.35}, orange_tank());
    m.cone({0, 6.8, 0}, {0, 7.4, 0}, 0.2, 0.05, dark_metal());
    m.ellipsoid({0, -5.5, 0}, {1.35, 0.5, 1.35}, orange_tank());
    for (int side : {-1, 1}) {
        const double s = side * 2.05;
        Material booster = tiles_white();
        booster.tex_scale = 2.0;
        m.cylinder({s, -6.0, 0}, {s, 3.6, 0}, 0.62, booster);
        m.cone({s, 3.6, 0}, {s, 5.2, 0}, 0.62, 0.12, booster);
        m.cylinder({s, -1.0, 0}, {s, -0.7, 0}, 0.64, light_grey());
        m.cone({s, -6.0, 0}, {s, -6.8, 0}, 0.45, 0.62, dark_metal());
        m.cylinder({s * 0.78, 2.0, 0}, {s * 0.5, 2.0, 0}, 0.08, light_grey());
        // Booster plumes: long, bright, widening and then closing.
        m.cone({s * 1.04, -11.0, 0}, {s, -6.8, 0}, 0.95, 0.5, flame(srgb(255, 244, 200) * 2.2, srgb(255, 150, 50) * 1.2));
        m.cone({s * 1.1, -14.5, 0}, {s * 1.04, -11.0, 0}, 0.12, 0.95, flame(srgb(255, 150, 50) * 1.2, srgb(220, 60, 20) * 0.8));
    }
    // The orbiter, belly to the tank.
    Model orb;
    orbiter(orb);
    const Mat3 flip = rot_y(pi) * rot_x(0.0);  // top facing away from the tank
    for (Prim p : orb.prims) {
        // Place the orbiter's model (nose +y, top +z) with its top along -z and scale it down.
        const double k = 0.82;
        Prim q = p;
        q.pos = flip.apply(p.pos) * k + Vec3{0, -1.2, -2.25};
        Mat3 inv;  // model to the orbiter's model: the transpose of flip
        inv.r0 = {flip.r0.x, flip.r1.x, flip.r2.x};
        inv.r1 = {flip.r0.y, flip.r1.y, flip.r2.y};
        inv.r2 = {flip.r0.z, flip.r1.z, flip.r2.z};
        q.rot = p.rot * inv;
        q.size = p.size * k;
        for (Plane& pl : q.planes) pl.d *= k;
        m.prims.push_back(q);
    }
    // Orbiter main engine plumes: blue-white.
    for (const Vec3 b : {Vec3{0, -5.6, -2.6}, Vec3{-0.45, -5.6, -2.05}, Vec3{0.45, -5.6, -2.05}}) {
        m.cone(b + Vec3{0, -3.2, 0}, b, 0.08, 0.34, flame(srgb(235, 240, 255) * 1.4, srgb(120, 150, 255)));
    }
    return m;
}

// ---- asteroids ---------------------------------------------------------------------------------

struct Rock {
    static constexpr int W = 256, H = 128;
    std::vector<float> height;  // radius offset on a latitude-longitude grid
    Vec3 stretch{1, 1, 1};
    double max_radius = 1;
    std::uint64_t seed = 0;

    double radius(Vec3 d) const {
        const double lon = std::atan2(d.z, d.x);  // -pi..pi
        const double lat = std::acos(clampd(d.y, -1, 1));  // 0..pi
        const double u = (lon + pi) / (2 * pi) * W, v = lat / pi * (H - 1);
        const int i0 = static_cast<int>(std::floor(u)), j0 = std::min(H - 2, static_cast<int>(std::floor(v)));
        const double fu = u - i0, fv = v - j0;
        auto at = [&](int i, int j) { return static_cast<double>(height[static_cast<std::size_t>(j * W + ((i % W) + W) % W)]); };
        return 1.0 + lerp(lerp(at(i0, j0), at(i0 + 1, j0), fu), lerp(at(i0, j0 + 1), at(i0 + 1, j0 + 1), fu), fv);
    }
};

Rock make_rock(std::uint64_t seed, double lump, int craters, Vec3 stretch) {
    Rock r;
    r.seed = seed;
    r.stretch = stretch;
    r.height.resize(static_cast<std::size_t>(Rock::W * Rock::H));
    const Noise n(seed);
    Rng rng(seed * 31 + 7);
    struct Crater {
        Vec3 c;
        double size, depth;
    };
    std::vector<Crater> cs;
    for (int i = 0; i < craters; ++i) {
        Vec3 c{rng.normal(), rng.normal(), rng.normal()};
        const double big = rng.uniform();
        cs.push_back({normalize(c), 0.12 + 0.38 * big * big, 0.05 + 0.06 * rng.uniform()});
    }
    double maxh = -1;
    for (int j = 0; j < Rock::H; ++j) {
        const double lat = j * pi / (Rock::H - 1);
        for (int i = 0; i < Rock::W; ++i) {
            const double lon = i * 2 * pi / Rock::W - pi;
            const Vec3 d{std::sin(lat) * std::cos(lon), std::cos(lat), std::sin(lat) * std::sin(lon)};
            double h = lump * n.fbm(d.x * 0.9 + 3, d.y * 0.9, d.z * 0.9, 2) + 0.05 * n.fbm(d.x * 3 + 9, d.y * 3, d.z * 3, 4);
            for (const Crater& c : cs) {
                const double ang = std::acos(clampd(dot(d, c.c), -1, 1)) / c.size;
                if (ang < 1) h -= c.depth * (1 - ang * ang);
                h += c.depth * 0.45 * std::exp(-((ang - 1) * (ang - 1)) / 0.05);
            }
            r.height[static_cast<std::size_t>(j * Rock::W + i)] = static_cast<float>(h);
            maxh = std::max(maxh, h);
        }
    }
    r.max_radius = (1 + maxh) * std::max({stretch.x, stretch.y, stretch.z});
    return r;
}

// Distance-like value: positive outside the rock.
double rock_field(const Rock& r, Vec3 p) {
    const Vec3 q{p.x / r.stretch.x, p.y / r.stretch.y, p.z / r.stretch.z};
    const double l = length(q);
    if (l < 1e-9) return -1;
    return (l - r.radius(q * (1.0 / l))) * std::min({r.stretch.x, r.stretch.y, r.stretch.z});
}

// Renders the rock turned by `orient` (body to view), fitted with `scale` pixels per unit.
Figure render_rock(const Rock& r, const Mat3& orient, int w, int h, double scale, int samples) {
    const Noise tex(r.seed + 99);
    const Vec3 light_v = light_direction();
    const Vec3 light_b = orient.apply_t(light_v);
    const Vec3 view_b = orient.apply_t(Vec3{0, 0, 1});
    const Vec3 rd_b = orient.apply_t(Vec3{0, 0, -1});
    const double R = r.max_radius * 1.02;
    Figure fig;
    fig.width = w;
    fig.height = h;
    fig.colour.assign(static_cast<std::size_t>(w * h), Rgb{});
    fig.coverage.assign(static_cast<std::size_t>(w * h), 0.0);
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            Rgb acc;
            int hits = 0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    const double vx = (px + (i + 0.5) / samples - w / 2.0) / scale;
                    const double vy = -(py + (j + 0.5) / samples - h / 2.0) / scale;
                    if (vx * vx + vy * vy > R * R) continue;
                    const double vz = std::sqrt(R * R - vx * vx - vy * vy);
                    Vec3 p = orient.apply_t(Vec3{vx, vy, vz});
                    double travelled = 0;
                    bool hit = false;
                    for (int step = 0; step < 160 && travelled < 2 * vz + 1e-3; ++step) {
                        const double f = rock_field(r, p);
                        if (f < 0.0008) {
                            hit = true;
                            break;
                        }
                        const double adv = std::max(0.002, f * 0.55);
                        p = p + rd_b * adv;
                        travelled += adv;
                    }
                    if (!hit) continue;
                    const double e = 0.004;
                    const double f0 = rock_field(r, p);
                    const Vec3 n = normalize(Vec3{rock_field(r, p + Vec3{e, 0, 0}) - f0, rock_field(r, p + Vec3{0, e, 0}) - f0, rock_field(r, p + Vec3{0, 0, e}) - f0});
                    // Self-shadow towards the light.
                    double lit = 1;
                    Vec3 s = p + n * 0.01;
                    for (int k = 0; k < 40; ++k) {
                        const double f = rock_field(r, s);
                        if (f < 0) {
                            lit = 0.06;
                            break;
                        }
                        if (length(s) > R) break;
                        s = s + light_b * std::max(0.01, f * 0.8);
                    }
                    const double grain = tex.fbm(p.x * 4, p.y * 4, p.z * 4, 4);
                    const double speck = tex.at(p.x * 22 + 5, p.y * 22, p.z * 22);
                    Rgb albedo = mix(srgb(128, 116, 104), srgb(150, 142, 132), clamp01(0.5 + grain)) * (0.82 + 0.1 * speck);
                    const double hr = length(Vec3{p.x / r.stretch.x, p.y / r.stretch.y, p.z / r.stretch.z});
                    albedo = albedo * (0.85 + 0.9 * clampd(hr - 0.97, -0.1, 0.12));
                    const double ndl = std::max(0.0, dot(n, light_b));
                    const double diffuse = std::pow(ndl, 0.9) * lit;
                    const double fill = std::max(0.0, dot(n, orient.apply_t(normalize(Vec3{0.7, -0.5, 0.35}))));
                    const double rim = std::pow(1 - std::fabs(dot(n, view_b)), 3) * 0.08;
                    Rgb c = albedo * (srgb(255, 248, 236) * (1.25 * diffuse) + srgb(80, 96, 130) * (0.22 * fill) + srgb(36, 40, 50) * 0.35);
                    c += srgb(110, 140, 200) * rim;
                    acc += c;
                    ++hits;
                }
            }
            const std::size_t k = static_cast<std::size_t>(py * w + px);
            if (hits > 0) acc = acc * (1.0 / hits);
            fig.colour[k] = acc;
            fig.coverage[k] = static_cast<double>(hits) / (samples * samples);
        }
    }
    return fig;
}

// ---- the sheet -----------------------------------------------------------------------------

double shoulder(double v) {
    const double k = 0.75;
    if (v <= k) return std::max(0.0, v);
    return k + (1 - k) * (1 - std::exp(-(v - k) / (1 - k)));
}

void place(SpriteSheet& s, const Figure& f, const FrameRect& r) {
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < f.width && y < f.height && x < r.w && y < r.h && f.coverage[static_cast<std::size_t>(y * f.width + x)] >= 0.5; };
    for (int y = 0; y < f.height && y < r.h; ++y) {
        for (int x = 0; x < f.width && x < r.w; ++x) {
            if (!inside(x, y)) continue;
            // A lone pixel (a thin antenna cut into dots) would only flicker: leave it out.
            bool neighbour = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) neighbour = neighbour || ((dx != 0 || dy != 0) && inside(x + dx, y + dy));
            if (!neighbour) continue;
            const Rgb c = f.colour[static_cast<std::size_t>(y * f.width + x)];
            std::uint32_t p = pack_srgb({shoulder(c.r), shoulder(c.g), shoulder(c.b)});
            if (p == 0) p = 0x010102;
            s.sheet.at(r.x + x, r.y + y) = p;
            s.mask.at(r.x + x, r.y + y) = 0;
        }
    }
}

// Half the width and height of a figure's opaque part around the frame centre, in pixels.
std::pair<double, double> half_extent(const Figure& f) {
    double hx = 0, hy = 0;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            if (f.coverage[static_cast<std::size_t>(y * f.width + x)] > 0) {
                hx = std::max(hx, std::fabs(x + 0.5 - f.width / 2.0) + 0.5);
                hy = std::max(hy, std::fabs(y + 0.5 - f.height / 2.0) + 0.5);
            }
    return {hx, hy};
}

// The largest scale at which every view of the rock fits the frame (at 1×: larger sheets multiply
// it, so every scale shows the rock the same size within its frame).
double fit_rock(const Rock& rock, const std::vector<Mat3>& views, int w, int h) {
    const double probe = (std::min(w, h) / 2.0 - 0.5) / rock.max_radius * 0.8;
    double hx = 0, hy = 0;
    for (const Mat3& v : views) {
        const auto [ex, ey] = half_extent(render_rock(rock, v, w, h, probe, 2));
        hx = std::max(hx, ex);
        hy = std::max(hy, ey);
    }
    return probe * std::min((w / 2.0 - 0.6) / hx, (h / 2.0 - 0.6) / hy);
}

}  // namespace

Figure orbiter_side_figure(int width, int height) {
    Model orb;
    orbiter(orb);
    Mat3 side_right;
    side_right.r0 = {0, 1, 0};
    side_right.r1 = {0, 0, 1};
    side_right.r2 = {1, 0, 0};
    RenderOptions o;
    o.view = rot_z(0.12) * rot_x(0.3) * side_right;
    o.samples = 5;
    return render_model(orb, width, height, o);
}

FrameRect frame_rect(int frame) {
    if (frame >= 1 && frame <= 19) return single_frames[frame];
    if (frame >= 20 && frame <= 43) {
        const int k = frame - 20;
        return {30 * (k % 6), 480 + 30 * (k / 6), 30, 30};
    }
    if (frame >= 44 && frame <= 67) {
        const int k = frame - 44;
        return {360 + 60 * (k % 6), 240 + 60 * (k / 6), 60, 60};
    }
    if (frame >= 68 && frame <= 73) return {340 + 12 * (frame - 68), 516, 9, 9};
    return {0, 0, 0, 0};
}

FrameRect frame_rect(int frame, int scale) {
    const FrameRect r = frame_rect(frame);
    return {r.x * scale, r.y * scale, r.w * scale, r.h * scale};
}

SpriteSheet make_sprite_sheet(int scale) {
    SpriteSheet s;
    s.sheet = kolvane::Image(sheet_w * scale, sheet_h * scale, 0);
    s.mask = kolvane::Image(sheet_w * scale, sheet_h * scale, 0xFFFFFF);
    auto put = [&](int frame, const Model& m, const Mat3& view, int samples = 4) {
        const FrameRect r = frame_rect(frame, scale);
        RenderOptions o;
        o.view = view;
        o.samples = scale == 1 ? samples : samples_at(samples, scale);
        o.margin *= scale;
        place(s, render_model(m, r.w, r.h, o), r);
    };

    put(1, satellite_comsat(), rot_x(0.35) * rot_z(0.38) * rot_y(-0.5));
    put(2, probe_two_panels(), rot_x(0.4) * rot_z(0.62) * rot_y(0.35));
    put(3, sputnik_style(), rot_x(0.25) * rot_z(-0.3) * rot_y(0.5));
    put(4, x_panels(), rot_x(-0.55) * rot_y(0.35));
    put(5, weather_sat(), rot_x(0.4) * rot_z(0.2) * rot_y(-0.5));
    put(6, saucer(), rot_x(0.26));
    {
        Model orb;
        orbiter(orb);
        put(10, orb, rot_x(-0.25) * Mat3{});
        Mat3 side_right;  // nose (+y) to the right, top (+z) up
        side_right.r0 = {0, 1, 0};
        side_right.r1 = {0, 0, 1};
        side_right.r2 = {1, 0, 0};
        Mat3 side_left;
        side_left.r0 = {0, -1, 0};
        side_left.r1 = {0, 0, 1};
        side_left.r2 = {-1, 0, 0};
        put(11, orb, rot_x(0.22) * side_right);
        put(12, orb, rot_x(0.22) * side_left);
    }
    {
        const Model a = astronaut();
        const Mat3 view = rot_x(0.15) * rot_y(0.45) * rot_z(-0.12);
        put(13, a, view, 4);
        put(14, a, view, 5);
        put(15, a, view, 6);
    }
    put(16, rocket(), rot_x(0.2) * rot_y(0.4));
    put(17, dish_satellite(), rot_x(0.3) * rot_y(-0.55));
    put(18, launch_stack(), rot_z(-0.45) * rot_x(-0.3) * rot_y(0.95));
    // Frame 19: frame 18 mirrored left to right; its one extra row stays empty.
    {
        const FrameRect a = frame_rect(18, scale), b = frame_rect(19, scale);
        for (int y = 0; y < a.h; ++y) {
            for (int x = 0; x < a.w; ++x) {
                s.sheet.at(b.x + a.w - 1 - x, b.y + y) = s.sheet.at(a.x + x, a.y + y);
                s.mask.at(b.x + a.w - 1 - x, b.y + y) = s.mask.at(a.x + x, a.y + y);
            }
        }
    }
    // Rock fragments.
    {
        const int frames[3] = {7, 8, 9};
        const Vec3 stretch[3] = {{1.45, 0.9, 1.0}, {1.2, 1.0, 0.85}, {1.3, 0.95, 1.1}};
        for (int i = 0; i < 3; ++i) {
            const Rock rock = make_rock(0xF7A6 + static_cast<std::uint64_t>(i), 0.28, 3, stretch[i]);
            const FrameRect r1 = frame_rect(frames[i]), r = frame_rect(frames[i], scale);
            const Mat3 orient = rot_z(0.2 + i * 0.7) * rot_x(0.4 * i);
            const double fit = fit_rock(rock, {orient}, r1.w, r1.h) * scale;
            place(s, render_rock(rock, orient, r.w, r.h, fit, scale == 1 ? 4 : samples_at(4, scale)), r);
        }
    }
    // Tumbling asteroids: 24 views, one full turn about a tilted axis.
    {
        const Rock small = make_rock(0xA57E1, 0.22, 7, {1.18, 0.92, 1.0});
        const Rock large = make_rock(0xA57E2, 0.26, 14, {1.25, 0.9, 1.05});
        const Vec3 axis_small = normalize(Vec3{0.35, 1.0, 0.45});
        const Vec3 axis_large = normalize(Vec3{-0.5, 1.0, 0.3});
        std::vector<Mat3> views_small, views_large;
        for (int i = 0; i < 24; ++i) {
            const double a = 2 * pi * i / 24;
            views_small.push_back(rot_axis(axis_small, a) * rot_x(0.6));
            views_large.push_back(rot_axis(axis_large, a) * rot_z(0.4));
        }
        const double fit_small = fit_rock(small, views_small, 30, 30) * scale, fit_large = fit_rock(large, views_large, 60, 60) * scale;
        const int samples = scale == 1 ? 3 : samples_at(3, scale);
        for (int i = 0; i < 24; ++i) {
            const FrameRect rs = frame_rect(20 + i, scale);
            place(s, render_rock(small, views_small[static_cast<std::size_t>(i)], rs.w, rs.h, fit_small, samples), rs);
            const FrameRect rl = frame_rect(44 + i, scale);
            place(s, render_rock(large, views_large[static_cast<std::size_t>(i)], rl.w, rl.h, fit_large, samples), rl);
        }
    }
    // Stars: a plus 9, 7, 5, 3 pixels across, a single pixel, then nothing (drawn without the mask).
    // A larger sheet draws the same plus, each pixel `scale` pixels square, its arms fading smoothly.
    for (int k = 0; k < 5; ++k) {
        const FrameRect r = frame_rect(68 + k, scale);
        const int arm = 4 - k;
        for (int y = 0; y < 9 * scale; ++y) {
            for (int x = 0; x < 9 * scale; ++x) {
                const int ix = x / scale - 4, iy = y / scale - 4;  // the pixel of the 1× star
                const double u = (x + 0.5) / scale - 4.5, w = (y + 0.5) / scale - 4.5;
                const bool across = iy == 0 && std::abs(ix) <= arm, down = ix == 0 && std::abs(iy) <= arm;
                std::uint32_t p = 0;
                if (across || down) {
                    const double d = std::min(across ? std::fabs(u) : 1e9, down ? std::fabs(w) : 1e9);
                    const double t = arm == 0 ? 0.0 : d / (arm + 0.5);
                    const double v = std::pow(1 - t, 1.6) * (1.0 - 0.12 * k);
                    // White at the core, bluish along the arms.
                    const int rr = static_cast<int>(std::lround(255 * v * (0.72 + 0.28 * (1 - t))));
                    const int gg = static_cast<int>(std::lround(255 * v * (0.82 + 0.18 * (1 - t))));
                    const int bb = static_cast<int>(std::lround(255 * std::min(1.0, v * 1.05)));
                    p = (static_cast<std::uint32_t>(std::max(rr, 1)) << 16) | (static_cast<std::uint32_t>(std::max(gg, 1)) << 8) | static_cast<std::uint32_t>(std::max(bb, 1));
                } else if (arm >= 3 && std::abs(ix) == 1 && std::abs(iy) == 1) {
                    p = k == 0 ? 0x6E7896u : 0x4A5064u;  // soft diagonal glints around the core of the two largest
                }
                if (p == 0) continue;
                s.sheet.at(r.x + x, r.y + y) = p;
                s.mask.at(r.x + x, r.y + y) = 0;
            }
        }
    }
    return s;
}

}  // namespace assetgen
