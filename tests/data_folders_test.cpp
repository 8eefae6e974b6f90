// The list files and the snapshot where the Windows directory refuses them: real files in temporary folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_dispatch.h"
#include "config_ui/audio_files_dialog.h"
#include "config_ui/captions_dialog.h"
#include "lists/data_folders.h"
#include "lists/lists.h"
#include "startup/system_services.h"
#include "tests/config_ui/fake_views.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::TempDir;
using testing::TestApp;
using testing::write_file;
const char sep = static_cast<char>(fs::path::preferred_separator);

// A Windows directory and a per-user folder (not made yet) inside one temporary folder. The Windows
// directory refuses a file when a folder stands in its place: no file is renamed over a folder, not
// even by root.
class DataFolderFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(windows());
        t.app.startup.windows_dir = windows().string() + sep;
        t.app.startup.per_user_dir = user().string() + sep;
        t.app.settings.install_path = "C:\\INSTALL\\";
    }
    fs::path windows() const { return dir.path() / "windows"; }
    fs::path user() const { return dir.path() / "user" / "Kolvane"; }
    void refuse(const std::string& name) {
        fs::remove(windows() / name);
        fs::create_directories(windows() / name / "in the way");
    }
    // A file where the per-user folder would be made.
    void block_user_folder() {
        fs::create_directories(user().parent_path());
        write_file(user(), "in the way");
    }
    DataFolders folders() const { return data_folders(t.app.startup); }

    TempDir dir;
    TestApp t;
};

TEST_F(DataFolderFiles, TheWindowsDirectoryKeepsTheFilesWhereItCanBeWritten) {
    t.app.lists.caption_count = 1;
    t.app.lists.captions[1] = "shared";
    ASSERT_TRUE(save_caption_list(folders(), t.app.lists));
    EXPECT_EQ(read_file(windows() / caption_list_name), "shared\r\n");
    EXPECT_FALSE(fs::exists(user()));
}

TEST_F(DataFolderFiles, ARefusedSaveLandsInTheUsersFolderAndIsReadBackFromThere) {
    write_file(windows() / caption_list_name, "From the Windows directory\r\n");
    // Until the first save the Windows directory's list is the one read.
    load_caption_list(folders(), t.app.lists);
    ASSERT_EQ(t.app.lists.caption_count, 1);
    EXPECT_EQ(t.app.lists.captions[1], "From the Windows directory");
    refuse(caption_list_name);

    t.app.lists.caption_count = 2;
    t.app.lists.captions[2] = "Saved by a standard user";
    ASSERT_TRUE(save_caption_list(folders(), t.app.lists));
    EXPECT_EQ(read_file(user() / caption_list_name), "From the Windows directory\r\nSaved by a standard user\r\n");
    EXPECT_TRUE(fs::exists(windows() / caption_list_name / "in the way"));
    t.app.lists.caption_count = 0;
    load_caption_list(folders(), t.app.lists);
    ASSERT_EQ(t.app.lists.caption_count, 2);
    EXPECT_EQ(t.app.lists.captions[2], "Saved by a standard user");
}

TEST_F(DataFolderFiles, OnceTheUserHasACopyItIsReadAndWrittenEvenWhereTheWindowsDirectoryWouldTakeIt) {
    write_file(windows() / audio_list_name, "C:\\old.wav\r\n");
    fs::create_directories(user());
    write_file(user() / audio_list_name, "C:\\mine.wav\r\n");
    load_audio_list(folders(), t.app.lists);
    ASSERT_EQ(t.app.lists.audio_file_count, 1);
    EXPECT_EQ(t.app.lists.audio_files[1], "C:\\mine.wav");
    t.app.lists.audio_files[1] = "C:\\newer.wav";
    ASSERT_TRUE(save_audio_list(folders(), t.app.lists));
    EXPECT_EQ(read_file(user() / audio_list_name), "C:\\newer.wav\r\n");
    EXPECT_EQ(read_file(windows() / audio_list_name), "C:\\old.wav\r\n");
}

TEST_F(DataFolderFiles, TheFirstRunWritesItsDefaultsIntoTheUsersFolderAndOnlyThenIsMarkedDone) {
    refuse(caption_list_name);
    refuse(audio_list_name);
    t.app.settings.run_once = 0;
    EXPECT_TRUE(write_default_lists(folders(), t.store, t.app.settings));
    EXPECT_EQ(t.store.value("run_once"), "1");
    EXPECT_EQ(read_file(user() / caption_list_name),
              "Welcome To Kolvane Screen Saver\r\nYou can adjust the frame rate and how often to launch an object\r\n");
    EXPECT_NE(read_file(user() / audio_list_name).find("C:\\INSTALL\\orvel9.wav\r\n"), std::string::npos);
}

TEST_F(DataFolderFiles, WithNoFolderToTakeThemTheFirstRunIsNotMarkedDone) {
    refuse(caption_list_name);
    block_user_folder();
    t.app.settings.run_once = 0;
    EXPECT_FALSE(write_default_lists(folders(), t.store, t.app.settings));
    EXPECT_EQ(t.app.settings.run_once, 0);
    EXPECT_NE(t.store.value("run_once"), "1");
}

TEST_F(DataFolderFiles, TheCaptionsDialogSaysWhenNoFolderTookTheListAndStaysOpen) {
    refuse(caption_list_name);
    block_user_folder();
    testing::FakeCaptionsView view;
    CaptionsDialog dialog{t.system, t.app.startup, t.app.lists, view};
    dialog.Form_Load();
    view.entry = "not lost";
    dialog.Command2_Click();
    dialog.Command1_Click();
    EXPECT_EQ(view.unloads, 0);
    ASSERT_EQ(t.system.boxes.size(), 1u);
    const auto& [text, title, kind] = t.system.boxes[0];
    EXPECT_EQ(title, captions_title);
    EXPECT_EQ(kind, MessageKind::warning);
    EXPECT_EQ(text, std::string(captions_unsaved_text) + "\r<" + (windows() / caption_list_name).string() + ">\r<" +
                        (user() / caption_list_name).string() + ">");
    EXPECT_EQ(view.list.lines, std::vector<std::string>{"not lost"});
}

TEST_F(DataFolderFiles, TheAudioFilesDialogSaysWhenNoFolderTookTheListAndStaysOpen) {
    refuse(audio_list_name);
    block_user_folder();
    testing::FakeAudioFilesView view;
    AudioFilesDialog dialog{t.system, t.app.startup, t.app.lists, view, nullptr};
    dialog.Form_Load();
    view.audio.add("C:\\kept.wav");
    dialog.Command3_Click();
    EXPECT_EQ(view.unloads, 0);
    ASSERT_EQ(t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<1>(t.system.boxes[0]), audio_files_title);
    EXPECT_EQ(std::get<0>(t.system.boxes[0]).rfind(audio_files_unsaved_text, 0), 0u);
    EXPECT_EQ(view.audio.lines, std::vector<std::string>{"C:\\kept.wav"});
    // Once a folder takes it, the save goes through and the dialog closes.
    fs::remove(user());
    dialog.Command3_Click();
    EXPECT_EQ(view.unloads, 1);
    EXPECT_EQ(read_file(user() / audio_list_name), "C:\\kept.wav\r\n");
}

// Main's modes that only record which ran.
struct NoModes : ModeEntries {
    int run_scene(App&) override { return 0; }
    int run_preview(App&) override { return 0; }
    int run_new_password(App&) override { return 0; }
    int run_configuration(App&) override { return 0; }
};

TEST_F(DataFolderFiles, MainFindsTheUsersFolderAndTellsTheConfigurationOnlyOfUnwritableDefaults) {
    t.system.separator = sep;
    t.system.windows_dir = windows().string();
    t.system.per_user_dir = user().string();
    t.store.set("install_path", "C:\\INSTALL");
    refuse(caption_list_name);
    block_user_folder();
    NoModes modes;
    Main(t.app, "/S", modes);
    EXPECT_EQ(t.app.startup.per_user_dir, user().string() + sep);
    EXPECT_TRUE(t.system.boxes.empty());
    Main(t.app, "/C", modes);
    ASSERT_EQ(t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<1>(t.system.boxes[0]), data_files_title);
    EXPECT_EQ(std::get<0>(t.system.boxes[0]).rfind(default_lists_unsaved_text, 0), 0u);

    fs::remove(user());
    Main(t.app, "/C", modes);
    EXPECT_EQ(t.system.boxes.size(), 1u);
    EXPECT_TRUE(fs::exists(user() / caption_list_name));
    EXPECT_EQ(t.store.value("run_once"), "1");
}

TEST(PerUserDirectory, EndsInTheSeparatorOrStaysEmpty) {
    TestApp t;
    t.system.separator = '\\';
    EXPECT_EQ(per_user_directory(t.system), "");
    t.system.per_user_dir = "C:\\Users\\me\\AppData\\Local\\Kolvane";
    EXPECT_EQ(per_user_directory(t.system), "C:\\Users\\me\\AppData\\Local\\Kolvane\\");
    t.system.per_user_dir += "\\";
    EXPECT_EQ(per_user_directory(t.system), "C:\\Users\\me\\AppData\\Local\\Kolvane\\");
}

}  // namespace
}  // namespace kolvane
