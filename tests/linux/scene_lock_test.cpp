// Where the scene's lock lives: only in a folder no other user can write, so nobody else can hold it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/sdl/scene_lock.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

namespace fs = std::filesystem;

// The runtime and cache folders of one test, put back as they were afterwards.
class LockEnvironment {
public:
    LockEnvironment() {
        for (const char* name : names)
            if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
    }
    ~LockEnvironment() {
        for (const char* name : names) unsetenv(name);
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    }
    LockEnvironment(const LockEnvironment&) = delete;
    LockEnvironment& operator=(const LockEnvironment&) = delete;

private:
    static constexpr const char* names[] = {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME"};
    std::vector<std::pair<std::string, std::string>> saved_;
};

struct FolderRow {
    const char* what;
    std::function<void(const fs::path&)> make;
    bool private_one;
};

TEST(SceneLock, OnlyAFolderOfTheUsersOwnThatNobodyElseCanWriteIsPrivate) {
    const auto folder = [](mode_t mode) {
        return [mode](const fs::path& p) {
            fs::create_directory(p);
            ASSERT_EQ(chmod(p.c_str(), mode), 0);
        };
    };
    const std::vector<FolderRow> rows = {
        {"mode 0700", folder(0700), true},
        {"mode 0755", folder(0755), false},
        {"shared, mode 1777", folder(01777), false},
        {"a link to a private folder",
         [&](const fs::path& p) {
             folder(0700)(p.string() + "-target");
             fs::create_directory_symlink(p.string() + "-target", p);
         },
         false},
        {"a plain file", [](const fs::path& p) { testing::write_file(p, ""); }, false},
        {"missing", [](const fs::path&) {}, false},
        {"another user's, mode 0700",
         [&](const fs::path& p) {
             folder(0700)(p);
             if (geteuid() == 0) {
                 ASSERT_EQ(chown(p.c_str(), 65534, 65534), 0);
             }
         },
         geteuid() != 0},
    };
    testing::TempDir dir;
    for (const FolderRow& row : rows) {
        SCOPED_TRACE(row.what);
        const fs::path p = dir.path() / row.what;
        row.make(p);
        EXPECT_EQ(private_folder(p.string()), row.private_one);
    }
}

// A shared runtime folder is passed over for a private folder of the program's in the user's cache;
// the user's own runtime folder is taken as it is.
TEST(SceneLock, TheLockFolderIsTheRuntimeFolderOnlyWhenItIsPrivate) {
    LockEnvironment environment;
    testing::TempDir dir;
    const fs::path shared = dir.path() / "shared", own = dir.path() / "own", cache = dir.path() / "cache";
    fs::create_directory(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    fs::create_directory(own);
    ASSERT_EQ(chmod(own.c_str(), 0700), 0);
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);

    setenv("XDG_RUNTIME_DIR", shared.c_str(), 1);
    EXPECT_EQ(scene_lock_folder(), (cache / "kolvane").string());
    EXPECT_TRUE(private_folder(scene_lock_folder()));
    setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
    EXPECT_EQ(scene_lock_folder(), own.string());
    // A program folder in the cache that others could write is not taken either.
    setenv("XDG_RUNTIME_DIR", shared.c_str(), 1);
    ASSERT_EQ(chmod((cache / "kolvane").c_str(), 0777), 0);
    EXPECT_EQ(scene_lock_folder(), "");
    SceneLock lock;
    EXPECT_TRUE(lock.claim(scene_lock_folder(), ":0"));  // no lock, but the scene still runs
}

}  // namespace
}  // namespace kolvane::sdl
