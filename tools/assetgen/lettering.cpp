// The generator's own letters: a wide, geometric stroke alphabet with rounded corners, drawn as
// Cairo paths (no font files, so the output never depends on what fonts a machine has).
#include <algorithm>
#include <cstring>
#include <map>

#include "assets.h"

namespace assetgen {
namespace {

struct Stroke {
    std::vector<std::pair<double, double>> pts;  // glyph units: x from 0, y from 0 (base) to 1 (cap)
    bool closed = false;
    bool rounded = false;
};
struct Glyph {
    double width;
    std::vector<Stroke> strokes;
};

Stroke line(std::initializer_list<std::pair<double, double>> p, bool rounded = false, bool closed = false) {
    Stroke s;
    s.pts = p;
    s.rounded = rounded;
    s.closed = closed;
    return s;
}

const std::map<char, Glyph>& glyphs() {
    static const std::map<char, Glyph> g = [] {
        std::map<char, Glyph> m;
        const double W = 0.92;
        m['A'] = {W, {line({{0, 0}, {0, 0.72}, {0.2, 1}, {W - 0.2, 1}, {W, 0.72}, {W, 0}}, true), line({{0, 0.44}, {W, 0.44}})}};
        m['B'] = {W, {line({{0, 0}, {0, 1}, {W - 0.06, 1}, {W - 0.06, 0.5}, {0, 0.5}}, true), line({{0, 0.5}, {W, 0.5}, {W, 0}, {0, 0}}, true)}};
        m['C'] = {W, {line({{W, 1}, {0, 1}, {0, 0}, {W, 0}}, true)}};
        m['D'] = {W, {line({{0, 0}, {0, 1}}), line({{0, 1}, {W, 1}, {W, 0}, {0, 0}}, true)}};
        m['E'] = {W * 0.9, {line({{W * 0.9, 1}, {0, 1}, {0, 0}, {W * 0.9, 0}}), line({{0, 0.5}, {W * 0.72, 0.5}})}};
        m['F'] = {W * 0.9, {line({{W * 0.9, 1}, {0, 1}, {0, 0}}), line({{0, 0.5}, {W * 0.72, 0.5}})}};
        m['G'] = {W, {line({{W, 1}, {0, 1}, {0, 0}, {W, 0}, {W, 0.48}, {W * 0.55, 0.48}}, true)}};
        m['H'] = {W, {line({{0, 0}, {0, 1}}), line({{W, 0}, {W, 1}}), line({{0, 0.5}, {W, 0.5}})}};
        m['I'] = {0.0, {line({{0, 0}, {0, 1}})}};
        m['J'] = {W * 0.85, {line({{W * 0.85, 1}, {W * 0.85, 0}, {0, 0}, {0, 0.3}}, true)}};
        m['K'] = {W, {line({{0, 0}, {0, 1}}), line({{W, 1}, {0.22, 0.5}, {W, 0}})}};
        m['L'] = {W * 0.85, {line({{0, 1}, {0, 0}, {W * 0.85, 0}})}};
        m['M'] = {W * 1.15, {line({{0, 0}, {0, 1}, {W * 0.575, 0.45}, {W * 1.15, 1}, {W * 1.15, 0}})}};
        m['N'] = {W, {line({{0, 0}, {0, 1}, {W, 0}, {W, 1}})}};
        m['O'] = {W, {line({{0, 0}, {0, 1}, {W, 1}, {W, 0}}, true, true)}};
        m['P'] = {W, {line({{0, 0}, {0, 1}, {W, 1}, {W, 0.46}, {0, 0.46}}, true)}};
        m['Q'] = {W, {line({{0, 0}, {0, 1}, {W, 1}, {W, 0}}, true, true), line({{W * 0.6, 0.25}, {W + 0.08, -0.12}})}};
        m['R'] = {W, {line({{0, 0}, {0, 1}, {W, 1}, {W, 0.48}, {0, 0.48}}, true), line({{W * 0.45, 0.48}, {W, 0}})}};
        m['S'] = {W, {line({{W, 1}, {0, 1}, {0, 0.5}, {W, 0.5}, {W, 0}, {0, 0}}, true)}};
        m['T'] = {W, {line({{0, 1}, {W, 1}}), line({{W / 2, 1}, {W / 2, 0}})}};
        m['U'] = {W, {line({{0, 1}, {0, 0}, {W, 0}, {W, 1}}, true)}};
        m['V'] = {W, {line({{0, 1}, {W / 2, 0}, {W, 1}})}};
        m['W'] = {W * 1.25, {line({{0, 1}, {W * 0.3, 0}, {W * 0.625, 0.62}, {W * 0.95, 0}, {W * 1.25, 1}})}};
        m['X'] = {W, {line({{0, 1}, {W, 0}}), line({{0, 0}, {W, 1}})}};
        m['Y'] = {W, {line({{0, 1}, {W / 2, 0.5}, {W, 1}}), line({{W / 2, 0.5}, {W / 2, 0}})}};
        m['Z'] = {W, {line({{0, 1}, {W, 1}, {0, 0}, {W, 0}})}};
        m['0'] = {W * 0.85, {line({{0, 0}, {0, 1}, {W * 0.85, 1}, {W * 0.85, 0}}, true, true)}};
        m['1'] = {W * 0.4, {line({{0, 0.8}, {W * 0.4, 1}, {W * 0.4, 0}})}};
        m['2'] = {W * 0.85, {line({{0, 1}, {W * 0.85, 1}, {W * 0.85, 0.5}, {0, 0.5}, {0, 0}, {W * 0.85, 0}}, true)}};
        m['3'] = {W * 0.85, {line({{0, 1}, {W * 0.85, 1}, {W * 0.85, 0}, {0, 0}}, true), line({{W * 0.25, 0.5}, {W * 0.85, 0.5}})}};
        m['4'] = {W * 0.85, {line({{W * 0.6, 0}, {W * 0.6, 1}, {0, 0.35}, {W * 0.85, 0.35}})}};
        m['5'] = {W * 0.85, {line({{W * 0.85, 1}, {0, 1}, {0, 0.55}, {W * 0.85, 0.55}, {W * 0.85, 0}, {0, 0}}, true)}};
        m['6'] = {W * 0.85, {line({{W * 0.85, 1}, {0, 1}, {0, 0}, {W * 0.85, 0}, {W * 0.85, 0.52}, {0, 0.52}}, true)}};
        m['7'] = {W * 0.85, {line({{0, 1}, {W * 0.85, 1}, {W * 0.3, 0}})}};
        m['8'] = {W * 0.85, {line({{0, 0}, {0, 1}, {W * 0.85, 1}, {W * 0.85, 0}}, true, true), line({{0, 0.5}, {W * 0.85, 0.5}})}};
        m['9'] = {W * 0.85, {line({{W * 0.85, 0.48}, {0, 0.48}, {0, 1}, {W * 0.85, 1}, {W * 0.85, 0}, {0, 0}}, true)}};
        m['-'] = {W * 0.5, {line({{0, 0.5}, {W * 0.5, 0.5}})}};
        m['.'] = {0.0, {line({{0, 0}, {0, 0.02}})}};
        m[':'] = {0.0, {line({{0, 0}, {0, 0.02}}), line({{0, 0.6}, {0, 0.62}})}};
        m['/'] = {W * 0.6, {line({{0, 0}, {W * 0.6, 1}})}};
        m['('] = {W * 0.3, {line({{W * 0.3, 1.05}, {0, 1.05}, {0, -0.05}, {W * 0.3, -0.05}}, true)}};
        m[')'] = {W * 0.3, {line({{0, 1.05}, {W * 0.3, 1.05}, {W * 0.3, -0.05}, {0, -0.05}}, true)}};
        m[' '] = {W * 0.6, {}};
        return m;
    }();
    return g;
}

// Adds one stroke to the path, with rounded corners where the stroke asks for them.
void add_stroke(cairo_t* cr, const Stroke& s, double x, double y, double h) {
    const std::size_t n = s.pts.size();
    if (n == 0) return;
    auto P = [&](std::size_t i) { return std::pair<double, double>{x + s.pts[i % n].first * h, y - s.pts[i % n].second * h}; };
    const double r = 0.3 * h;
    if (!s.rounded) {
        cairo_move_to(cr, P(0).first, P(0).second);
        for (std::size_t i = 1; i < n; ++i) cairo_line_to(cr, P(i).first, P(i).second);
        if (s.closed) cairo_close_path(cr);
        return;
    }
    // Fillets: each corner is replaced by a near-circular cubic between its tangent points.
    const std::size_t first = s.closed ? 0 : 1, last = s.closed ? n : n - 1;
    bool started = false;
    if (!s.closed) {
        cairo_move_to(cr, P(0).first, P(0).second);
        started = true;
    }
    for (std::size_t i = first; i < last; ++i) {
        const auto a = P(i + n - 1), p = P(i), b = P(i + 1);
        double d1x = p.first - a.first, d1y = p.second - a.second, d2x = b.first - p.first, d2y = b.second - p.second;
        const double l1 = std::hypot(d1x, d1y), l2 = std::hypot(d2x, d2y);
        if (l1 < 1e-9 || l2 < 1e-9) continue;  // a repeated point has no corner
        d1x /= l1;
        d1y /= l1;
        d2x /= l2;
        d2y /= l2;
        const double rr = std::min({r, l1 * 0.5, l2 * 0.5});
        const double t1x = p.first - d1x * rr, t1y = p.second - d1y * rr, t2x = p.first + d2x * rr, t2y = p.second + d2y * rr;
        if (!started) {
            cairo_move_to(cr, t1x, t1y);
            started = true;
        } else {
            cairo_line_to(cr, t1x, t1y);
        }
        const double k = 0.552;
        cairo_curve_to(cr, t1x + d1x * rr * k, t1y + d1y * rr * k, t2x - d2x * rr * k, t2y - d2y * rr * k, t2x, t2y);
    }
    if (s.closed) {
        cairo_close_path(cr);
    } else {
        cairo_line_to(cr, P(n - 1).first, P(n - 1).second);
    }
}

}  // namespace

double lettering_width(const std::string& text, double height, double spacing) {
    double w = 0;
    bool any = false;
    for (char ch : text) {
        const auto it = glyphs().find(ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch);
        if (it == glyphs().end()) continue;
        if (any) w += spacing * height;
        w += it->second.width * height;
        any = true;
    }
    return w;
}

void lettering_path(cairo_t* cr, const std::string& text, double x, double y, double height, double spacing) {
    bool any = false;
    for (char ch : text) {
        const auto it = glyphs().find(ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch);
        if (it == glyphs().end()) continue;
        if (any) x += spacing * height;
        for (const Stroke& s : it->second.strokes) add_stroke(cr, s, x, y, height);
        x += it->second.width * height;
        any = true;
    }
}

}  // namespace assetgen
