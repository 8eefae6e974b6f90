// The wallpaper snapshot: a real file in a temporary Windows directory, and the wallpaper call.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "render_fixture.h"
#include "scene/render/bmp.h"
#include "scene/render/compositor.h"
#include "scene/render/wallpaper.h"
#include "startup/system_services.h"

namespace kolvane {
namespace {

namespace fs = std::filesystem;
using testing::RenderScene;
// The Windows directory ends in the platform's separator, as the program keeps folders.
const std::string separator(1, static_cast<char>(fs::path::preferred_separator));

class Wallpaper : public ::testing::Test {
protected:
    Wallpaper() : scene(80, 50) {
        folder = fs::temp_directory_path() / ("kolvane_wallpaper_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        app.startup.windows_dir = folder.string() + separator;
    }
    ~Wallpaper() override { fs::remove_all(folder); }

    const headless::SystemCall* wallpaper_call() const {
        for (const headless::SystemCall& c : scene.system.calls)
            if (c.kind == headless::SystemCall::Kind::wallpaper) return &c;
        return nullptr;
    }

    fs::path folder;
    RenderScene scene;
    App& app = scene.app;
};

// The picture the snapshot must hold: the clean background with the active slots drawn in order.
Surface composed(const App& app) {
    Surface out = app.scene.surfaces.background_copy;
    for (int k = 1; k <= 25; ++k) {
        const int s = app.scene.sprites.draw_order[static_cast<std::size_t>(k)];
        if (app.scene.sprites.slot[static_cast<std::size_t>(s)].active == 0) continue;
        const SlotPicture p = slot_picture(app.scene, s);
        if (p.masked) bit_blt(out, p.x, p.y, p.width, p.height, app.scene.surfaces.mask, p.sheet_x, p.sheet_y, RasterOp::srcand);
        bit_blt(out, p.x, p.y, p.width, p.height, app.scene.surfaces.sprite, p.sheet_x, p.sheet_y, RasterOp::srcpaint);
    }
    return out;
}

bool file_holds(const fs::path& path, const Surface& expected) {
    const auto image = read_bmp(path.string());
    if (!image || image->width != expected.width() || image->height != expected.height()) return false;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (image->at(x, y) != expected.at(x, y)) return false;
    return true;
}

TEST_F(Wallpaper, SavesTheLastFrameWithoutCaptionOrClockAndSetsIt) {
    scene.place(1, 44, 10.0, 5.0);
    scene.place(2, 20, 60.0, 30.0);  // partly beyond the right edge
    scene.place(3, 68, 40.0, 40.0, false);
    scene.frame([] {});
    scene.overlays.set_visible(OverlayBox::caption, true);
    scene.overlays.set_visible(OverlayBox::clock, true);
    app.scene.run.repaint_request = 1;  // drawn all the same

    save_wallpaper(app.scene);

    const fs::path file = folder / "Kolvane Image.bmp";
    EXPECT_EQ(wallpaper_path(app.scene), file.string());
    ASSERT_TRUE(fs::exists(file));
    const Surface expected = composed(app);
    EXPECT_TRUE(file_holds(file, expected));
    EXPECT_TRUE(testing::same_pixels(*app.scene.surfaces.ascreen.persistent, expected));
    EXPECT_FALSE(scene.overlays.caption.visible);
    EXPECT_FALSE(scene.overlays.clock.visible);
    const headless::SystemCall* call = wallpaper_call();
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->path, file.string());
}

TEST_F(Wallpaper, AfterABackgroundChangeTheBareBackgroundIsSaved) {
    // No slot is active right after a change.
    save_wallpaper(app.scene);
    EXPECT_TRUE(file_holds(folder / "Kolvane Image.bmp", app.scene.surfaces.background_copy));
}

TEST_F(Wallpaper, ASecondRunOverwritesTheFirst) {
    save_wallpaper(app.scene);
    scene.place(1, 44, 20.0, -10.0);
    scene.frame([] {});
    save_wallpaper(app.scene);
    EXPECT_TRUE(file_holds(folder / "Kolvane Image.bmp", composed(app)));
}

TEST_F(Wallpaper, AFileThatCannotBeWrittenLeavesTheWallpaperAloneAndSaysSo) {
    app.startup.windows_dir = (folder / "missing" / "deeper").string() + separator;
    save_wallpaper(app.scene);
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_EQ(wallpaper_call(), nullptr);
    ASSERT_EQ(scene.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(scene.system.boxes[0]),
              std::string(wallpaper_unsaved_text) + "\r<" + app.startup.windows_dir + "Kolvane Image.bmp>");
}

TEST_F(Wallpaper, AWindowsDirectoryThatRefusesThePictureSendsItToTheUsersFolder) {
    // A folder standing where the picture would go: no write gets through it, not even root's.
    fs::create_directories(folder / "Kolvane Image.bmp");
    app.startup.per_user_dir = (folder / "user" / "Kolvane").string() + separator;
    save_wallpaper(app.scene);
    const fs::path file = folder / "user" / "Kolvane" / "Kolvane Image.bmp";
    EXPECT_TRUE(file_holds(file, app.scene.surfaces.background_copy));
    const headless::SystemCall* call = wallpaper_call();
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->path, file.string());
    EXPECT_EQ(wallpaper_path(app.scene), file.string());
    EXPECT_TRUE(scene.system.boxes.empty());
}

}  // namespace
}  // namespace kolvane
