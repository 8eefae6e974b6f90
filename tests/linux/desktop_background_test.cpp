// Setting the desktop background: which desktops have a way, the commands, and running them for real.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>

#include "platform/sdl/desktop_background.h"
#include "platform/sdl/linux_system.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

TEST(DesktopBackground, FileUrisEncodeEverythingButPlainCharacters) {
    EXPECT_EQ(file_uri("/home/ann/.local/share/kolvane/Kolvane Image.bmp"),
              "file:///home/ann/.local/share/kolvane/Kolvane%20Image.bmp");
    EXPECT_EQ(file_uri("/tmp/a#b%c\xC3\xA9"), "file:///tmp/a%23b%25c%C3%A9");
}

TEST(DesktopBackground, GnomeFamilyDesktopsGetGsettingsOthersNothing) {
    const std::string picture = "/home/ann/Kolvane Image.bmp";
    const auto gnome = background_commands("ubuntu:GNOME", picture);
    ASSERT_EQ(gnome.size(), 2u);
    EXPECT_EQ(gnome[0], (Command{"gsettings", "set", "org.gnome.desktop.background", "picture-uri",
                                 "file:///home/ann/Kolvane%20Image.bmp"}));
    EXPECT_EQ(gnome[1][3], "picture-uri-dark");
    EXPECT_EQ(background_commands("gnome", picture).size(), 2u);
    const auto cinnamon = background_commands("X-Cinnamon", picture);
    ASSERT_EQ(cinnamon.size(), 1u);
    EXPECT_EQ(cinnamon[0][2], "org.cinnamon.desktop.background");
    const auto mate = background_commands("MATE", picture);
    ASSERT_EQ(mate.size(), 1u);
    EXPECT_EQ(mate[0][3], "picture-filename");
    EXPECT_EQ(mate[0][4], picture);  // MATE takes a plain path
    EXPECT_TRUE(background_commands("KDE", picture).empty());
    EXPECT_TRUE(background_commands("", picture).empty());
    EXPECT_TRUE(background_commands("GNOME-Flashback-ish", picture).empty());
}

// A PATH holding one fake program that records its arguments.
class FakeProgram : public ::testing::Test {
protected:
    void SetUp() override {
        saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        if (const char* d = std::getenv("XDG_CURRENT_DESKTOP")) saved_desktop_ = d;
        log_ = dir_.path() / "calls.log";
        setenv("PATH", (dir_.path().string() + ":/usr/bin:/bin").c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", saved_path_.c_str(), 1);
        if (saved_desktop_.empty()) unsetenv("XDG_CURRENT_DESKTOP");
        else setenv("XDG_CURRENT_DESKTOP", saved_desktop_.c_str(), 1);
    }
    void fake(const std::string& name, const std::string& body) {
        const auto path = dir_.path() / name;
        testing::write_file(path, "#!/bin/sh\n" + body + "\n");
        chmod(path.c_str(), 0755);
    }
    std::string calls() const { return std::filesystem::exists(log_) ? testing::read_file(log_) : ""; }
    testing::TempDir dir_;
    std::filesystem::path log_;
    std::string saved_path_, saved_desktop_;
};

TEST_F(FakeProgram, TheWallpaperRequestRunsGsettingsOnGnome) {
    fake("gsettings", "echo \"$@\" >> '" + log_.string() + "'");
    setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
    LinuxSystem system;
    system.set_desktop_wallpaper("/data/Kolvane Image.bmp");
    EXPECT_EQ(calls(), "set org.gnome.desktop.background picture-uri file:///data/Kolvane%20Image.bmp\n"
                       "set org.gnome.desktop.background picture-uri-dark file:///data/Kolvane%20Image.bmp\n");
}

TEST_F(FakeProgram, OtherDesktopsAreLeftAlone) {
    fake("gsettings", "echo \"$@\" >> '" + log_.string() + "'");
    setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
    LinuxSystem system;
    system.set_desktop_wallpaper("/data/Kolvane Image.bmp");
    EXPECT_EQ(calls(), "");
}

TEST_F(FakeProgram, CommandsReportFailureAndMissingPrograms) {
    fake("succeeds", "exit 0");
    fake("fails", "exit 3");
    EXPECT_TRUE(run_command({"succeeds"}));
    EXPECT_FALSE(run_command({"fails"}));
    EXPECT_FALSE(run_command({"no-such-program-anywhere"}));
    EXPECT_FALSE(run_command({}));
}

}  // namespace
}  // namespace kolvane::sdl
