// kolvane-assetgen: writes every picture and sound of the screen saver under an output folder.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "assets.h"

using namespace assetgen;

int main(int argc, char** argv) {
    std::string out = "assets";
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) out = argv[++i];
        else if (a == "--only" && i + 1 < argc) only = argv[++i];
    }
    make_dirs(out);
    if (only.empty() || only == "sprites") {
        const SpriteSheet s = make_sprite_sheet();
        kolvane::write_bmp(out + "/sprite-full.bmp", s.sheet);
        kolvane::write_bmp(out + "/mask.bmp", s.mask, kolvane::BmpFormat::indexed1);
    }
    if (only.empty() || only == "bg") {
        make_dirs(out + "/backgrounds");
        for (int i = 0; i < background_count; ++i) {
            const FloatImage f = render_background(i, 640, 480, true);
            kolvane::write_bmp(out + "/backgrounds/bg" + std::to_string(i) + ".bmp", to_image(f));
        }
    }
    if (only.empty() || only == "titles") {
        kolvane::write_bmp(out + "/title.bmp", make_title_picture(), kolvane::BmpFormat::indexed8);
        kolvane::write_bmp(out + "/preview.bmp", make_preview_picture(), kolvane::BmpFormat::indexed8);
    }
    return 0;
}
