// Window numbers as hosts pass them, and the display lookups when there is no display at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/sdl/linux_system.h"
#include "platform/sdl/x11_windows.h"
#include "startup/system_services.h"

namespace kolvane::sdl {
namespace {

TEST(WindowNumbers, DecimalOrHexadecimal) {
    EXPECT_EQ(parse_window_id("123"), 123u);
    EXPECT_EQ(parse_window_id("0x1F"), 31u);
    EXPECT_EQ(parse_window_id("0X1f"), 31u);
    EXPECT_EQ(parse_window_id("0x4e00007"), 0x4e00007u);
    // A leading zero is still decimal, not octal.
    EXPECT_EQ(parse_window_id("0123"), 123u);
    for (const char* bad : {"", "0", "0x", "12ab", "-5", "+5", " 5", "0x-1", "99999999999999999999999"})
        EXPECT_FALSE(parse_window_id(bad)) << bad;
}

// Runs a check with DISPLAY unset, as under the test command.
class NoDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* d = std::getenv("DISPLAY")) saved_ = d;
        unsetenv("DISPLAY");
    }
    void TearDown() override {
        if (!saved_.empty()) setenv("DISPLAY", saved_.c_str(), 1);
    }
    std::string saved_;
};

TEST_F(NoDisplay, EveryQuestionHasAPlainAnswer) {
    XDisplayLink link;
    EXPECT_FALSE(link.available());
    EXPECT_FALSE(link.window_titled_exists("screen saver running"));
    EXPECT_FALSE(link.window_size(0x400002));
    EXPECT_EQ(link.root_window(), 0u);
    EXPECT_DOUBLE_EQ(link.screen_dpi().x, 96.0);
    EXPECT_FALSE(link.take_exposure(0x400002));
}

TEST_F(NoDisplay, ScreenMeasuresFollowTheDpiAndTheSceneSize) {
    LinuxSystem system;
    EXPECT_DOUBLE_EQ(system.twips_per_pixel_x(), 15.0);  // 96 DPI without a display
    system.set_dpi({120.0, 144.0});
    system.set_scene_size(1920, 1080);
    EXPECT_DOUBLE_EQ(system.twips_per_pixel_x(), 12.0);
    EXPECT_DOUBLE_EQ(system.twips_per_pixel_y(), 10.0);
    EXPECT_FLOAT_EQ(system.screen_width_twips(), 1920 * 12.0f);
    EXPECT_FLOAT_EQ(system.screen_height_twips(), 1080 * 10.0f);
    EXPECT_FALSE(system.window_titled_exists("screen saver running"));
}

TEST(ScreenSaverState, RecordedAndTheWallpaperHandedOn) {
    LinuxSystem system;
    std::string wallpaper;
    system.set_wallpaper_setter([&](const std::string& path) { wallpaper = path; });
    system_keys_off(system);
    EXPECT_TRUE(system.saver_running_state());
    EXPECT_FALSE(system.saver_active_state());
    system_keys_on(system);
    EXPECT_FALSE(system.saver_running_state());
    EXPECT_TRUE(system.saver_active_state());
    set_wallpaper(system, "/home/u/.local/share/kolvane/Kolvane Image.bmp");
    EXPECT_EQ(wallpaper, "/home/u/.local/share/kolvane/Kolvane Image.bmp");
}

}  // namespace
}  // namespace kolvane::sdl
