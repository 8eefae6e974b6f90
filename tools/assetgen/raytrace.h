// A small orthographic ray tracer for the sprites: analytic primitives (ellipsoids, cylinders,
// cone frustums, convex polyhedra, dish shells), one key light from the upper left with hard
// shadows, a faint fill light, Blinn-Phong highlights and a few procedural surface textures.
#pragma once
#include <functional>
#include <vector>

#include "core.h"

namespace assetgen {

enum class Texture {
    plain,
    solar,        // solar cells: deep blue cells in a light frame, grid in local x/y
    foil,         // crinkled gold or silver insulation foil: bumpy, shiny
    tiles,        // painted surface with fine panel lines
    band,         // stripes along local z (rocket roll pattern)
    flame,        // emissive: colour runs from `emission` at local z = -size.z to `emission2` at +size.z
    glow,         // emissive, constant
};

struct Material {
    Rgb albedo{0.6, 0.6, 0.6};
    Rgb albedo2{0.1, 0.1, 0.1};  // second colour of a texture (lines, stripes, cell colour)
    double specular = 0.15;
    double shininess = 24;
    Texture texture = Texture::plain;
    double tex_scale = 1.0;       // texture cell size in model units
    double bump = 0.12;           // foil: strength of the crinkles
    double reflect = 0;           // mirror-like: reflects a soft bright sky towards the light
    Rgb emission{};
    Rgb emission2{};
    bool casts_shadow = true;
};

enum class Shape { ellipsoid, cylinder, cone, convex, dish };

struct Plane {
    Vec3 n;  // outward normal, local
    double d = 0;  // inside where dot(n, p) <= d
};

struct Prim {
    Shape shape = Shape::ellipsoid;
    Vec3 pos;       // centre in model space
    Mat3 rot;       // model to local
    Vec3 size{1, 1, 1};  // ellipsoid radii; cylinder (r, r, half length); cone (r at -z, r at +z, half length); dish (rim radius, depth, 0)
    std::vector<Plane> planes;  // convex
    Material mat;
};

// Frame of a model: the local z axis of a primitive pointing from a to b.
Mat3 frame_towards(Vec3 dir);

struct Model {
    std::vector<Prim> prims;

    Prim& ellipsoid(Vec3 c, Vec3 radii, const Material& m, const Mat3& rot = Mat3{});
    Prim& sphere(Vec3 c, double r, const Material& m) { return ellipsoid(c, {r, r, r}, m); }
    Prim& cylinder(Vec3 a, Vec3 b, double r, const Material& m);
    Prim& cone(Vec3 a, Vec3 b, double ra, double rb, const Material& m);
    Prim& box(Vec3 c, Vec3 half, const Material& m, const Mat3& rot = Mat3{});
    // A flat convex polygon (in the x/y plane of the rotated frame, listed counter-clockwise) given thickness.
    Prim& slab(Vec3 c, const std::vector<std::pair<double, double>>& polygon, double half_thickness, const Material& m, const Mat3& rot = Mat3{});
    // A shallow dish: rim radius, depth, opening towards local +z, facing along `axis`.
    Prim& dish(Vec3 c, Vec3 axis, double rim, double depth, const Material& m);
};

// One rendered figure: linear colour and coverage per pixel.
struct Figure {
    int width = 0, height = 0;
    std::vector<Rgb> colour;
    std::vector<double> coverage;
};

struct RenderOptions {
    Mat3 view;           // model to view rotation (the view looks along -z, y up)
    int samples = 4;     // samples per pixel side
    double margin = 0.6; // pixels left free around the figure
    bool keep_aspect = true;
};

// The winged orbiter from the side, nose to the right and a little up, for the title picture.
Figure orbiter_side_figure(int width, int height);

// Renders the model fitted into a width × height figure.
Figure render_model(const Model& model, int width, int height, const RenderOptions& options);

// The direction the light comes from (towards the light), in view space: upper left, in front.
Vec3 light_direction();

// Materials used across the sprites.
namespace materials {
Material white_paint();
Material light_grey();
Material dark_metal();
Material silver();
Material gold_foil();
Material silver_foil();
Material solar_panel();
Material black_tiles();
Material tiles_white();
Material orange_tank();
Material glass_gold();
Material light(Rgb colour);
Material flame(Rgb hot, Rgb cool);
}  // namespace materials

}  // namespace assetgen
