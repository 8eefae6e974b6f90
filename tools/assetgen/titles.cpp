// The configuration window's 320 × 240 title picture and the 150 × 112 preview picture: the
// title lettered in our own letters over a space scene of their own.
#include <algorithm>
#include <cstring>

#include "assets.h"
#include "raytrace.h"

namespace assetgen {
namespace {

constexpr int title_scene = 10;

struct Surface {
    cairo_surface_t* s;
    cairo_t* cr;
};

Surface surface_from(const kolvane::Image& img) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, img.width, img.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < img.height; ++y) std::memcpy(data + y * stride, &img.pixels[static_cast<std::size_t>(y * img.width)], static_cast<std::size_t>(img.width) * 4);
    cairo_surface_mark_dirty(s);
    return {s, cairo_create(s)};
}

kolvane::Image image_from(Surface& sf) {
    cairo_surface_flush(sf.s);
    const int w = cairo_image_surface_get_width(sf.s), h = cairo_image_surface_get_height(sf.s);
    kolvane::Image img(w, h);
    const unsigned char* data = cairo_image_surface_get_data(sf.s);
    const int stride = cairo_image_surface_get_stride(sf.s);
    for (int y = 0; y < h; ++y) {
        std::memcpy(&img.pixels[static_cast<std::size_t>(y * w)], data + y * stride, static_cast<std::size_t>(w) * 4);
        for (int x = 0; x < w; ++x) img.at(x, y) &= 0xFFFFFF;
    }
    cairo_destroy(sf.cr);
    cairo_surface_destroy(sf.s);
    return img;
}

// Chrome letters with a soft cyan glow and a dark outline.
void title_text(cairo_t* cr, const std::string& text, double cx, double base, double height, double spacing, double weight) {
    const double lw = height * weight;
    const double width = lettering_width(text, height, spacing);
    const double x = cx - width / 2;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_new_path(cr);
    lettering_path(cr, text, x, base, height, spacing);
    for (int i = 8; i >= 1; --i) {
        cairo_set_source_rgba(cr, 0.35, 0.75, 1.0, 0.035);
        cairo_set_line_width(cr, lw + i * height * 0.07);
        cairo_stroke_preserve(cr);
    }
    cairo_set_source_rgba(cr, 0.01, 0.02, 0.06, 0.85);
    cairo_set_line_width(cr, lw + std::max(1.2, height * 0.05));
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, base - height - lw / 2, 0, base + lw / 2);
    cairo_pattern_add_color_stop_rgb(g, 0.0, 1.0, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgb(g, 0.45, 0.80, 0.90, 1.0);
    cairo_pattern_add_color_stop_rgb(g, 0.55, 0.42, 0.56, 0.78);
    cairo_pattern_add_color_stop_rgb(g, 1.0, 0.78, 0.88, 1.0);
    cairo_set_source(cr, g);
    cairo_set_line_width(cr, lw);
    cairo_stroke(cr);
    cairo_pattern_destroy(g);
}

void caption_text(cairo_t* cr, const std::string& text, double cx, double base, double height, double spacing) {
    const double width = lettering_width(text, height, spacing);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_new_path(cr);
    lettering_path(cr, text, cx - width / 2, base, height, spacing);
    cairo_set_source_rgba(cr, 0.0, 0.02, 0.08, 0.7);
    cairo_set_line_width(cr, height * 0.17 + 1.4);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0.74, 0.86, 1.0);
    cairo_set_line_width(cr, height * 0.17);
    cairo_stroke(cr);
}


// Lays a rendered figure over a picture, blending its anti-aliased edge.
void overlay(kolvane::Image& img, const Figure& f, int x0, int y0) {
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const double a = f.coverage[static_cast<std::size_t>(y * f.width + x)];
            if (a <= 0 || x0 + x < 0 || y0 + y < 0 || x0 + x >= img.width || y0 + y >= img.height) continue;
            const std::uint32_t under = img.at(x0 + x, y0 + y);
            const std::uint32_t over = pack_srgb(f.colour[static_cast<std::size_t>(y * f.width + x)]);
            std::uint32_t out = 0;
            for (int sh = 0; sh <= 16; sh += 8) {
                const double u = srgb_to_linear(((under >> sh) & 0xFF) / 255.0), o = srgb_to_linear(((over >> sh) & 0xFF) / 255.0);
                const double v = linear_to_srgb(u + (o - u) * a);
                out |= static_cast<std::uint32_t>(std::lround(v * 255)) << sh;
            }
            img.at(x0 + x, y0 + y) = out;
        }
}

}  // namespace

kolvane::Image make_title_picture() {
    kolvane::Image scene = to_image(render_background(title_scene, 320, 240, false));
    overlay(scene, orbiter_side_figure(74, 34), 34, 150);
    Surface sf = surface_from(scene);
    title_text(sf.cr, "KOLVANE", 160, 104, 34, 0.34, 0.16);
    // A thin rule between the two lines.
    cairo_pattern_t* g = cairo_pattern_create_linear(60, 0, 260, 0);
    cairo_pattern_add_color_stop_rgba(g, 0.0, 0.5, 0.8, 1.0, 0.0);
    cairo_pattern_add_color_stop_rgba(g, 0.5, 0.7, 0.9, 1.0, 0.9);
    cairo_pattern_add_color_stop_rgba(g, 1.0, 0.5, 0.8, 1.0, 0.0);
    cairo_set_source(sf.cr, g);
    cairo_rectangle(sf.cr, 60, 117, 200, 1);
    cairo_fill(sf.cr);
    cairo_pattern_destroy(g);
    caption_text(sf.cr, "SCREEN SAVER", 160, 136, 9, 0.62);
    return quantize(image_from(sf), 256, true);
}

kolvane::Image make_preview_picture() {
    Surface sf = surface_from(to_image(render_background(title_scene, 150, 112, false)));
    title_text(sf.cr, "KOLVANE", 75, 54, 16, 0.34, 0.17);
    caption_text(sf.cr, "SCREEN SAVER", 75, 68, 5, 0.7);
    return quantize(image_from(sf), 256, true);
}

}  // namespace assetgen

namespace assetgen {

bool write_contact_sheet(const std::string& path, const std::vector<kolvane::Image>& backgrounds, const kolvane::Image& sheet, const kolvane::Image& title,
                         const kolvane::Image& preview, const std::vector<kolvane::Image>& dialog) {
    const int margin = 18, gap = 12, thumb_w = 320, thumb_h = 180, label = 22;
    const int width = margin * 2 + 5 * thumb_w + 4 * gap;
    const int top = margin + 34;
    const int lower = top + 2 * (thumb_h + label + gap) + 6;
    const int height = lower + std::max(sheet.height + 16 + label, title.height * 2 + 34 + preview.height * 2) + margin;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.075, 0.078, 0.09);
    cairo_paint(cr);
    auto text = [&](const std::string& t, double x, double y, double h, double r, double g, double b) {
        cairo_new_path(cr);
        lettering_path(cr, t, x, y, h, 0.42);
        cairo_set_line_width(cr, std::max(1.0, h * 0.15));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
        cairo_set_source_rgb(cr, r, g, b);
        cairo_stroke(cr);
    };
    text("KOLVANE ASSETS - BACKGROUNDS AS SEEN STRETCHED ON A 16:9 SCREEN", margin, margin + 16, 14, 0.85, 0.9, 1.0);
    auto draw = [&](const kolvane::Image& img, double x, double y, double w, double h, cairo_filter_t filter) {
        cairo_surface_t* src = cairo_image_surface_create(CAIRO_FORMAT_RGB24, img.width, img.height);
        cairo_surface_flush(src);
        unsigned char* data = cairo_image_surface_get_data(src);
        const int stride = cairo_image_surface_get_stride(src);
        for (int yy = 0; yy < img.height; ++yy)
            std::memcpy(data + yy * stride, &img.pixels[static_cast<std::size_t>(yy * img.width)], static_cast<std::size_t>(img.width) * 4);
        cairo_surface_mark_dirty(src);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, w / img.width, h / img.height);
        cairo_set_source_surface(cr, src, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), filter);
        cairo_rectangle(cr, 0, 0, img.width, img.height);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_surface_destroy(src);
    };
    for (std::size_t i = 0; i < backgrounds.size(); ++i) {
        const int col = static_cast<int>(i % 5), row = static_cast<int>(i / 5);
        const double x = margin + col * (thumb_w + gap), y = top + row * (thumb_h + label + gap);
        draw(backgrounds[i], x, y, thumb_w, thumb_h, CAIRO_FILTER_GOOD);
        const std::string name = std::to_string(i) + " " + background_title(static_cast<int>(i));
        const double h = std::min(8.0, 8.0 * (thumb_w - 4) / lettering_width(name, 8, 0.42));
        text(name, x, y + thumb_h + 15, h, 0.7, 0.75, 0.82);
    }
    // The sprite sheet on dark grey, one to one, and the two title pictures at twice their size.
    cairo_set_source_rgb(cr, 0.23, 0.235, 0.25);
    cairo_rectangle(cr, margin, lower, sheet.width, sheet.height);
    cairo_fill(cr);
    {
        // Sheet pixels that are black are the surround: show the grey through them.
        kolvane::Image shown = sheet;
        for (std::uint32_t& p : shown.pixels)
            if (p == 0) p = 0x3B3C40;
        draw(shown, margin, lower, sheet.width, sheet.height, CAIRO_FILTER_NEAREST);
    }
    text("SPRITE SHEET 720 X 606", margin, lower + sheet.height + 17, 9, 0.7, 0.75, 0.82);
    const double tx = margin + sheet.width + 24;
    draw(title, tx, lower, title.width * 2, title.height * 2, CAIRO_FILTER_NEAREST);
    text("TITLE 320 X 240 (SHOWN TWICE SIZE)", tx, lower + title.height * 2 + 17, 9, 0.7, 0.75, 0.82);
    const double py = lower + title.height * 2 + 34;
    draw(preview, tx, py, preview.width * 2, preview.height * 2, CAIRO_FILTER_NEAREST);
    text("PREVIEW 150 X 112: TWICE AND ACTUAL SIZE", tx + preview.width * 2 + 14, py + 14, 9, 0.7, 0.75, 0.82);
    draw(preview, tx + preview.width * 2 + 14, py + 30, preview.width, preview.height, CAIRO_FILTER_NEAREST);
    // The dialog pictures right of the title, on a grey button face: twice and actual size.
    if (!dialog.empty()) {
        const double dx = tx + title.width * 2 + 24, dy = lower;
        const double panel_w = width - margin - dx, panel_h = 348;
        cairo_set_source_rgb(cr, 192 / 255.0, 192 / 255.0, 192 / 255.0);
        cairo_rectangle(cr, dx, dy, panel_w, panel_h);
        cairo_fill(cr);
        auto on_face = [](kolvane::Image img) {
            for (std::uint32_t& p : img.pixels)
                if (p == button_key_colour) p = 0xC0C0C0;
            return img;
        };
        const kolvane::Image logo = on_face(dialog.back());
        draw(logo, dx + 12, dy + 12, logo.width * 2, logo.height * 2, CAIRO_FILTER_NEAREST);
        draw(logo, dx + 24 + logo.width * 2, dy + 12, logo.width, logo.height, CAIRO_FILTER_NEAREST);
        for (std::size_t i = 0; i + 1 < dialog.size(); ++i) {
            const kolvane::Image b = on_face(dialog[i]);
            const double bx = dx + 12 + static_cast<double>(i % 3) * 76, by = dy + 152 + static_cast<double>(i / 3) * 76;
            draw(b, bx, by, b.width * 2, b.height * 2, CAIRO_FILTER_NEAREST);
            draw(b, dx + 12 + static_cast<double>(i) * 44, dy + 304, b.width, b.height, CAIRO_FILTER_NEAREST);
        }
        text("DIALOG PICTURES", dx, dy + panel_h + 17, 9, 0.7, 0.75, 0.82);
    }
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

}  // namespace assetgen

namespace assetgen {

bool write_sprite_contact_sheet(const std::string& path, const std::vector<kolvane::Image>& sheets) {
    // Left: each sheet shrunk to 720 pixels across. Right: a few frames at one pixel per pixel at
    // every scale, the sizes they take on the screen.
    const int margin = 18, gap = 14, label = 22, frames[] = {13, 1, 11, 44, 68};
    const int left_h = static_cast<int>(sheets.size()) * (606 + label + gap);
    int right_w = 0, right_h = 0;
    for (int f : frames) {
        int row_w = 0, row_h = 0;
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            const FrameRect r = frame_rect(f, static_cast<int>(i) + 1);
            row_w += r.w + gap;
            row_h = std::max(row_h, r.h);
        }
        right_w = std::max(right_w, row_w);
        right_h += row_h + gap;
    }
    const int top = margin + 30;
    const int width = margin * 2 + 720 + 2 * gap + right_w, height = top + std::max(left_h, right_h + label) + margin;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.075, 0.078, 0.09);
    cairo_paint(cr);
    auto text = [&](const std::string& t, double x, double y, double h) {
        cairo_new_path(cr);
        lettering_path(cr, t, x, y, h, 0.42);
        cairo_set_line_width(cr, std::max(1.0, h * 0.15));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
        cairo_set_source_rgb(cr, 0.8, 0.85, 0.95);
        cairo_stroke(cr);
    };
    // The sheet's black surround shows as grey, so the figures' dark edges stay visible.
    auto draw = [&](const kolvane::Image& img, int sx, int sy, int sw, int sh, double at_x, double at_y, double k) {
        cairo_surface_t* src = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sw, sh);
        cairo_surface_flush(src);
        unsigned char* data = cairo_image_surface_get_data(src);
        const int stride = cairo_image_surface_get_stride(src);
        for (int yy = 0; yy < sh; ++yy)
            for (int xx = 0; xx < sw; ++xx) {
                const std::uint32_t p = img.at(sx + xx, sy + yy);
                const std::uint32_t shown = p == 0 ? 0x3B3C40u : p;
                std::memcpy(data + yy * stride + xx * 4, &shown, 4);
            }
        cairo_surface_mark_dirty(src);
        cairo_save(cr);
        cairo_translate(cr, at_x, at_y);
        cairo_scale(cr, k, k);
        cairo_set_source_surface(cr, src, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), k < 1 ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
        cairo_rectangle(cr, 0, 0, sw, sh);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_surface_destroy(src);
    };
    text("KOLVANE SPRITE SHEETS - 1X 2X 3X", margin, margin + 14, 14);
    double y = top;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const kolvane::Image& sheet = sheets[i];
        draw(sheet, 0, 0, sheet.width, sheet.height, margin, y, 720.0 / sheet.width);
        text(std::to_string(i + 1) + "X  " + std::to_string(sheet.width) + " X " + std::to_string(sheet.height) + " SHOWN AT 720 ACROSS", margin, y + 606 + 16, 9);
        y += 606 + label + gap;
    }
    const double rx = margin + 720 + 2 * gap;
    y = top;
    for (int f : frames) {
        double x = rx;
        int row_h = 0;
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            const FrameRect r = frame_rect(f, static_cast<int>(i) + 1);
            draw(sheets[i], r.x, r.y, r.w, r.h, x, y, 1.0);
            x += r.w + gap;
            row_h = std::max(row_h, r.h);
        }
        y += row_h + gap;
    }
    text("FRAMES 13 1 11 44 68 AT 1X 2X 3X  ONE TO ONE", rx, y + 10, 9);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

}  // namespace assetgen
