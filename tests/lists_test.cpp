// The list files: field rules, limits, saving and the first-run defaults.
#include <gtest/gtest.h>

#include <cstdio>

#include "lists/lists.h"
#include "scene/audio.h"
#include "startup/settings.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::TestApp;
using testing::write_file;
using Entries = std::vector<std::string>;

TEST(ListFields, CommasSplitAndQuotesKeepCommas) {
    EXPECT_EQ(split_list_fields("Hello, World\r\n", 100), (Entries{"Hello", "World"}));
    EXPECT_EQ(split_list_fields("\"Hello, World\"\r\n", 100), (Entries{"Hello, World"}));
    // Text after the closing quote up to the comma is dropped.
    EXPECT_EQ(split_list_fields("\"a\"junk,b\r\n", 100), (Entries{"a", "b"}));
    EXPECT_EQ(split_list_fields("  \t lead\r\n", 100), (Entries{"lead"}));
    EXPECT_EQ(split_list_fields("trail  \t\r\n", 100), (Entries{"trail"}));
}

TEST(ListFields, EveryKindOfLineEndEndsAField) {
    EXPECT_EQ(split_list_fields("a\r\nb\nc\rd", 100), (Entries{"a", "b", "c", "d"}));
    EXPECT_EQ(split_list_fields("a\rb\r", 100), (Entries{"a", "b"}));
}

TEST(ListFields, BlankLinesYieldNothingButEmptyFieldsBetweenCommasDo) {
    EXPECT_EQ(split_list_fields("a\r\n\r\n   \r\nb\r\n\r\n", 100), (Entries{"a", "b"}));
    EXPECT_EQ(split_list_fields("a,,b\r\n", 100), (Entries{"a", "", "b"}));
    EXPECT_EQ(split_list_fields("", 100), Entries{});
}

TEST(ListFields, HostileContentLoadsWithoutHarm) {
    // An unbalanced quote runs to the end of the text.
    EXPECT_EQ(split_list_fields("a\r\n\"open, never closed\r\nmore", 100),
              (Entries{"a", "open, never closed\r\nmore"}));
    // NUL bytes are dropped from entries.
    EXPECT_EQ(split_list_fields(std::string("x\0y\r\n", 5), 100), (Entries{"xy"}));
    const std::string long_line(200000, 'w');
    EXPECT_EQ(split_list_fields(long_line + "\r\n", 100), (Entries{long_line}));
}

TEST(ListFields, MoreEntriesThanTheLimitKeepTheFirstOnesAndSaySo) {
    std::string text;
    for (int i = 1; i <= 500; ++i) text += "file" + std::to_string(i) + ".wav\r\n";
    bool more = true;
    const auto full = split_list_fields(text + "\r\n  \r\n", 500, &more);
    ASSERT_EQ(full.size(), 500u);
    EXPECT_EQ(full.back(), "file500.wav");
    EXPECT_FALSE(more);  // blank lines after the last entry are no entries
    EXPECT_EQ(split_list_fields(text + "file501.wav\r\n", 500, &more), full);
    EXPECT_TRUE(more);
    // Commas count: one line of 101 pieces is over the caption limit.
    std::string captions = "c";
    for (int i = 0; i < 100; ++i) captions += ",c";
    EXPECT_EQ(split_list_fields(captions, 100, &more).size(), 100u);
    EXPECT_TRUE(more);
}

class ListFiles : public ::testing::Test {
protected:
    void SetUp() override {
        t.app.startup.windows_dir = dir.folder();
        t.app.settings.install_path = "C:\\INSTALL\\";
    }
    TempDir dir;
    TestApp t;
};

TEST_F(ListFiles, MissingFilesGiveEmptyLists) {
    t.app.lists.caption_count = 5;
    load_caption_list(t.app.startup.windows_dir, t.app.lists);
    load_audio_list(t.app.startup.windows_dir, t.app.lists);
    EXPECT_EQ(t.app.lists.caption_count, 0);
    EXPECT_EQ(t.app.lists.audio_file_count, 0);
}

TEST_F(ListFiles, SavedListsLoadBackAndEmptyListsLeaveEmptyFiles) {
    t.app.lists.caption_count = 2;
    t.app.lists.captions[1] = "First caption";
    t.app.lists.captions[2] = "\"Quoted, text\"";
    ASSERT_TRUE(save_caption_list(t.app.startup.windows_dir, t.app.lists));
    EXPECT_EQ(read_file(caption_list_path(t.app.startup.windows_dir)), "First caption\r\n\"Quoted, text\"\r\n");
    t.app.lists.caption_count = 0;
    load_caption_list(t.app.startup.windows_dir, t.app.lists);
    ASSERT_EQ(t.app.lists.caption_count, 2);
    EXPECT_EQ(t.app.lists.captions[2], "Quoted, text");

    t.app.lists.audio_file_count = 0;
    ASSERT_TRUE(save_audio_list(t.app.startup.windows_dir, t.app.lists));
    EXPECT_EQ(read_file(audio_list_path(t.app.startup.windows_dir)), "");
    load_audio_list(t.app.startup.windows_dir, t.app.lists);
    EXPECT_EQ(t.app.lists.audio_file_count, 0);
}

TEST_F(ListFiles, ReloadingTheAudioListFreesBothChannels) {
    write_file(audio_list_path(t.app.startup.windows_dir), "a.mid\r\nb.wav\r\n");
    t.app.scene.audio.midi_busy = 1;
    t.app.scene.audio.wav_busy = 1;
    reload_audio_list(t.app.scene);
    EXPECT_EQ(t.app.lists.audio_file_count, 2);
    EXPECT_EQ(t.app.scene.audio.midi_busy, 0);
    EXPECT_EQ(t.app.scene.audio.wav_busy, 0);
}

TEST_F(ListFiles, AnOversizedFileLoadsItsFirstEntriesAndAFailedSaveKeepsTheOldFile) {
    write_file(caption_list_path(t.app.startup.windows_dir), "a\r\nb\r\n" + std::string(max_list_file_bytes, 'x'));
    EXPECT_EQ(load_caption_list(t.app.startup.windows_dir, t.app.lists), ListLoad::cut);
    ASSERT_EQ(t.app.lists.caption_count, 2);  // the entry cut at the limit is not one
    EXPECT_EQ(t.app.lists.captions[2], "b");

    write_file(caption_list_path(t.app.startup.windows_dir), "old\r\n");
    t.app.startup.windows_dir = (dir.path() / "no-such-folder").string() + "/";
    t.app.lists.caption_count = 1;
    t.app.lists.captions[1] = "new";
    EXPECT_FALSE(save_caption_list(t.app.startup.windows_dir, t.app.lists));
    t.app.startup.windows_dir = dir.folder();
    EXPECT_EQ(read_file(caption_list_path(t.app.startup.windows_dir)), "old\r\n");
}

TEST_F(ListFiles, FirstRunWritesTheDefaultsOnce) {
    t.app.settings.run_once = 0;
    write_default_lists(t.app.startup.windows_dir, t.store, t.app.settings);
    EXPECT_EQ(t.app.settings.run_once, 1);
    EXPECT_EQ(t.store.value("run_once"), "1");
    std::string audio;
    for (int i = 1; i <= 9; ++i) audio += "C:\\INSTALL\\orvel" + std::to_string(i) + ".wav\r\n";
    EXPECT_EQ(read_file(audio_list_path(t.app.startup.windows_dir)), audio);
    EXPECT_EQ(read_file(caption_list_path(t.app.startup.windows_dir)),
              "Welcome To Kolvane Screen Saver\r\n"
              "You can adjust the frame rate and how often to launch an object\r\n");

    write_file(caption_list_path(t.app.startup.windows_dir), "mine\r\n");
    write_default_lists(t.app.startup.windows_dir, t.store, t.app.settings);
    EXPECT_EQ(read_file(caption_list_path(t.app.startup.windows_dir)), "mine\r\n");
}

// The settings deleted to reset the options: the next start is a first run, and the lists stay the user's.
TEST_F(ListFiles, AFirstRunWritesOnlyTheListsThatAreMissing) {
    write_file(caption_list_path(t.app.startup.windows_dir), "mine\r\n");
    t.app.settings.run_once = 0;
    ASSERT_TRUE(write_default_lists(t.app.startup.windows_dir, t.store, t.app.settings));
    EXPECT_EQ(read_file(caption_list_path(t.app.startup.windows_dir)), "mine\r\n");
    EXPECT_EQ(read_file(audio_list_path(t.app.startup.windows_dir)).substr(0, 23), "C:\\INSTALL\\orvel1.wav\r\n");
    EXPECT_EQ(t.store.value("run_once"), "1");
}

// The temporary file of a save goes to the disk before it takes the list file's place.
TEST_F(ListFiles, ASaveFlushesItsFileToTheDiskBeforeTheRename) {
    t.app.lists.caption_count = 1;
    t.app.lists.captions[1] = "kept";
    ASSERT_TRUE(save_caption_list(data_folders(t.app.startup, &t.system), t.app.lists));
    EXPECT_EQ(t.system.flushes, 1);
    EXPECT_EQ(read_file(caption_list_path(t.app.startup.windows_dir)), "kept\r\n");
}

TEST_F(ListFiles, AFirstRunThatCannotWriteTriesAgainNextTime) {
    t.app.startup.windows_dir = (dir.path() / "missing").string() + "/";
    t.app.settings.run_once = 0;
    write_default_lists(t.app.startup.windows_dir, t.store, t.app.settings);
    EXPECT_EQ(t.app.settings.run_once, 0);
    EXPECT_NE(t.store.value("run_once"), "1");
    t.app.startup.windows_dir = dir.folder();
    write_default_lists(t.app.startup.windows_dir, t.store, t.app.settings);
    EXPECT_EQ(t.app.settings.run_once, 1);
    EXPECT_EQ(t.store.value("run_once"), "1");
}

TEST_F(ListFiles, AStoreThatCannotKeepTheFirstRunMarkLeavesTheListsAlone) {
    // Were the lists written, the mark that cannot be kept would have them reset at every start.
    write_file(caption_list_path(t.app.startup.windows_dir), "mine\r\n");
    t.store.refuse_saves = true;
    t.app.settings.run_once = 0;
    write_default_lists(t.app.startup.windows_dir, t.store, t.app.settings);
    EXPECT_EQ(t.app.settings.run_once, 0);
    EXPECT_EQ(read_file(caption_list_path(t.app.startup.windows_dir)), "mine\r\n");
    EXPECT_FALSE(std::filesystem::exists(audio_list_path(t.app.startup.windows_dir)));
}

// What a file line must quote to read back as the one entry it was, and that plain entries stay plain.
TEST(ListField, QuotesExactlyWhatTheReaderWouldSplitOrTrim) {
    EXPECT_EQ(list_field("plain"), "plain");
    EXPECT_EQ(list_field("C:\\Music\\a b.wav"), "C:\\Music\\a b.wav");
    EXPECT_EQ(list_field("a,b"), "\"a,b\"");
    EXPECT_EQ(list_field(" lead"), "\" lead\"");
    EXPECT_EQ(list_field("trail\t"), "\"trail\t\"");
    EXPECT_EQ(list_field("line\nfeed"), "\"line\nfeed\"");  // a line feed alone ends a line too
    const std::vector<std::string> entries = {"a,b", " lead", "trail ", "two\r\nlines", "lf\nonly", "cr\ronly",
                                              "   ", "", "x, y, z", "plain"};
    std::string file;
    for (const std::string& e : entries) file += list_field(e) + "\r\n";
    EXPECT_EQ(split_list_fields(file, 100), entries);
}

// A count past the limit (a file of more entries would load as empty) writes the limit's worth.
TEST_F(ListFiles, SavingWritesNoMoreThanTheListMayHold) {
    for (int i = 1; i <= max_audio_files; ++i) {
        char name[16];  // formatted, not concatenated: GCC 12 warns wrongly about the concatenation at -O3
        std::snprintf(name, sizeof name, "f%d.wav", i);
        t.app.lists.audio_files[static_cast<std::size_t>(i)] = name;
    }
    t.app.lists.audio_file_count = max_audio_files + 5;
    ASSERT_TRUE(save_audio_list(t.app.startup.windows_dir, t.app.lists));
    load_audio_list(t.app.startup.windows_dir, t.app.lists);
    EXPECT_EQ(t.app.lists.audio_file_count, max_audio_files);
}

}  // namespace
}  // namespace kolvane
