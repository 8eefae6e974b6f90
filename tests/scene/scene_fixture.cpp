// The headless scene rig.
#include "tests/scene/scene_fixture.h"

#include "scene/render/scene_surfaces.h"
#include "scene/scene_window.h"
#include "scene/sprites/sprite_table.h"

namespace kolvane::testing {

std::optional<Image> SyntheticPictures::picture(std::string_view name) {
    if (name.size() == 3 && name.substr(0, 2) == "bg") {
        const auto i = static_cast<std::uint32_t>(name[2] - '0');
        return Image(background_picture_width, background_picture_height, 0x101010u * (i + 1) + 0x000020u);
    }
    if (name != "sprite" && name != "mask") return std::nullopt;
    const bool mask = name == "mask";
    Image sheet(sheet_width, sheet_height, mask ? 0xFFFFFFu : 0x000000u);
    // The frame table of a fresh scene says where each frame lies.
    headless::FakeSystem system;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    auto app = std::make_unique<App>(Platform{system, store, registry});
    init_sprites(app->scene);
    for (int f = 1; f < frame_count; ++f) {
        const FrameRect& r = app->scene.sprites.frame_table[static_cast<std::size_t>(f)];
        for (int y = r.sheet_y; y < r.sheet_y + r.height; ++y)
            for (int x = r.sheet_x; x < r.sheet_x + r.width; ++x)
                sheet.at(x, y) = mask ? 0x000000u : (0x40u + static_cast<std::uint32_t>(f) * 0x030507u) & 0xFFFFFFu;
    }
    return sheet;
}

SceneRig::SceneRig(int width, int height) : SceneBackend(width, height) {
    system.separator = static_cast<char>(std::filesystem::path::preferred_separator);
    system.windows_dir = dir.path().string();
    system.clock_ms = 5000;
    store.set("install_path", dir.folder());
    app = std::make_unique<App>(platform());
    app->startup.windows_dir = dir.folder();
    app->scene.random.seed(7);
    SyntheticPictures pictures;
    load_scene_pictures(app->scene, pictures);
}

void SceneRig::start() {
    Form_Load(app->scene);
    app->scene.run.activated_once = 1;
    scene_setup(app->scene);
    app->scene.run.frame_delay = app->settings.frame_rate;
}

bool SceneRig::frame() {
    app->scene.run.frame_start = static_cast<std::int32_t>(system.clock_ms);
    frame_work(app->scene);
    frame_wait(app->scene);
    return end_of_frame(app->scene);
}

}  // namespace kolvane::testing
