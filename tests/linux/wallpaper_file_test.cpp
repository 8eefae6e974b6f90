// The wallpaper snapshot's file: replaced whole or not at all, and never written through a symlink.
#include <gtest/gtest.h>

#include <filesystem>

#include "scene/render/bmp.h"
#include "tests/linux/file_faults.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

using kolvane::testing::FileSizeLimit;
using kolvane::testing::read_file;
using kolvane::testing::TempDir;
using kolvane::testing::write_file;
namespace fs = std::filesystem;

Image picture(std::uint32_t colour) {
    Image image(32, 24, colour);
    image.at(3, 4) = 0x123456;
    return image;
}

long files_in(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator{});
}

TEST(WallpaperFile, ASymlinkInItsPlaceIsReplacedNotFollowed) {
    TempDir dir;
    const auto victim = dir.path() / "victim.txt";
    const auto path = dir.path() / "Kolvane Image.bmp";
    write_file(victim, "somebody else's file");
    fs::create_symlink(victim, path);
    ASSERT_TRUE(write_bmp(path.string(), picture(0xFF0000)));
    EXPECT_EQ(read_file(victim), "somebody else's file");
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(path)));
    const auto back = read_bmp(path.string());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels, picture(0xFF0000).pixels);
    EXPECT_EQ(files_in(dir.path()), 2);
}

TEST(WallpaperFile, AFullDiskKeepsTheOldPictureWhole) {
    TempDir dir;
    const auto path = dir.path() / "Kolvane Image.bmp";
    ASSERT_TRUE(write_bmp(path.string(), picture(0x00FF00)));
    const std::string before = read_file(path);
    {
        FileSizeLimit full_disk(1000);  // the picture needs about 2.4 kB
        EXPECT_FALSE(write_bmp(path.string(), picture(0x0000FF)));
    }
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(files_in(dir.path()), 1);  // nothing half-written is left beside it
    // With room again the new picture replaces the old.
    ASSERT_TRUE(write_bmp(path.string(), picture(0x0000FF)));
    EXPECT_EQ(read_bmp(path.string())->pixels, picture(0x0000FF).pixels);
    EXPECT_EQ(files_in(dir.path()), 1);
}

TEST(WallpaperFile, AFolderInItsPlaceStaysAndTheWriteFails) {
    TempDir dir;
    const auto path = dir.path() / "Kolvane Image.bmp";
    fs::create_directory(path);
    write_file(path / "inside", "kept");
    EXPECT_FALSE(write_bmp(path.string(), picture(0)));
    EXPECT_EQ(read_file(path / "inside"), "kept");
    EXPECT_EQ(files_in(dir.path()), 1);
}

}  // namespace
}  // namespace kolvane
