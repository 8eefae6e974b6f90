// The configuration dialogs' pictures: five 32 × 32 button pictures and the About box's logo.
// Drawn with Cairo on the key colour, which the dialogs replace by the face colour of the buttons.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>

#include "assets.h"

namespace assetgen {
namespace {

// Every picture is drawn this many times larger and averaged down: smooth, even edges.
constexpr int supersample = 4;
// The neutral face the anti-aliased edges are blended towards (the figure drawn on a light grey
// button), so no edge pixel keeps a trace of the key colour.
constexpr double face = 192.0 / 255.0;

struct Colour {
    double r, g, b;
};
constexpr Colour hex(std::uint32_t v) { return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0}; }

// The dark ink every figure is outlined in, so it reads on a light face and on a dark one.
constexpr Colour ink = hex(0x141C38);

// A transparent drawing surface in picture pixels; finish() turns what was drawn into a picture
// on the key colour.
class Canvas {
public:
    explicit Canvas(int size) : size_(size) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size * supersample, size * supersample);
        cr = cairo_create(surface_);
        cairo_scale(cr, supersample, supersample);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface_);
    }

    // Pixels nothing was drawn on become the key colour; the others are the figure over the
    // neutral face, in proportion to how much of the pixel the figure covers.
    kolvane::Image finish() {
        cairo_surface_flush(surface_);
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        kolvane::Image img(size_, size_, button_key_colour);
        const double samples = supersample * supersample;
        for (int y = 0; y < size_; ++y) {
            for (int x = 0; x < size_; ++x) {
                double sum[4] = {0, 0, 0, 0};  // premultiplied red, green, blue and coverage
                for (int sy = 0; sy < supersample; ++sy) {
                    std::uint32_t row[supersample];
                    std::memcpy(row, data + (y * supersample + sy) * stride + x * supersample * 4, sizeof row);
                    for (std::uint32_t p : row) {
                        sum[0] += (p >> 16) & 0xFF;
                        sum[1] += (p >> 8) & 0xFF;
                        sum[2] += p & 0xFF;
                        sum[3] += p >> 24;
                    }
                }
                if (sum[3] == 0) continue;
                const double cover = sum[3] / (255.0 * samples);
                std::uint32_t out = 0;
                for (int c = 0; c < 3; ++c) {
                    const double v = sum[c] / (255.0 * samples) + (1.0 - cover) * face;
                    out = (out << 8) | static_cast<std::uint32_t>(std::lround(clamp01(v) * 255.0));
                }
                img.at(x, y) = out;
            }
        }
        return img;
    }

    cairo_t* cr;

private:
    int size_;
    cairo_surface_t* surface_;
};

void source(cairo_t* cr, Colour c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

struct Stop {
    double at;
    Colour c;
};

// Sets a linear gradient from (x0, y0) to (x1, y1) as the source.
void linear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    for (const Stop& s : stops) cairo_pattern_add_color_stop_rgb(p, s.at, s.c.r, s.c.g, s.c.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

// Sets a radial gradient from a highlight at (hx, hy) out to the circle (cx, cy, r) as the source.
void radial(cairo_t* cr, double hx, double hy, double cx, double cy, double r, std::initializer_list<Stop> stops) {
    cairo_pattern_t* p = cairo_pattern_create_radial(hx, hy, 0, cx, cy, r);
    for (const Stop& s : stops) cairo_pattern_add_color_stop_rgb(p, s.at, s.c.r, s.c.g, s.c.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

// Fills the current path with the current source, then outlines it in ink; the path is used up.
void fill_and_outline(cairo_t* cr, double width) {
    cairo_fill_preserve(cr);
    source(cr, ink);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

// Strokes the path made by `path` twice: wide in ink, then narrower in the colour `paint` sets,
// so the line has an ink outline `edge` wide on each side (and at its ends, with square caps).
void outlined_line(cairo_t* cr, const std::function<void()>& path, double width, double edge, const std::function<void()>& paint,
                   cairo_line_cap_t cap = CAIRO_LINE_CAP_SQUARE) {
    cairo_set_line_cap(cr, cap);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_new_path(cr);
    path();
    source(cr, ink);
    cairo_set_line_width(cr, width + 2 * edge);
    cairo_stroke(cr);
    cairo_new_path(cr);
    path();
    paint();
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void rounded_rect(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -pi / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, pi / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, pi / 2, pi);
    cairo_arc(cr, x0 + r, y0 + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, double angle) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// A four-pointed sparkle centred on (cx, cy), `r` from the centre to a point.
void sparkle(cairo_t* cr, double cx, double cy, double r, double waist) {
    cairo_new_path(cr);
    for (int i = 0; i < 4; ++i) {
        const double a = i * pi / 2 - pi / 2, b = a + pi / 4;
        if (i == 0) cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        else cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        cairo_line_to(cr, cx + waist * std::cos(b), cy + waist * std::sin(b));
    }
    cairo_close_path(cr);
}

// ---- the five button pictures ------------------------------------------------------------------

// Two beamed notes with sound waves spreading to their right.
void draw_audio(cairo_t* cr) {
    const Colour light = hex(0x7FD4FF), mid = hex(0x2F7CE0), deep = hex(0x163A8C);
    // Sound waves to the right of the notes.
    for (int i = 0; i < 2; ++i) {
        const double r = 5.5 + 4.0 * i;
        outlined_line(
            cr, [&] { cairo_arc(cr, 18.5, 14.0, r, -0.7, 0.7); }, 1.6, 0.8,
            [&] { source(cr, light); }, CAIRO_LINE_CAP_ROUND);
    }
    // The notes: heads, stems and a beam in one filled shape.
    auto notes = [&] {
        cairo_new_path(cr);
        ellipse(cr, 6.8, 25.0, 3.6, 2.6, -0.38);
        ellipse(cr, 15.8, 22.5, 3.6, 2.6, -0.38);
        cairo_new_sub_path(cr);
        cairo_move_to(cr, 8.6, 25.0);
        cairo_line_to(cr, 8.6, 8.4);
        cairo_line_to(cr, 19.6, 5.2);
        cairo_line_to(cr, 19.6, 22.5);
        cairo_line_to(cr, 17.6, 22.5);
        cairo_line_to(cr, 17.6, 10.0);
        cairo_line_to(cr, 10.6, 12.2);
        cairo_line_to(cr, 10.6, 25.0);
        cairo_close_path(cr);
    };
    notes();
    source(cr, ink);
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    notes();
    linear(cr, 0, 4, 0, 28, {{0.0, light}, {0.45, mid}, {1.0, deep}});
    cairo_fill(cr);
}

// A speech balloon holding three lines of text.
void draw_captions(cairo_t* cr) {
    cairo_new_path(cr);
    const double x0 = 3.5, y0 = 4.5, x1 = 28.5, y1 = 22.5, r = 4.0;
    cairo_move_to(cr, x0 + r, y0);
    cairo_arc(cr, x1 - r, y0 + r, r, -pi / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, pi / 2);
    cairo_line_to(cr, 15.0, y1);
    cairo_line_to(cr, 7.5, 28.5);
    cairo_line_to(cr, 9.5, y1);
    cairo_arc(cr, x0 + r, y1 - r, r, pi / 2, pi);
    cairo_arc(cr, x0 + r, y0 + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
    linear(cr, 0, y0, 0, y1, {{0.0, hex(0xFFFFFF)}, {1.0, hex(0xC9E4FF)}});
    fill_and_outline(cr, 1.0);
    // The lines of text.
    const double lengths[3] = {17, 14, 9};
    for (int i = 0; i < 3; ++i) {
        rounded_rect(cr, 8, 8 + 4.5 * i, 8 + lengths[i], 10 + 4.5 * i, 1.0);
        source(cr, hex(0x1F4FA8));
        cairo_fill(cr);
    }
}

// A padlock: a steel shackle over a gold body with a keyhole.
void draw_password(cairo_t* cr) {
    outlined_line(
        cr,
        [&] {
            cairo_move_to(cr, 10.5, 15.0);
            cairo_arc(cr, 16.0, 10.5, 5.5, pi, 2 * pi);
            cairo_line_to(cr, 21.5, 15.0);
        },
        3.0, 1.0, [&] { linear(cr, 9, 0, 23, 0, {{0.0, hex(0xE8F0FA)}, {0.5, hex(0x9AA8BC)}, {1.0, hex(0x6A778C)}}); });
    cairo_new_path(cr);
    rounded_rect(cr, 6.5, 14.5, 25.5, 28.5, 2.5);
    linear(cr, 0, 14.5, 0, 28.5, {{0.0, hex(0xFFE9A0)}, {0.5, hex(0xF2B632)}, {1.0, hex(0xB8760E)}});
    fill_and_outline(cr, 1.0);
    // The keyhole.
    cairo_new_path(cr);
    cairo_arc(cr, 16.0, 20.0, 2.2, 0, 2 * pi);
    cairo_move_to(cr, 15.0, 21.0);
    cairo_line_to(cr, 17.0, 21.0);
    cairo_line_to(cr, 17.6, 25.5);
    cairo_line_to(cr, 14.4, 25.5);
    cairo_close_path(cr);
    source(cr, ink);
    cairo_fill(cr);
}

// A bold check mark.
void draw_ok(cairo_t* cr) {
    outlined_line(
        cr,
        [&] {
            cairo_move_to(cr, 8.0, 17.0);
            cairo_line_to(cr, 13.0, 22.0);
            cairo_line_to(cr, 23.5, 9.5);
        },
        4.6, 1.0, [&] { linear(cr, 0, 5, 0, 27, {{0.0, hex(0x9DF06A)}, {0.55, hex(0x3CB83A)}, {1.0, hex(0x177A2A)}}); });
}

// A small blue world with its meridians, circled by an orbit with a moon on it.
void draw_web(cairo_t* cr) {
    const double cx = 16, cy = 16, r = 9.8, tilt = -0.42, orx = 13.0, ory = 4.2;
    auto orbit = [&](double from, double to) {
        outlined_line(
            cr,
            [&] {
                cairo_save(cr);
                cairo_translate(cr, cx, cy);
                cairo_rotate(cr, tilt);
                cairo_scale(cr, orx, ory);
                cairo_arc(cr, 0, 0, 1, from, to);
                cairo_restore(cr);
            },
            1.4, 0.7, [&] { source(cr, hex(0xFFD257)); }, CAIRO_LINE_CAP_BUTT);
    };
    orbit(pi, 2 * pi);  // the far half, behind the world
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * pi);
    radial(cr, cx - 4, cy - 4.5, cx, cy, r, {{0.0, hex(0x9BE3FF)}, {0.45, hex(0x2F86E8)}, {1.0, hex(0x10307E)}});
    cairo_fill_preserve(cr);
    // Meridians and parallels, clipped to the disc.
    cairo_save(cr);
    cairo_clip(cr);
    source(cr, hex(0xD8F2FF), 0.55);
    cairo_set_line_width(cr, 0.8);
    for (double k : {0.0, 0.55, 0.9}) {
        cairo_new_path(cr);
        ellipse(cr, cx, cy, std::max(r * std::cos(k * pi / 2), 0.01), r, 0);
        cairo_stroke(cr);
    }
    for (double k : {-0.5, 0.0, 0.5}) {
        const double y = cy + k * r, half = r * std::sqrt(1 - k * k);
        cairo_new_path(cr);
        cairo_move_to(cr, cx - half, y);
        cairo_line_to(cr, cx + half, y);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * pi);
    source(cr, ink);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    orbit(0, pi);  // the near half, in front
    // The moon on the near half of the orbit.
    const double a = 0.32;
    const double mx = cx + orx * std::cos(a) * std::cos(tilt) - ory * std::sin(a) * std::sin(tilt);
    const double my = cy + orx * std::cos(a) * std::sin(tilt) + ory * std::sin(a) * std::cos(tilt);
    cairo_new_path(cr);
    cairo_arc(cr, mx, my, 2.0, 0, 2 * pi);
    radial(cr, mx - 0.7, my - 0.7, mx, my, 2.0, {{0.0, hex(0xFFFFFF)}, {1.0, hex(0xB8C4D6)}});
    fill_and_outline(cr, 1.0);
}

}  // namespace

const char* button_picture_name(ButtonPicture which) {
    switch (which) {
        case ButtonPicture::audio: return "audio";
        case ButtonPicture::captions: return "captions";
        case ButtonPicture::password: return "password";
        case ButtonPicture::ok: return "ok";
        case ButtonPicture::web: return "web";
    }
    return "";
}

kolvane::Image make_button_picture(ButtonPicture which) {
    Canvas canvas(32);
    switch (which) {
        case ButtonPicture::audio: draw_audio(canvas.cr); break;
        case ButtonPicture::captions: draw_captions(canvas.cr); break;
        case ButtonPicture::password: draw_password(canvas.cr); break;
        case ButtonPicture::ok: draw_ok(canvas.cr); break;
        case ButtonPicture::web: draw_web(canvas.cr); break;
    }
    return canvas.finish();
}

// ---- the logo ----------------------------------------------------------------------------------

// A ringed blue world, lit from the upper left like the title's, with a star beside it.
kolvane::Image make_logo_picture() {
    Canvas canvas(64);
    cairo_t* cr = canvas.cr;
    const double cx = 30, cy = 39.5, r = 16.5, tilt = -0.36, rx_out = 27.0, ry_out = 8.2, inner = 0.7;
    auto ring = [&] {
        cairo_new_path(cr);
        ellipse(cr, cx, cy, rx_out, ry_out, tilt);
        ellipse(cr, cx, cy, rx_out * inner, ry_out * inner, tilt);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    };
    auto paint_ring = [&] {
        ring();
        linear(cr, cx - rx_out, 0, cx + rx_out, 0, {{0.0, hex(0xF4FAFF)}, {0.35, hex(0xA9CDF0)}, {0.65, hex(0x7FA6D8)}, {1.0, hex(0x4A6AA3)}});
        fill_and_outline(cr, 1.4);
    };
    paint_ring();
    // The world hides the far side of the ring.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * pi);
    radial(cr, cx - 6, cy - 7, cx, cy, r, {{0.0, hex(0xA6ECFF)}, {0.35, hex(0x3A9BEA)}, {0.8, hex(0x1A4AA8)}, {1.0, hex(0x0E2466)}});
    cairo_fill_preserve(cr);
    // Faint cloud bands across it.
    cairo_save(cr);
    cairo_clip(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_new_path(cr);
        ellipse(cr, cx, cy - 7 + 7 * i, r * 1.1, 1.4, tilt);
        source(cr, hex(0xDFF6FF), 0.22);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * pi);
    source(cr, ink);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    // The near side of the ring, in front of the world: the lower half of the ring's own frame.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, tilt);
    cairo_rectangle(cr, -40, 0, 80, 40);
    cairo_restore(cr);
    cairo_clip(cr);
    paint_ring();
    cairo_reset_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    // A bright star at the upper right and a faint one at the upper left.
    struct Star {
        double x, y, r, waist;
    };
    for (const Star& s : {Star{51.0, 14.5, 9.0, 3.1}, Star{11.0, 12.0, 5.6, 1.7}}) {
        sparkle(cr, s.x, s.y, s.r, s.waist);
        radial(cr, s.x, s.y, s.x, s.y, s.r, {{0.0, hex(0xFFFFFF)}, {0.45, hex(0xFFF6C8)}, {1.0, hex(0xFFC940)}});
        fill_and_outline(cr, 1.0);
    }
    return canvas.finish();
}

}  // namespace assetgen
