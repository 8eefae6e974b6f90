// kolvane-assetgen: draws every picture and synthesises every sound of the screen saver.
//
//   kolvane-assetgen [--out DIR]        writes all assets under DIR (default: assets)
//   kolvane-assetgen --size WxH [--out DIR]
//                                       writes only the ten backgrounds, rendered at W × H, under
//                                       DIR/backgrounds-WxH (24-bit)
//
// The output is deterministic: the same bytes on every run.
#include <chrono>
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
        std::vector<kolvane::Image> wide;
        if (write_contact_sheet(out + "/preview-sheet.png", backgrounds, sheet, title, preview, dialog)) ++written;
        else ok = false;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "kolvane-assetgen: wrote %d files under %s in %.1f s\n", written, out.c_str(), seconds);
    return ok ? 0 : 1;
}
