// kolvane-assetgen: draws every picture and synthesises every sound of the screen saver.
//
//   kolvane-assetgen [--out DIR]        writes all assets under DIR (default: assets), the large
//                                       screens' set included: sprite-2x/3x.png, mask-2x/3x.png and
//                                       backgrounds/large/bg0.jpg ... bg9.jpg (1920 × 1080)
//   kolvane-assetgen --size WxH [--out DIR]
//                                       writes only the ten backgrounds, rendered at W × H, under
//                                       DIR/backgrounds-WxH (24-bit)
//
// The output is deterministic: the same bytes on every run.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "assets.h"

using namespace assetgen;

namespace {

int written = 0;

bool put(const std::string& path, const std::vector<std::uint8_t>& data) {
    if (data.empty() || !write_file(path, data)) {
        std::fprintf(stderr, "kolvane-assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    ++written;
    return true;
}

// The large backgrounds: 1920 × 1080, shown at their own shape and cropped to the screen's. Dark
// smooth skies show JPEG's blocks first: at 97 (full colour resolution, dithered like the 640 × 480
// set, so no bands) they stay invisible and the ten together take about 3.4 MB.
constexpr int large_w = 1920, large_h = 1080, large_jpeg_quality = 97;

bool inside(const Subject& s, const Subject& area) { return s.x0 >= area.x0 && s.y0 >= area.y0 && s.x1 <= area.x1 && s.y1 <= area.y1; }

// Writes the large backgrounds and the list of their subjects; refuses a subject a crop would cut.
bool put_large_backgrounds(const std::string& dir) {
    make_dirs(dir);
    bool ok = true;
    const Subject safe = crop_safe_area(large_w, large_h);
    std::string list =
        "# The subjects of the large backgrounds, as the generator placed them: picture, then the box x0 y0 x1 y1 in\n"
        "# pixels (x1 and y1 exclusive), then what it is. Every box lies inside " +
        std::to_string(static_cast<int>(safe.x0)) + " " + std::to_string(static_cast<int>(safe.y0)) + " " + std::to_string(static_cast<int>(safe.x1)) + " " +
        std::to_string(static_cast<int>(safe.y1)) + ", the part that every crop\n# to a screen from 5:4 (1280 x 1024) to 64:27 (2560 x 1080) keeps, 4:3 and 21:9 included.\n";
    for (int i = 0; i < background_count; ++i) {
        std::vector<Subject> subjects;
        const std::string name = "bg" + std::to_string(i) + ".jpg";
        ok &= put(dir + "/" + name, encode_jpeg(to_image(render_background(i, large_w, large_h, false, &subjects)), large_jpeg_quality));
        for (const Subject& s : subjects) {
            const Subject box{s.what, std::floor(s.x0), std::floor(s.y0), std::ceil(s.x1), std::ceil(s.y1)};
            if (!inside(box, safe)) {
                std::fprintf(stderr, "kolvane-assetgen: %s: %s lies outside the part every crop keeps\n", name.c_str(), s.what.c_str());
                ok = false;
            }
            char line[160];
            std::snprintf(line, sizeof line, "%s %d %d %d %d ", name.c_str(), static_cast<int>(box.x0), static_cast<int>(box.y0), static_cast<int>(box.x1),
                          static_cast<int>(box.y1));
            list += line + s.what + "\n";
        }
    }
    ok &= put(dir + "/subjects.txt", std::vector<std::uint8_t>(list.begin(), list.end()));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    std::string out = "assets";
    int size_w = 0, size_h = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else if (a == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &size_w, &size_h) != 2 || size_w < 16 || size_h < 16 || size_w > 16384 || size_h > 16384) {
                std::fprintf(stderr, "kolvane-assetgen: --size wants WxH, for example 1920x1080\n");
                return 2;
            }
        } else {
            std::fprintf(stderr, "usage: kolvane-assetgen [--out DIR] [--size WxH]\n");
            return 2;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    bool ok = true;
    if (size_w > 0) {
        const std::string dir = out + "/backgrounds-" + std::to_string(size_w) + "x" + std::to_string(size_h);
        make_dirs(dir);
        for (int i = 0; i < background_count; ++i)
            ok &= put(dir + "/bg" + std::to_string(i) + ".bmp", kolvane::encode_bmp(to_image(render_background(i, size_w, size_h, false))));
    } else {
        make_dirs(out + "/backgrounds");
        make_dirs(out + "/sounds");
        make_dirs(out + "/music");
        std::vector<kolvane::Image> backgrounds;
        for (int i = 0; i < background_count; ++i) {
            backgrounds.push_back(to_image(render_background(i, 640, 480, true)));
            ok &= put(out + "/backgrounds/bg" + std::to_string(i) + ".bmp", kolvane::encode_bmp(backgrounds.back(), kolvane::BmpFormat::rgb24));
        }
        const SpriteSheet sprites = make_sprite_sheet();
        std::vector<std::uint8_t> inside(sprites.mask.pixels.size());
        for (std::size_t i = 0; i < inside.size(); ++i) inside[i] = sprites.mask.pixels[i] == 0 ? 1 : 0;
        const kolvane::Image sheet = quantize(sprites.sheet, 256, true, inside);
        ok &= put(out + "/sprite.bmp", kolvane::encode_bmp(sheet, kolvane::BmpFormat::indexed8));
        ok &= put(out + "/mask.bmp", kolvane::encode_bmp(sprites.mask, kolvane::BmpFormat::indexed1));
        const kolvane::Image title = make_title_picture(), preview = make_preview_picture();
        ok &= put(out + "/title.bmp", kolvane::encode_bmp(title, kolvane::BmpFormat::indexed8));
        ok &= put(out + "/preview.bmp", kolvane::encode_bmp(preview, kolvane::BmpFormat::indexed8));
        make_dirs(out + "/buttons");
        std::vector<kolvane::Image> dialog;
        for (ButtonPicture b : button_pictures) {
            dialog.push_back(make_button_picture(b));
            ok &= put(out + "/buttons/" + button_picture_name(b) + ".bmp", kolvane::encode_bmp(dialog.back(), kolvane::BmpFormat::rgb24));
        }
        dialog.push_back(make_logo_picture());
        ok &= put(out + "/logo.bmp", kolvane::encode_bmp(dialog.back(), kolvane::BmpFormat::rgb24));
        ok &= put(out + "/sounds/title.wav", encode_wav(make_title_theme()));
        for (int n = 1; n <= 9; ++n) ok &= put(out + "/sounds/orvel" + std::to_string(n) + ".wav", encode_wav(make_effect(n)));
        for (const Tune& t : make_tunes()) ok &= put(out + "/music/" + t.name + ".mid", t.smf);
        if (write_contact_sheet(out + "/preview-sheet.png", backgrounds, sheet, title, preview, dialog)) ++written;
        else ok = false;
        const auto small_done = std::chrono::steady_clock::now();
        // The large screens' set: sheets drawn natively at 2× and 3× (full colour, lossless, so the
        // masks stay pure black and white) and the backgrounds at 1920 × 1080.
        std::vector<kolvane::Image> sheets{sheet};
        for (int scale : {2, 3}) {
            const SpriteSheet large = make_sprite_sheet(scale);
            const std::string suffix = "-" + std::to_string(scale) + "x.png";
            ok &= put(out + "/sprite" + suffix, encode_png(large.sheet));
            ok &= put(out + "/mask" + suffix, encode_png(large.mask));
            sheets.push_back(large.sheet);
        }
        if (write_sprite_contact_sheet(out + "/sprite-sheets-contact.png", sheets)) ++written;
        else ok = false;
        const auto sheets_done = std::chrono::steady_clock::now();
        ok &= put_large_backgrounds(out + "/backgrounds/large");
        std::fprintf(stderr, "kolvane-assetgen: 1x set %.1f s, 2x and 3x sheets %.1f s, large backgrounds %.1f s\n",
                     std::chrono::duration<double>(small_done - start).count(), std::chrono::duration<double>(sheets_done - small_done).count(),
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - sheets_done).count());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "kolvane-assetgen: wrote %d files under %s in %.1f s\n", written, out.c_str(), seconds);
    return ok ? 0 : 1;
}
