// The Linux settings store: INI text, atomic replacement, the install layer and the desktop switch.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "lists/lists.h"
#include "platform/sdl/ini_store.h"
#include "platform/sdl/linux_system.h"
#include "startup/settings.h"
#include "startup/system_services.h"
#include "tests/linux/file_faults.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

using kolvane::testing::FileSizeLimit;
using kolvane::testing::read_file;
using kolvane::testing::run_as_ordinary_user;
using kolvane::testing::TempDir;
using kolvane::testing::write_file;
namespace fs = std::filesystem;

long files_in(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator{});
}

// Waits until the file system's clock has moved past the file's last change, so a later change is
// bound to show in its times.
void let_file_settle(const fs::path& file) {
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    for (;;) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME_COARSE, &now);
        if (now.tv_sec > info.st_ctim.tv_sec || (now.tv_sec == info.st_ctim.tv_sec && now.tv_nsec > info.st_ctim.tv_nsec))
            return;
        timespec pause{0, 1'000'000};
        nanosleep(&pause, nullptr);
    }
}

// Sets (or, with nullptr, removes) an environment variable for one test and puts it back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedVariable() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

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
    EXPECT_EQ(files_in(user.parent_path()), 1);
}

TEST(IniStore, AFailedSaveLeavesTheOldFileWhole) {
    TempDir dir;
    const auto user = dir.path() / "settings.ini";
    write_file(user, "[Config]\nframe_rate=10\n");
    IniStore store(user.string(), "");
    {
        // The disk fills up part way through the new file.
        FileSizeLimit full_disk(16);
        EXPECT_FALSE(store.save(app_name, "Config", "frame_rate", "20"));
    }
    EXPECT_EQ(read_file(user), "[Config]\nframe_rate=10\n");
    EXPECT_EQ(store.get(app_name, "Config", "frame_rate", ""), "10");
    EXPECT_EQ(files_in(dir.path()), 1);  // no half-written temporary file is left
}

// A file over the cap is unreadable, as a damaged one: never read whole (a sparse 100 GB file ended both
// programs with bad_alloc), and never written over.
TEST(IniStore, AFileOverTheSizeCapIsUnreadableAndKept) {
    struct Row {
        const char* what;
        std::uintmax_t size;
        bool readable;
    };
    for (const Row& row : {Row{"at the cap", max_settings_file_bytes, true},
                           Row{"one byte over", max_settings_file_bytes + 1, false},
                           Row{"100 GB, sparse", std::uintmax_t{100} << 30, false}}) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        const auto user = dir.path() / "settings.ini";
        write_file(user, "[Config]\nframe_rate=20\n");
        fs::resize_file(user, row.size);
        IniStore store(user.string(), "");
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(store.get(app_name, "Config", "frame_rate", "45"), row.readable ? "20" : "45");
        EXPECT_EQ(store.user_file_readable(), row.readable);
        EXPECT_EQ(store.save(app_name, "Config", "audio_on", "0"), row.readable);
        const std::string said = ::testing::internal::GetCapturedStderr();
        if (row.readable) continue;
        EXPECT_NE(said.find("larger than 1 MiB"), std::string::npos) << said;
        EXPECT_EQ(fs::file_size(user), row.size);
        EXPECT_EQ(files_in(dir.path()), 1);
    }
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

TEST(IniStore, AFolderInPlaceOfTheFileIsNeitherReadNorWrittenOver) {
    TempDir dir;
    const auto user = dir.path() / "settings.ini";
    fs::create_directory(user);
    write_file(user / "keep", "mine");
    IniStore store(user.string(), "");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(store.get(app_name, "Config", "frame_rate", "45"), "45");
    EXPECT_FALSE(store.user_file_readable());
    EXPECT_FALSE(store.save(app_name, "Config", "run_once", "1"));
    EXPECT_FALSE(store.save(app_name, "Config", "frame_rate", "20"));
    const std::string said = ::testing::internal::GetCapturedStderr();
    // Said once, naming the file and what happens.
    EXPECT_NE(said.find("cannot read the settings file " + user.string()), std::string::npos) << said;
    EXPECT_EQ(said.find("cannot read", said.find("cannot read") + 1), std::string::npos) << said;
    EXPECT_TRUE(fs::is_directory(user));
    EXPECT_EQ(read_file(user / "keep"), "mine");
    EXPECT_EQ(files_in(dir.path()), 1);
}

// A settings file the user cannot read (mode 000, or in a folder they cannot open) is never written over,
// and the lists the user made stay as they are though the first-run mark cannot be read.
TEST(IniStore, AnUnreadableFileKeepsTheSettingsAndTheLists) {
    for (const bool folder_closed : {false, true}) {
        SCOPED_TRACE(folder_closed ? "folder without access" : "file of mode 000");
        TempDir dir;
        fs::permissions(dir.path(), fs::perms::all);
        const auto config = dir.path() / "config";
        const auto data = dir.path() / "data";
        fs::create_directories(config);
        fs::create_directories(data);
        fs::permissions(config, fs::perms::all);
        fs::permissions(data, fs::perms::all);
        const auto user = config / "settings.ini";
        const auto install = dir.path() / "install.ini";
        write_file(install, "[Config]\ninstall_path=/usr/share/kolvane/sounds\n");
        const std::string before = "[Config]\ninstall_path=/opt/sounds\nrun_once=1\nframe_rate=20\n";
        write_file(user, before);
        write_file(data / "Kolvane Captions.dat", "Mine\r\n");
        write_file(data / "Kolvane Audio Files.dat", "/home/me/song.wav\r\n");
        fs::permissions(data / "Kolvane Captions.dat", fs::perms::all);
        fs::permissions(data / "Kolvane Audio Files.dat", fs::perms::all);
        if (folder_closed) fs::permissions(config, fs::perms::owner_write | fs::perms::others_write);
        else fs::permissions(user, fs::perms::none);
        std::string said;
        const bool ran = run_as_ordinary_user(
            [&] {
                IniStore store(user.string(), "");
                if (store.save(app_name, "Config", "frame_rate", "30")) return false;
                Start start;
                start_program(user, install, data.string() + "/", start);
                return start.loaded && start.settings.run_once == 0 && !store.user_file_readable();
            },
            &said);
        EXPECT_TRUE(ran) << said;
        EXPECT_NE(said.find("cannot read the settings file"), std::string::npos) << said;
        fs::permissions(config, fs::perms::all);
        fs::permissions(user, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(read_file(user), before);
        EXPECT_EQ(read_file(data / "Kolvane Captions.dat"), "Mine\r\n");
        EXPECT_EQ(read_file(data / "Kolvane Audio Files.dat"), "/home/me/song.wav\r\n");
        EXPECT_EQ(files_in(config), 1);
    }
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
        EXPECT_TRUE(save_settings(store, start.settings));
    }
    EXPECT_EQ(read_file(dir.path() / "Kolvane Captions.dat"), "Mine\r\n");
}

TEST(IniStore, SavingKeepsTheFilesModeAndItsSymlink) {
    TempDir dir;
    fs::create_directories(dir.path() / "dotfiles");
    fs::create_directories(dir.path() / "config");
    const auto real = dir.path() / "dotfiles" / "kolvane.ini";
    const auto user = dir.path() / "config" / "settings.ini";
    write_file(real, "[Config]\nframe_rate=10\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
    fs::create_symlink("../dotfiles/kolvane.ini", user);
    IniStore store(user.string(), "");
    EXPECT_TRUE(store.save(app_name, "Config", "frame_rate", "20"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(user)));
    EXPECT_EQ(fs::read_symlink(user), "../dotfiles/kolvane.ini");
    EXPECT_EQ(read_file(real), "[Config]\nframe_rate=20\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                  fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(store.get(app_name, "Config", "frame_rate", ""), "20");
    EXPECT_EQ(files_in(dir.path() / "dotfiles"), 1);
    EXPECT_EQ(files_in(dir.path() / "config"), 1);
    // A new file holds the scrambled password: only its owner reads it.
    const auto fresh = dir.path() / "fresh.ini";
    IniStore new_store(fresh.string(), "");
    EXPECT_TRUE(new_store.save(app_name, "Config", "misc", "x"));
    EXPECT_EQ(fs::status(fresh).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// A link another user planted at the settings file: the superuser's save follows it only to that user's
// own file, never into one of its own.
TEST(IniStore, ALinkPlantedByAnotherUserIsFollowedOnlyToTheirOwnFile) {
    if (geteuid() != 0) GTEST_SKIP() << "files of two owners need the superuser";
    const uid_t planter = 54321;
    struct Row {
        const char* what;
        uid_t target_owner;
        bool saved;
    };
    const Row rows[] = {{"to the superuser's file", 0, false}, {"to the planter's own file", planter, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        const auto target = dir.path() / "target";
        const auto user = dir.path() / "settings.ini";
        write_file(target, "[Config]\nframe_rate=10\n");
        ASSERT_EQ(chown(target.c_str(), row.target_owner, row.target_owner), 0);
        fs::create_symlink(target, user);
        ASSERT_EQ(lchown(user.c_str(), planter, planter), 0);
        IniStore store(user.string(), "");
        EXPECT_EQ(store.save(app_name, "Config", "frame_rate", "20"), row.saved);
        EXPECT_EQ(read_file(target), row.saved ? "[Config]\nframe_rate=20\n" : "[Config]\nframe_rate=10\n");
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(user)));
        EXPECT_EQ(files_in(dir.path()), 2);
    }
}

TEST(IniStore, ReadsTheFileOnceUntilItChanges) {
    TempDir dir;
    const auto user = dir.path() / "settings.ini";
    write_file(user, "[Config]\ninstall_path=/opt/sounds\nframe_rate=20\n[Desktop]\nScreenSaveUsePassword=1\n");
    let_file_settle(user);
    IniStore store(user.string(), "");
    IniRegistry registry(store);
    headless::FakeSystem system;
    Settings settings;
    for (int load = 0; load < 3; ++load) {
        ASSERT_TRUE(load_settings(store, system, settings));
        EXPECT_TRUE(windows_password_enabled(registry));
    }
    EXPECT_EQ(settings.frame_rate, 20);
    EXPECT_EQ(store.file_reads(), 1);
    // Changed by someone else: read again, once.
    write_file(user, "[Config]\ninstall_path=/opt/sounds\nframe_rate=30\n");
    let_file_settle(user);
    ASSERT_TRUE(load_settings(store, system, settings));
    EXPECT_FALSE(windows_password_enabled(registry));
    EXPECT_EQ(settings.frame_rate, 30);
    EXPECT_EQ(store.file_reads(), 2);
    // After a save the saved value is what loads.
    EXPECT_TRUE(store.save(app_name, "Config", "frame_rate", "40"));
    ASSERT_TRUE(load_settings(store, system, settings));
    EXPECT_EQ(settings.frame_rate, 40);
}

TEST(DataFolders, WithoutHomeTheAccountsOwnFolderIsUsedNeverTmp) {
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    ScopedVariable data("XDG_DATA_HOME", nullptr);
    const passwd* account = getpwuid(geteuid());
    ASSERT_NE(account, nullptr);
    const std::string own = account->pw_dir;
    for (const char* home : {static_cast<const char*>(nullptr), ""}) {
        ScopedVariable unset("HOME", home);
        EXPECT_EQ(home_folder(), own);
        EXPECT_EQ(user_settings_file(), own + "/.config/kolvane/settings.ini");
    }
    // The data folder is made when asked for: checked as an account whose home does not exist.
    if (geteuid() != 0) GTEST_SKIP() << "the data folder is checked as the superuser only";
    EXPECT_TRUE(run_as_ordinary_user([] {
        unsetenv("HOME");
        const passwd* nobody = getpwuid(geteuid());
        const std::string folder = data_folder();
        return nobody && folder == std::string(nobody->pw_dir) + "/.local/share/kolvane/" &&
               folder.rfind("/tmp", 0) != 0;
    }));
}

TEST(DataFolders, ALongDataFolderIsKeptWhole) {
    TempDir dir;
    fs::path deep = dir.path();
    for (int i = 0; i < 8; ++i) deep /= std::string(40, static_cast<char>('a' + i));
    ScopedVariable data("XDG_DATA_HOME", deep.c_str());
    LinuxSystem system;
    const std::string folder = windows_directory(system);
    ASSERT_GT(folder.size(), 300u);
    EXPECT_EQ(folder, deep.string() + "/kolvane/");
    Lists lists;
    Settings settings;
    settings.install_path = "/opt/sounds/";
    headless::MemoryStore store;
    write_default_lists(folder, store, settings);
    EXPECT_EQ(settings.run_once, 1);
    load_caption_list(folder, lists);
    EXPECT_EQ(lists.caption_count, 2);
    EXPECT_TRUE(fs::exists(deep / "kolvane" / "Kolvane Captions.dat"));
    EXPECT_EQ(files_in(deep.parent_path()), 1);  // nothing landed beside the folder
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
