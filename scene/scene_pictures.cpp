// Loading the scene's pictures, choosing them for the screen, and decoding a large background when it is due.
#include "scene/scene_pictures.h"

#include <algorithm>
#include <cmath>

#include "scene/render/picture_codec.h"
#include "scene/render/surface.h"
#include "scene/scene.h"

namespace kolvane {

namespace {

bool is_background(std::string_view name) { return name.size() == 3 && name.substr(0, 2) == "bg"; }

}  // namespace

std::optional<Image> FolderPictures::picture(std::string_view name) {
    const std::string file(name);
    return read_bmp(folder_ + "/" + (is_background(name) ? "backgrounds/" : "") + file + ".bmp");
}

std::vector<std::uint8_t> FolderPictures::encoded(std::string_view name) {
    constexpr std::string_view large = "large-";
    if (name.substr(0, large.size()) == large && is_background(name.substr(large.size())))
        return read_file_bytes(folder_ + "/backgrounds/large/" + std::string(name.substr(large.size())) + ".jpg");
    return read_file_bytes(folder_ + "/" + std::string(name) + ".png");
}

namespace {
// The picture of the expected size, or a plain one of that size.
bool load_into(Surface& surface, PictureSource& source, const std::string& name, int width, int height,
               std::uint32_t fallback, bool as_mask) {
    const auto image = source.picture(name);
    if (image && image->width == width && image->height == height) {
        if (as_mask) mask_from_image(surface, *image);
        else surface_from_image(surface, *image);
        return true;
    }
    surface = Surface(width, height, fallback);
    return false;
}

// Every pixel of `small` as a square of scale x scale pixels.
void enlarge(Surface& out, const Surface& small, int scale) {
    out.resize(small.width() * scale, small.height() * scale);
    for (int y = 0; y < out.height(); ++y) {
        const std::uint32_t* in = small.row(y / scale);
        std::uint32_t* row = out.row(y);
        for (int x = 0; x < out.width(); ++x) row[x] = in[x / scale];
    }
}

// A sheet drawn at `scale`: the stored one when it decodes at exactly that size (true), else the plain
// one enlarged.
bool scaled_sheet(Surface& out, const std::vector<std::uint8_t>& stored, const Surface& plain, int scale,
                  bool as_mask) {
    const int width = plain.width() * scale, height = plain.height() * scale;
    const auto size = picture_size(stored);
    // Decoded straight into the surface: a picture of this size held twice would cost tens of megabytes.
    if (size && size->width == width && size->height == height && decode_picture_into(out, stored)) {
        if (as_mask)
            for (int y = 0; y < height; ++y) {
                std::uint32_t* row = out.row(y);
                for (int x = 0; x < width; ++x) {
                    const std::uint32_t p = row[x];
                    const std::uint32_t sum = ((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu);
                    row[x] = sum >= 3u * 128u ? white : black;  // as mask_from_image judges a pixel
                }
            }
        return true;
    }
    enlarge(out, plain, scale);
    return false;
}

}  // namespace

bool load_scene_pictures(Scene& scene, PictureSource& source) {
    SceneSurfaces& s = scene.surfaces;
    bool all = true;
    for (int i = 0; i < background_picture_count; ++i)
        all &= load_into(s.pictures[static_cast<std::size_t>(i)], source, "bg" + std::to_string(i),
                         background_picture_width, background_picture_height, 0x000000u, false);
    all &= load_into(s.sprite, source, "sprite", sheet_width, sheet_height, 0x000000u, false);
    all &= load_into(s.mask, source, "mask", sheet_width, sheet_height, 0xFFFFFFu, true);
    // Names built by appending: GCC 12 at -O3 misreads a short literal plus a number as overlapping copies.
    for (int i = 0; i < background_picture_count; ++i) {
        std::string name = "large-bg";
        name += static_cast<char>('0' + i);
        s.encoded.large_backgrounds[static_cast<std::size_t>(i)] = source.encoded(name);
    }
    for (int scale = 2; scale <= max_object_scale; ++scale) {
        const char suffix[] = {'-', static_cast<char>('0' + scale), 'x', '\0'};
        s.encoded.sprite[static_cast<std::size_t>(scale)] = source.encoded(std::string("sprite").append(suffix));
        s.encoded.mask[static_cast<std::size_t>(scale)] = source.encoded(std::string("mask").append(suffix));
    }
    s.main_picture = -1;
    s.sheet_scale = 1;
    s.sheet_runs.clear();
    s.scaled_sprite = Surface();
    s.scaled_mask = Surface();
    s.pictures_chosen = false;
    return all;
}

void choose_scene_pictures(Scene& scene) {
    SceneSurfaces& s = scene.surfaces;
    // The pictures are chosen for the screen the scene first starts on; a restart at another size
    // (a host window that was resized) keeps them, as the pictures it no longer needs are gone.
    if (s.pictures_chosen) {
        scene.run.object_scale = s.sheet_scale;
        s.next_picture_due = false;
        s.main_picture = -1;
        return;
    }
    const int scale = object_scale_for(scene.settings.object_scale, scene.run.screen_width);
    scene.run.object_scale = scale;
    s.sheet_scale = scale;
    if (scale > 1) {
        const auto at = static_cast<std::size_t>(scale);
        // Both are made whatever the first gives, so that the pair always matches the scale.
        const bool sprite_stored = scaled_sheet(s.scaled_sprite, s.encoded.sprite[at], s.sprite, scale, false);
        const bool mask_stored = scaled_sheet(s.scaled_mask, s.encoded.mask[at], s.mask, scale, true);
        const bool stored = sprite_stored && mask_stored;
        // Drawn from the larger sheets only, the scene keeps no plain ones (3.5 MB).
        if (stored) s.sprite = s.mask = Surface();
    }
    s.sheet_runs.build(s.sheet_mask(), s.sheet());
    for (auto* stored : {&s.encoded.sprite, &s.encoded.mask})
        for (auto& bytes : *stored) std::vector<std::uint8_t>().swap(bytes);

    s.large_backgrounds =
        flag_on(scene.settings.large_backgrounds) && scene.run.screen_width > large_backgrounds_above_width;
    // When every large picture is there, the ten plain ones (12 MB) are not kept: a large one that
    // fails to decode later shows black, as a missing plain picture does.
    bool every_large = s.large_backgrounds;
    for (const auto& bytes : s.encoded.large_backgrounds) every_large = every_large && picture_size(bytes).has_value();
    if (every_large)
        for (Surface& plain : s.pictures) plain = Surface();
    s.main_picture = -1;
    s.next_picture_due = false;
    s.pictures_chosen = true;
}

void load_background(Scene& scene, int index) {
    SceneSurfaces& s = scene.surfaces;
    // A 640 x 480 picture is copied again each time, as it always was; a large one is decoded only once.
    if (index == s.main_picture && s.main_is_large) return;
    const auto at = static_cast<std::size_t>(index);
    if (s.large_backgrounds) {
        // Let go of the old picture first: the decoder's own buffers then take its place, not add to it.
        s.background_main = Surface();
        s.main_is_large = decode_picture_into(s.background_main, s.encoded.large_backgrounds[at]);
    } else {
        s.main_is_large = false;
    }
    if (!s.main_is_large) {
        if (s.pictures[at].empty()) s.background_main = Surface(background_picture_width, background_picture_height);
        else s.background_main.assign(s.pictures[at]);
    }
    s.main_picture = index;
}

PixelRect background_area(const Scene& scene) {
    const int w = scene.run.screen_width, h = scene.run.screen_height;
    const Surface& picture = scene.surfaces.background_main;
    if (!scene.surfaces.main_is_large || picture.empty()) return {0, 0, w, h};
    // The larger of the two ratios covers the screen; the picture keeps its own shape.
    const double scale = std::max(static_cast<double>(w) / picture.width(), static_cast<double>(h) / picture.height());
    const int scaled_w = std::max(w, static_cast<int>(std::lround(picture.width() * scale)));
    const int scaled_h = std::max(h, static_cast<int>(std::lround(picture.height() * scale)));
    return {-((scaled_w - w) / 2), -((scaled_h - h) / 2), scaled_w, scaled_h};
}

bool prepare_next_background(Scene& scene) {
    SceneSurfaces& s = scene.surfaces;
    if (!s.next_picture_due) return false;
    s.next_picture_due = false;
    load_background(scene, (scene.rotation.current_picture + 1) % background_picture_count);
    return true;
}

}  // namespace kolvane
