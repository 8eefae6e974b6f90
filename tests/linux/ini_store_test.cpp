// The Linux settings store: INI text, atomic replacement, the install layer and the desktop switch.
#include <gtest/gtest.h>

#include <unistd.h>

#include "lists/lists.h"
#include "platform/sdl/ini_store.h"
#include "startup/settings.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

using kolvane::testing::read_file;
using kolvane::testing::TempDir;
using kolvane::testing::write_file;
namespace fs = std::filesystem;

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

TEST(IniText, TheFirstOfTwoEqualKeysIsReadAndReplaced) {
    // As Windows' own INI functions do: reading and writing meet at the first, so a saved value is read back.
    const std::string twice = "[Config]\nrun_once=1\nrun_once=0\n[Other]\nx=1\n[Config]\nrun_once=5\n";
    EXPECT_EQ(parse_ini(twice)["Config"]["run_once"], "1");
    EXPECT_EQ(parse_ini_section(twice, "Config")["run_once"], "1");
    const std::string saved = ini_with_value(twice, "Config", "run_once", "7");
    EXPECT_EQ(saved, "[Config]\nrun_once=7\nrun_once=0\n[Other]\nx=1\n[Config]\nrun_once=5\n");
    EXPECT_EQ(parse_ini(saved)["Config"]["run_once"], "7");
    // A key only in the second section of the name is found by both, and replaced there.
    const std::string later = ini_with_value(twice, "Config", "frame_rate", "20");
    EXPECT_EQ(parse_ini(later)["Config"]["frame_rate"], "20");
    EXPECT_EQ(parse_ini(ini_with_value(later, "Config", "frame_rate", "30"))["Config"]["frame_rate"], "30");
}

TEST(IniText, AByteOrderMarkIsSkippedAndKept) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string text = bom + "[Config]\r\ninstall_path=/opt/sounds\r\n";
    EXPECT_EQ(parse_ini(text)["Config"]["install_path"], "/opt/sounds");
    EXPECT_EQ(parse_ini(text).count(bom + "[Config]"), 0u);
    // Saved into the same section, with the file's own line breaks, the mark still first.
    EXPECT_EQ(ini_with_value(text, "Config", "frame_rate", "20"),
              bom + "[Config]\r\ninstall_path=/opt/sounds\r\nframe_rate=20\r\n");
    EXPECT_EQ(ini_with_value(bom, "Config", "run_once", "1"), bom + "[Config]\nrun_once=1\n");
}

TEST(IniText, NewSectionsAndEntriesFitTheLinesAround) {
    EXPECT_EQ(ini_with_value("a=1", "Config", "k", "v"), "a=1\n\n[Config]\nk=v\n");
    EXPECT_EQ(ini_with_value("a=1\n\n", "Config", "k", "v"), "a=1\n\n[Config]\nk=v\n");
    EXPECT_EQ(ini_with_value("[Config]\na=1", "Config", "k", "v"), "[Config]\na=1\nk=v\n");
    EXPECT_EQ(ini_with_value("[Config]\na=1\n\n[Next]\n", "Config", "k", "v"), "[Config]\na=1\nk=v\n\n[Next]\n");
    EXPECT_EQ(ini_with_value("[Config]\n; a=1\n", "Config", "a", "2"), "[Config]\n; a=1\na=2\n");
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

// One start of the program over a user settings file: settings loaded, the first-run lists written.
struct Start {
    headless::FakeSystem system;
    Settings settings;
    bool loaded = false;
};

// As Main does it: the install layer gives the install folder, the user file everything else.
void start_program(const fs::path& user, const fs::path& install, const std::string& data, Start& start) {
    IniStore store(user.string(), install.string());
    start.system.separator = '/';
    start.loaded = load_settings(store, start.system, start.settings);
    if (start.loaded) write_default_lists(data, store, start.settings);
}

TEST(IniStore, ADuplicatedFirstRunMarkKeepsTheLists) {
    TempDir dir;
    const auto user = dir.path() / "settings.ini";
    const std::string data = dir.folder();
    write_file(user, "[Config]\ninstall_path=/opt/sounds\nrun_once=1\nframe_rate=20\nrun_once=0\n");
    write_file(dir.path() / "Kolvane Captions.dat", "Mine\r\n");
    for (int run = 0; run < 2; ++run) {
        Start start;
        start_program(user, "", data, start);
        ASSERT_TRUE(start.loaded);
        EXPECT_EQ(start.settings.run_once, 1);
        EXPECT_EQ(start.settings.frame_rate, 20);
        IniStore store(user.string(), "");
        save_settings(store, start.settings);
    }
    EXPECT_EQ(read_file(dir.path() / "Kolvane Captions.dat"), "Mine\r\n");
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
