// The Linux settings store: INI text, atomic replacement, the install layer and the desktop switch.
#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/sdl/ini_store.h"
#include "startup/settings.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

using kolvane::testing::read_file;
using kolvane::testing::TempDir;
using kolvane::testing::write_file;

TEST(IniText, SettingAKeyKeepsEveryOtherLine) {
    const std::string before = "; my notes\n[Config]\nframe_rate=45\n\n[Desktop]\nScreenSaveUsePassword=1\n";
    const std::string after = ini_with_value(before, "Config", "frame_rate", "30");
    EXPECT_EQ(after, "; my notes\n[Config]\nframe_rate=30\n\n[Desktop]\nScreenSaveUsePassword=1\n");
    const std::string added = ini_with_value(after, "Config", "misc", "zazb");
    EXPECT_EQ(parse_ini(added)["Config"]["misc"], "zazb");
    EXPECT_EQ(parse_ini(added)["Config"]["frame_rate"], "30");
    EXPECT_EQ(parse_ini(added)["Desktop"]["ScreenSaveUsePassword"], "1");
    const std::string new_section = ini_with_value("", "Config", "run_once", "1");
    EXPECT_EQ(new_section, "[Config]\nrun_once=1\n");
}

TEST(IniText, ValuesWithSeparatorsAndLineBreaksRoundTrip) {
    const std::string value = "C:\\Sounds\\ with = sign\r\nand a second line";
    const std::string text = ini_with_value("", "Config", "install_path", value);
    EXPECT_EQ(parse_ini(text)["Config"]["install_path"], value);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST(IniStore, SavesAtomicallyAndReadsTheInstallLayerUnderneath) {
    TempDir dir;
    const auto user = dir.path() / "config" / "kolvane" / "settings.ini";
    const auto install = dir.path() / "settings-install.ini";
    write_file(install, "[Config]\ninstall_path=/usr/share/kolvane/sounds/\nframe_rate=99\n");
    IniStore store(user.string(), install.string());
    EXPECT_EQ(store.get(app_name, "Config", "install_path", "empty"), "/usr/share/kolvane/sounds/");
    EXPECT_EQ(store.get(app_name, "Config", "missing", "dflt"), "dflt");
    store.save(app_name, "Config", "frame_rate", "20");
    store.save(app_name, "Config", "run_once", "1");
    EXPECT_EQ(store.get(app_name, "Config", "frame_rate", "45"), "20");  // the user file wins
    EXPECT_EQ(read_file(user), "[Config]\nframe_rate=20\nrun_once=1\n");
    // No temporary files are left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(user.parent_path()),
                            std::filesystem::directory_iterator{}),
              1);
}

TEST(IniStore, AFailedSaveLeavesTheOldFileWhole) {
    TempDir dir;
    const auto user = dir.path() / "settings.ini";
    write_file(user, "[Config]\nframe_rate=10\n");
    // A directory where the temporary file must go makes the write fail, even for the superuser.
    std::filesystem::create_directory(user.string() + ".tmp." + std::to_string(getpid()));
    IniStore store(user.string(), "");
    store.save(app_name, "Config", "frame_rate", "20");
    EXPECT_EQ(read_file(user), "[Config]\nframe_rate=10\n");
    EXPECT_EQ(store.get(app_name, "Config", "frame_rate", ""), "10");
}

TEST(IniRegistry, DesktopSwitchComesFromTheDesktopSection) {
    TempDir dir;
    const auto user = dir.path() / "settings.ini";
    IniStore store(user.string(), "");
    IniRegistry registry(store);
    EXPECT_FALSE(windows_password_enabled(registry));
    write_file(user, "[Desktop]\nScreenSaveUsePassword=1\n");
    EXPECT_TRUE(windows_password_enabled(registry));
    write_file(user, "[Desktop]\nScreenSaveUsePassword=0\n");
    EXPECT_FALSE(windows_password_enabled(registry));
    // Other keys of the registry are not emulated.
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, "Software\\Other", "ScreenSaveUsePassword"), "");
}

}  // namespace
}  // namespace kolvane::sdl
