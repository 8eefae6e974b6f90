// The command-line switch, the window number after /P, and Main's dispatch.
#include <gtest/gtest.h>

#include "app/main_dispatch.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

using testing::TempDir;
using testing::TestApp;

TEST(Switch, FirstTwoCharactersUpperCased) {
    EXPECT_EQ(parse_switch(""), Mode::configure);
    EXPECT_EQ(parse_switch("/c:4711"), Mode::configure);
    EXPECT_EQ(parse_switch("/C"), Mode::configure);
    EXPECT_EQ(parse_switch("/S"), Mode::scene);
    EXPECT_EQ(parse_switch("/s"), Mode::scene);
    EXPECT_EQ(parse_switch("/p 1234"), Mode::preview);
    EXPECT_EQ(parse_switch("/a"), Mode::new_password);
    EXPECT_EQ(parse_switch("/X"), Mode::none);
    EXPECT_EQ(parse_switch("-s"), Mode::none);
    EXPECT_EQ(parse_switch("/"), Mode::none);
    EXPECT_EQ(parse_switch(" /S"), Mode::none);
}

TEST(Switch, WindowNumberAfterP) {
    EXPECT_EQ(read_host_window("/p 1234"), 1234u);
    EXPECT_EQ(read_host_window("/P1234"), 1234u);
    EXPECT_EQ(read_host_window("/P \t 99 trailing"), 99u);
    EXPECT_EQ(read_host_window("/P"), 0u);
    EXPECT_EQ(read_host_window("/P abc"), 0u);
    EXPECT_EQ(read_host_window("/P 2.5"), 2u);
    EXPECT_EQ(read_host_window("/P 3.5"), 4u);
    EXPECT_EQ(read_host_window("/P 4294967295"), 4294967295u);
    EXPECT_EQ(read_host_window("/P 99999999999"), 0u);
}

class RecordingModes : public ModeEntries {
public:
    int run_scene(App& app) override { return record("scene", app); }
    int run_preview(App& app) override { return record("preview", app); }
    int run_new_password(App& app) override { return record("password", app); }
    int run_configuration(App& app) override { return record("configure", app); }
    std::string ran;
    bool saver_running_at_start = false;

private:
    int record(const char* mode, App& app) {
        ran = mode;
        saver_running_at_start = app.scene.run.saver_running;
        return 42;
    }
};

class MainTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.system.windows_dir = dir.path().string();
        t.system.separator = static_cast<char>(std::filesystem::path::preferred_separator);
        t.system.folder = "/opt/kolvane";
        t.system.twips_x = 14.5;
        t.system.twips_y = 15.5;
        t.store.set("install_path", "/opt/kolvane/sounds");
    }
    TempDir dir;
    TestApp t;
    RecordingModes modes;
};

TEST_F(MainTest, RecordsStartupValuesAndWritesFirstRunListsIntoTheWindowsFolder) {
    EXPECT_EQ(Main(t.app, "/S", modes), 42);
    EXPECT_EQ(modes.ran, "scene");
    EXPECT_TRUE(modes.saver_running_at_start);
    const std::string sep(1, t.system.separator);
    EXPECT_EQ(t.app.startup.app_path, "/opt/kolvane" + sep);
    EXPECT_EQ(t.app.startup.start_folder, t.app.startup.app_path);
    EXPECT_EQ(t.app.startup.windows_dir, dir.path().string() + sep);
    EXPECT_EQ(t.app.startup.twips_per_pixel_x, 14);
    EXPECT_EQ(t.app.startup.twips_per_pixel_y, 16);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Kolvane Captions.dat"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Kolvane Audio Files.dat"));
}

TEST_F(MainTest, DispatchesEachSwitch) {
    EXPECT_EQ(Main(t.app, "/p 1234", modes), 42);
    EXPECT_EQ(modes.ran, "preview");
    EXPECT_EQ(t.app.startup.host_window, 1234u);
    EXPECT_EQ(Main(t.app, "/A", modes), 42);
    EXPECT_EQ(modes.ran, "password");
    EXPECT_EQ(Main(t.app, "", modes), 42);
    EXPECT_EQ(modes.ran, "configure");
    EXPECT_EQ(Main(t.app, "/c:4711", modes), 42);
    EXPECT_EQ(modes.ran, "configure");
}

TEST_F(MainTest, UnknownSwitchesOpenNothing) {
    EXPECT_EQ(Main(t.app, "/X", modes), 0);
    EXPECT_EQ(Main(t.app, "-s", modes), 0);
    EXPECT_EQ(modes.ran, "");
}

TEST_F(MainTest, SecondSceneOrConfigurationEndsQuietly) {
    t.system.windows = {"screen saver running", "Kolvane Screen Saver Configuration"};
    EXPECT_EQ(Main(t.app, "/S", modes), 0);
    EXPECT_EQ(Main(t.app, "/C", modes), 0);
    EXPECT_EQ(modes.ran, "");
    EXPECT_FALSE(t.app.scene.run.saver_running);
    EXPECT_TRUE(t.system.boxes.empty());
}

// Where the backend keeps one scene per screen by its own means, another program's window of that
// title does not stop the scene (the configuration window's title still counts).
TEST_F(MainTest, SceneTitleDecidesNothingWhereTheBackendKeepsOneSceneItself) {
    t.system.windows = {"screen saver running", "Kolvane Screen Saver Configuration"};
    t.system.scene_by_title = false;
    EXPECT_EQ(Main(t.app, "/S", modes), 42);
    EXPECT_EQ(modes.ran, "scene");
    modes.ran.clear();
    EXPECT_EQ(Main(t.app, "/C", modes), 0);
    EXPECT_EQ(modes.ran, "");
}

TEST_F(MainTest, MissingInstallFolderEndsBeforeAnyWindow) {
    t.store.set("install_path", "empty");
    EXPECT_EQ(Main(t.app, "/S", modes), exit_install_folder_missing);
    EXPECT_EQ(modes.ran, "");
    EXPECT_EQ(t.system.boxes.size(), 1u);
}

}  // namespace
}  // namespace kolvane
