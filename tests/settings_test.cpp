// Loading and saving the settings record, and reading the desktop password switch.
#include <gtest/gtest.h>

#include "startup/settings.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

using testing::TempDir;
using testing::TestApp;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.app.startup.windows_dir = dir.folder();
        t.system.separator = static_cast<char>(std::filesystem::path::preferred_separator);
        t.store.set("install_path", "C:\\Sounds");
    }
    TempDir dir;
    TestApp t;
};

TEST_F(SettingsTest, EmptyStoreGivesDefaultsAndMarksTheFirstRun) {
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    const Settings& s = t.app.settings;
    EXPECT_EQ(s.frame_rate, 45);
    EXPECT_EQ(s.save_as_wallpaper, 0);
    EXPECT_EQ(s.scroller_delay, 10);
    EXPECT_EQ(s.scroller_active, 1);
    EXPECT_EQ(s.show_time, "1");
    EXPECT_EQ(s.audio_seconds, 15);
    EXPECT_EQ(s.cycle_speed_value, 13);
    EXPECT_EQ(s.object_frequency, 5);
    EXPECT_EQ(s.audio_on, "1");
    EXPECT_EQ(s.stored_password, "");
    EXPECT_EQ(s.plain_password, "");
    EXPECT_EQ(s.run_once, 0);
    // Loading writes nothing at all: the first-run lists and their mark are the start-up's to write.
    EXPECT_EQ(t.store.saves, 0);
    EXPECT_FALSE(std::filesystem::exists(caption_list_path(t.app.startup.windows_dir)));
    write_default_lists(t.app.startup.windows_dir, t.store, t.app.settings);
    EXPECT_EQ(s.run_once, 1);
    EXPECT_EQ(t.store.value("run_once"), "1");
    EXPECT_FALSE(t.store.has("frame_rate"));
}

TEST_F(SettingsTest, InstallFolderGetsExactlyOneTrailingSeparator) {
    const std::string sep(1, t.system.separator);
    t.store.set("install_path", "C:\\Sounds");
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(t.app.settings.install_path, "C:\\Sounds" + sep);
    t.store.set("install_path", "C:\\Sounds" + sep);
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(t.app.settings.install_path, "C:\\Sounds" + sep);
    t.store.set("install_path", "Empty");
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(t.app.settings.install_path, "Empty" + sep);
}

TEST_F(SettingsTest, MissingInstallFolderShowsTheMessageAndStops) {
    t.store.set("install_path", "empty");
    EXPECT_FALSE(load_settings(t.store, t.system, t.app.settings));
    ASSERT_EQ(t.system.boxes.size(), 1u);
    const auto& [text, title, flags] = t.system.boxes[0];
    EXPECT_EQ(title, "Kolvane Screen Saver");
    EXPECT_EQ(flags, MessageKind::plain);
    EXPECT_EQ(text.rfind("Program Error!\r<Installation Path Not Found!>\r"
                         "Please remove this program and then install it again.\r\r"
                         "If the problem continues please contact Dravik Software at:\r",
                         0),
              0u);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    // Nothing was written: no list files and no first-run mark.
    EXPECT_FALSE(t.store.has("run_once"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(SettingsTest, ObjectScaleAndLargeBackgroundsDefaultToAutomaticAndOn) {
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(t.app.settings.object_scale, 0);
    EXPECT_TRUE(flag_on(t.app.settings.large_backgrounds));
    ASSERT_NE(find_setting("object_scale"), nullptr);
    ASSERT_NE(find_setting("large_backgrounds"), nullptr);
    EXPECT_STREQ(find_setting("object_scale")->option.name, "object-scale");
    EXPECT_STREQ(find_setting("large_backgrounds")->option.name, "large-backgrounds");
}

TEST_F(SettingsTest, ObjectScaleIsHeldToZeroToThreeAndLargeBackgroundsToOnOrOff) {
    for (const auto& [stored, loaded] : std::vector<std::pair<const char*, int>>{
             {"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 3}, {"99", 3}, {"-1", 0}, {"2.5", 2}, {"big", 0}}) {
        t.store.set("object_scale", stored);
        ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
        EXPECT_EQ(t.app.settings.object_scale, loaded) << stored;
    }
    for (const auto& [stored, on] : std::vector<std::pair<const char*, bool>>{
             {"0", false}, {"1", true}, {"-1", true}, {" 0 ", false}, {"never", true}}) {
        t.store.set("large_backgrounds", stored);
        ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
        EXPECT_EQ(flag_on(t.app.settings.large_backgrounds), on) << stored;
    }
    t.app.settings.object_scale = 3;
    t.app.settings.large_backgrounds = "0";
    EXPECT_TRUE(save_settings(t.store, t.app.settings));
    EXPECT_EQ(t.store.value("object_scale"), "3");
    EXPECT_EQ(t.store.value("large_backgrounds"), "0");
}

TEST(ObjectScale, AutomaticFollowsTheScreenWidthAndAChosenScaleStays) {
    EXPECT_EQ(object_scale_for(0, 640), 1);
    EXPECT_EQ(object_scale_for(0, 1599), 1);
    EXPECT_EQ(object_scale_for(0, 1600), 2);
    EXPECT_EQ(object_scale_for(0, 1920), 2);
    EXPECT_EQ(object_scale_for(0, 3200), 2);
    EXPECT_EQ(object_scale_for(0, 3201), 3);
    EXPECT_EQ(object_scale_for(0, 7680), 3);
    for (int chosen = 1; chosen <= 3; ++chosen) {
        EXPECT_EQ(object_scale_for(chosen, 640), chosen);
        EXPECT_EQ(object_scale_for(chosen, 3840), chosen);
    }
}

TEST_F(SettingsTest, FractionalNumbersRoundTiesToEven) {
    t.store.set("frame_rate", "10.5");
    t.store.set("audio_seconds", "5.5");
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(t.app.settings.frame_rate, 10);
    EXPECT_EQ(t.app.settings.audio_seconds, 6);
}

TEST_F(SettingsTest, NumbersBeyondWhatTheOptionsOfferLoadAsTheNearestOfferedValue) {
    t.store.set("frame_rate", "60000");  // a minute per frame would ignore every key
    t.store.set("scroller_delay", "-32768");
    t.store.set("audio_seconds", "0");
    t.store.set("cycle_speed_value", "2147483647");
    t.store.set("object_frequency", "-2147483648");
    t.store.set("save_as_wallpaper", "7");
    t.store.set("scroller_active", "-1");
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    const Settings& s = t.app.settings;
    EXPECT_EQ(s.frame_rate, 200);
    EXPECT_EQ(s.scroller_delay, 1);
    EXPECT_EQ(s.audio_seconds, 1);
    EXPECT_EQ(s.cycle_speed_value, 20);
    EXPECT_EQ(s.object_frequency, 1);
    EXPECT_EQ(s.save_as_wallpaper, 1);
    EXPECT_EQ(s.scroller_active, 1);
    // Loading judges the values; what the file holds is left as it was.
    EXPECT_EQ(t.store.get(app_name, config_section, "frame_rate", ""), "60000");
    t.store.set("frame_rate", "1");
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(t.app.settings.frame_rate, 5);
}

TEST_F(SettingsTest, TextThatIsNotANumberLoadsAsTheDefaultAndStaysStored) {
    t.store.set("frame_rate", "fast");
    t.store.set("save_as_wallpaper", "99999");  // does not fit the 16-bit field
    t.store.set("show_time", "yes");
    t.store.set("object_frequency", "");
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(t.app.settings.frame_rate, 45);
    EXPECT_EQ(t.app.settings.save_as_wallpaper, 0);
    EXPECT_EQ(t.app.settings.show_time, "1");
    EXPECT_EQ(t.app.settings.object_frequency, 5);
    EXPECT_EQ(t.store.value("frame_rate"), "fast");
    EXPECT_EQ(t.store.value("show_time"), "yes");
}

TEST_F(SettingsTest, FlagsKeepTheTextReadAndCompareAsNumbers) {
    t.store.set("show_time", " 0 ");
    t.store.set("audio_on", "-1");
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(t.app.settings.show_time, " 0 ");
    EXPECT_FALSE(flag_on(t.app.settings.show_time));
    EXPECT_TRUE(flag_on(t.app.settings.audio_on));
}

TEST_F(SettingsTest, SaveThenLoadGivesTheSameValuesAndLeavesInstallKeysAlone) {
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    Settings& s = t.app.settings;
    s.frame_rate = 120;
    s.save_as_wallpaper = 1;
    s.scroller_delay = 3;
    s.scroller_active = 0;
    s.show_time = "0";
    s.audio_seconds = 60;
    s.cycle_speed_value = 20;
    s.object_frequency = 1;
    s.audio_on = "0";
    s.plain_password = "SECRET";
    const std::string install_before = t.store.value("install_path");
    t.store.set("run_once", "7");
    EXPECT_TRUE(save_settings(t.store, t.app.settings));
    EXPECT_EQ(t.store.value("install_path"), install_before);
    EXPECT_EQ(t.store.value("run_once"), "7");
    EXPECT_EQ(t.store.value("frame_rate"), "120");
    EXPECT_EQ(t.store.value("misc").size(), 12u);

    t.store.set("run_once", "1");
    Settings before = s;
    s = Settings{};
    ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
    EXPECT_EQ(s.frame_rate, before.frame_rate);
    EXPECT_EQ(s.save_as_wallpaper, before.save_as_wallpaper);
    EXPECT_EQ(s.scroller_delay, before.scroller_delay);
    EXPECT_EQ(s.scroller_active, before.scroller_active);
    EXPECT_EQ(s.show_time, before.show_time);
    EXPECT_EQ(s.audio_seconds, before.audio_seconds);
    EXPECT_EQ(s.cycle_speed_value, before.cycle_speed_value);
    EXPECT_EQ(s.object_frequency, before.object_frequency);
    EXPECT_EQ(s.audio_on, before.audio_on);
    EXPECT_EQ(s.plain_password, "SECRET");
}

TEST(RegistryValue, DwordReadsAsThreeDigitsAndStringsAsStored) {
    headless::MemoryRegistry registry;
    const std::string desktop = "Control Panel\\Desktop";
    registry.set_dword(RegistryRoot::current_user, desktop, "ScreenSaveUsePassword", 1);
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, desktop, "ScreenSaveUsePassword"), "001");
    EXPECT_TRUE(windows_password_enabled(registry));
    registry.set_dword(RegistryRoot::current_user, desktop, "ScreenSaveUsePassword", 0);
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, desktop, "ScreenSaveUsePassword"), "000");
    EXPECT_FALSE(windows_password_enabled(registry));
    // A large number keeps only its first three characters.
    registry.set_dword(RegistryRoot::current_user, desktop, "ScreenSaveUsePassword", 12345);
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, desktop, "ScreenSaveUsePassword"), "123");
    registry.set_string(RegistryRoot::current_user, desktop, "ScreenSaveUsePassword", "1");
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, desktop, "ScreenSaveUsePassword"), "1");
    EXPECT_TRUE(windows_password_enabled(registry));
    registry.set_string(RegistryRoot::current_user, desktop, "ScreenSaveUsePassword", "0");
    EXPECT_FALSE(windows_password_enabled(registry));
    registry.set_string(RegistryRoot::current_user, desktop, "ScreenSaveUsePassword", "");
    EXPECT_FALSE(windows_password_enabled(registry));
}

TEST(RegistryValue, MissingValuesAndForeignRootsReadAsEmpty) {
    headless::MemoryRegistry registry;
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword"), "");
    EXPECT_FALSE(windows_password_enabled(registry));
    EXPECT_EQ(read_registry_value(registry, 0x7fffffffu, "x", "y"), "");
    EXPECT_EQ(read_registry_value(registry, 0x80000007u, "x", "y"), "");
    EXPECT_EQ(registry.queries, 2);  // roots out of range never reach the registry
}

}  // namespace
}  // namespace kolvane
