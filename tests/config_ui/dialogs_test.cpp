// The configuration dialogs' logic over in-memory views: sliders, lists, limits, saving and the title sound.
#include <gtest/gtest.h>

#include <cstdio>

#include "config_ui/about_box.h"
#include "config_ui/audio_files_dialog.h"
#include "config_ui/captions_dialog.h"
#include "config_ui/configuration_window.h"
#include "config_ui/options_dialog.h"
#include "password/password_codec.h"
#include "platform/headless/headless_scene.h"
#include "tests/config_ui/fake_views.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::TestApp;

// ---- options dialog --------------------------------------------------------------------------

struct Options {
    Options() {
        t.store.set("install_path", "C:\\Sounds");
        load_settings(t.store, t.system, t.app.settings);
    }
    void open() { dialog.Form_Load(); }
    TestApp t;
    testing::FakeOptionsView view;
    OptionsDialog dialog{t.system, t.store, t.app.settings, view};
};

TEST(OptionsDialog, SlidersShowTheSettingsWithinTheTableRanges) {
    Options o;
    o.open();
    EXPECT_EQ(o.view.sliders[OptionSlider::frame_rate], 9);  // 45 ms
    EXPECT_EQ(o.view.sliders[OptionSlider::scene_length], 13);
    EXPECT_EQ(o.view.sliders[OptionSlider::object_frequency], 5);
    EXPECT_EQ(o.view.sliders[OptionSlider::caption_frequency], 10);
    EXPECT_EQ(o.view.sliders[OptionSlider::audio_frequency], 15);
    EXPECT_EQ(o.view.ranges[OptionSlider::frame_rate], std::make_pair(1, 40));
    EXPECT_EQ(o.view.ranges[OptionSlider::audio_frequency], std::make_pair(1, 60));
    EXPECT_EQ(o.view.ranges[OptionSlider::scene_length], std::make_pair(1, 20));
    EXPECT_TRUE(o.view.checks[OptionCheck::play_audio]);
    EXPECT_TRUE(o.view.checks[OptionCheck::display_time]);
    EXPECT_TRUE(o.view.checks[OptionCheck::display_captions]);
    EXPECT_FALSE(o.view.checks[OptionCheck::save_as_wallpaper]);
    EXPECT_TRUE(o.view.checks[OptionCheck::large_backgrounds]);
    EXPECT_EQ(o.view.choices[OptionChoice::object_size], 0);  // automatic
    EXPECT_EQ(o.t.store.saves, 0);  // nothing is written while the dialog is open
}

TEST(OptionsDialog, ObjectSizeAndLargeBackgroundsShowTheStoredValuesAndAreSaved) {
    for (int stored = 0; stored <= 3; ++stored) {
        Options o;
        o.t.store.set("object_scale", std::to_string(stored));
        o.t.store.set("large_backgrounds", "0");
        load_settings(o.t.store, o.t.system, o.t.app.settings);
        o.open();
        EXPECT_EQ(o.view.choices[OptionChoice::object_size], stored);
        EXPECT_FALSE(o.view.checks[OptionCheck::large_backgrounds]);
        o.view.choices[OptionChoice::object_size] = 3 - stored;
        o.view.checks[OptionCheck::large_backgrounds] = true;
        o.dialog.Form_Unload();
        EXPECT_EQ(o.t.store.value("object_scale"), std::to_string(3 - stored));
        EXPECT_EQ(o.t.store.value("large_backgrounds"), "1");
        EXPECT_EQ(o.t.app.settings.object_scale, 3 - stored);
    }
}

TEST(OptionsDialog, AnObjectSizeOutsideTheListShowsAtTheNearestEndAndNoChoiceKeepsTheSetting) {
    Options o;
    o.t.store.set("object_scale", "9");
    load_settings(o.t.store, o.t.system, o.t.app.settings);
    o.t.app.settings.object_scale = 9;
    o.open();
    EXPECT_EQ(o.view.choices[OptionChoice::object_size], 3);
    o.view.choices.clear();  // a list with nothing chosen
    o.dialog.Form_Unload();
    EXPECT_EQ(o.t.store.value("object_scale"), "9");
    EXPECT_EQ(std::size(object_size_items), 4u);
}

TEST(OptionsDialog, ZeroesAreReplacedInTheSettingsAndOutOfRangeValuesShowAtTheNearestEnd) {
    Options o;
    Settings& s = o.t.app.settings;
    s.frame_rate = 0;
    s.cycle_speed_value = 0;
    s.audio_seconds = 0;
    s.object_frequency = 35;
    s.scroller_delay = -4;
    o.open();
    EXPECT_EQ(s.frame_rate, 20);
    EXPECT_EQ(s.cycle_speed_value, 1);
    EXPECT_EQ(s.audio_seconds, 1);
    EXPECT_EQ(o.view.sliders[OptionSlider::frame_rate], 4);
    EXPECT_EQ(o.view.sliders[OptionSlider::object_frequency], 20);
    EXPECT_EQ(o.view.sliders[OptionSlider::caption_frequency], 1);
    o.dialog.Form_Unload();
    EXPECT_EQ(o.t.store.value("frame_rate"), "20");
    EXPECT_EQ(o.t.store.value("cycle_speed_value"), "1");
    EXPECT_EQ(o.t.store.value("object_frequency"), "20");
    EXPECT_EQ(o.t.store.value("scroller_delay"), "1");
}

TEST(OptionsDialog, FrameRatesRoundToTheNearestFiveWhenTheDialogCloses) {
    for (const auto& [stored, saved] : std::vector<std::pair<const char*, const char*>>{
             {"47", "45"}, {"48", "50"}, {"5", "5"}, {"200", "200"}, {"1000", "200"}, {"2", "5"}}) {
        Options o;
        o.t.store.set("frame_rate", stored);
        load_settings(o.t.store, o.t.system, o.t.app.settings);
        o.open();
        o.dialog.Form_Unload();  // the title-bar close saves exactly as Ok does
        EXPECT_EQ(o.t.store.value("frame_rate"), saved) << stored;
        EXPECT_EQ(o.t.app.settings.frame_rate, std::stoi(saved)) << stored;
    }
}

TEST(OptionsDialog, ControlsAreWrittenBackAndTheChangedKeysSaved) {
    Options o;
    o.open();
    o.t.app.settings.plain_password = "KEY";  // set by the password dialog it opened
    o.view.sliders[OptionSlider::frame_rate] = 40;
    o.view.sliders[OptionSlider::audio_frequency] = 60;
    o.view.checks[OptionCheck::play_audio] = false;
    o.view.checks[OptionCheck::save_as_wallpaper] = true;
    o.dialog.Command1_Click();
    EXPECT_EQ(o.view.unloads, 1);
    o.dialog.Form_Unload();
    EXPECT_EQ(o.t.store.value("frame_rate"), "200");
    EXPECT_EQ(o.t.store.value("audio_seconds"), "60");
    EXPECT_EQ(o.t.store.value("audio_on"), "0");
    EXPECT_FALSE(o.t.store.has("show_time"));  // left as it was
    EXPECT_EQ(o.t.store.value("save_as_wallpaper"), "1");
    EXPECT_EQ(o.t.store.value("misc"), encode_password_text("KEY"));
    EXPECT_EQ(o.t.store.value("install_path"), "C:\\Sounds");  // never written by the dialog
    EXPECT_FALSE(o.t.store.has("run_once"));
    o.dialog.Command2_Click();
    o.dialog.Command7_Click();
    o.dialog.Command8_Click();
    EXPECT_EQ(o.view.opened, (std::vector<std::string>{"password", "captions", "audio"}));
}

// What other programs store while the dialog is open (a password set with /A, a frame rate) stays,
// unless this dialog changed the same key; a failed save keeps the dialog open once, with a message.
TEST(OptionsDialog, KeysStoredMeanwhileElsewhereAreKeptAndAFailedSaveIsReported) {
    struct Case {
        const char* name;
        bool refuse;       // the store refuses every value
        bool closes;       // Form_Unload lets the dialog go
        std::size_t boxes;
    };
    for (const Case& c : {Case{"saved", false, true, 0}, Case{"refused", true, false, 1}}) {
        Options o;
        o.t.app.settings.plain_password = "OLD";
        o.t.store.set("misc", encode_password_text("OLD"));
        o.open();
        o.t.store.set("misc", encode_password_text("NEW"));  // /A in another process
        o.t.store.set("frame_rate", "150");
        o.view.sliders[OptionSlider::scene_length] = 2;
        o.t.store.refuse_saves = c.refuse;
        o.dialog.Command1_Click();
        EXPECT_EQ(o.dialog.Form_Unload(), c.closes) << c.name;
        EXPECT_EQ(o.t.system.boxes.size(), c.boxes) << c.name;
        EXPECT_EQ(o.t.store.value("misc"), encode_password_text("NEW")) << c.name;
        EXPECT_EQ(o.t.store.value("frame_rate"), "150") << c.name;
        EXPECT_EQ(o.t.store.value("cycle_speed_value"), c.refuse ? "" : "2") << c.name;
        if (!c.refuse) continue;
        EXPECT_EQ(std::get<2>(o.t.system.boxes[0]), MessageKind::warning);
        o.t.store.refuse_saves = false;  // a retry that works closes the dialog without a second box
        EXPECT_TRUE(o.dialog.Form_Unload());
        EXPECT_EQ(o.t.store.value("cycle_speed_value"), "2");
        EXPECT_EQ(o.t.system.boxes.size(), 1u);
    }
}

// ---- captions dialog ---------------------------------------------------------------------------

struct Captions {
    Captions() { t.app.startup.windows_dir = dir.folder(); }
    std::string file() { return read_file(caption_list_path(dir.folder())); }
    TempDir dir;
    TestApp t;
    testing::FakeCaptionsView view;
    CaptionsDialog dialog{t.system, t.app.startup, t.app.lists, view};
};

TEST(CaptionsDialog, EnterAddsTheTextWhichStaysAndSaveWritesTheLinesInOrder) {
    Captions c;
    testing::write_file(caption_list_path(c.dir.folder()), "first\r\n");
    c.dialog.Form_Load();
    ASSERT_EQ(c.view.list.lines, std::vector<std::string>{"first"});
    c.view.entry = "second";
    EXPECT_EQ(c.dialog.Text1_KeyPress(13), 0);
    EXPECT_EQ(c.dialog.Text1_KeyPress(13), 0);
    EXPECT_EQ(c.dialog.Text1_KeyPress('x'), 'x');
    c.view.entry = "";
    c.dialog.Command2_Click();  // an empty box adds nothing
    c.dialog.Command4_Click();  // nothing selected: nothing removed
    EXPECT_EQ(c.view.list.lines, (std::vector<std::string>{"first", "second", "second"}));
    c.view.list.focus = 0;
    c.dialog.Command4_Click();
    c.dialog.Command1_Click();
    EXPECT_EQ(c.file(), "second\r\nsecond\r\n");
    EXPECT_EQ(c.view.unloads, 1);
    EXPECT_TRUE(c.t.system.boxes.empty());
}

TEST(CaptionsDialog, CancelWritesNothingAndAnEmptyListSavesAnEmptyFile) {
    Captions c;
    testing::write_file(caption_list_path(c.dir.folder()), "kept\r\n");
    c.dialog.Form_Load();
    c.view.entry = "not saved";
    c.dialog.Command2_Click();
    c.dialog.Command3_Click();
    EXPECT_EQ(c.file(), "kept\r\n");
    c.dialog.Form_Load();
    c.view.list.focus = 0;
    c.dialog.Command4_Click();
    c.dialog.Command1_Click();
    EXPECT_EQ(c.file(), "");
}

TEST(CaptionsDialog, TheHundredthCaptionIsTheLastAndTheFileKeepsThemAll) {
    Captions c;
    c.dialog.Form_Load();
    for (int i = 1; i <= 100; ++i) {
        c.view.entry = "caption " + std::to_string(i);
        c.dialog.Command2_Click();
    }
    EXPECT_TRUE(c.t.system.boxes.empty());
    c.view.entry = "one too many";
    c.dialog.Text1_KeyPress(13);
    ASSERT_EQ(c.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(c.t.system.boxes[0]), "Maximum of 100 Captions Reached!");
    EXPECT_EQ(std::get<1>(c.t.system.boxes[0]), "Screen Saver Captions");
    EXPECT_EQ(c.view.list.count(), 100);
    // A list that grew past the limit by other means still saves no more than the file may hold.
    c.view.list.add("added behind the dialog's back");
    c.dialog.Command1_Click();
    load_caption_list(c.dir.folder(), c.t.app.lists);
    ASSERT_EQ(c.t.app.lists.caption_count, 100);
    EXPECT_EQ(c.t.app.lists.captions[100], "caption 100");
}

TEST(CaptionsDialog, CommasAndEdgeBlanksComeBackAsOneCaptionAndQuotesAreRefused) {
    Captions c;
    c.dialog.Form_Load();
    const std::vector<std::string> texts = {"Hello, world", "  indented", "trailing  ", ",", "plain text", " "};
    for (const std::string& text : texts) {
        c.view.entry = text;
        c.dialog.Command2_Click();
    }
    c.view.entry = "say \"hi\"";
    c.dialog.Command2_Click();
    ASSERT_EQ(c.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<1>(c.t.system.boxes[0]), "Screen Saver Captions");
    EXPECT_EQ(c.view.list.lines, texts);
    c.dialog.Command1_Click();
    EXPECT_NE(c.file().find("\"Hello, world\"\r\n"), std::string::npos);
    EXPECT_NE(c.file().find("\r\nplain text\r\n"), std::string::npos);  // only what needs quotes gets them
    c.dialog.Form_Load();
    EXPECT_EQ(c.view.list.lines, texts);
}

// A file of more captions than the list holds: the first hundred show, the user is told, and Save asks
// before the rest are lost; No keeps the file and the dialog.
TEST(CaptionsDialog, AnOverfullFileShowsItsFirstHundredAndSaveAsksFirst) {
    Captions c;
    std::string text;
    for (int i = 1; i <= 101; ++i) {
        char line[16];  // formatted, not concatenated: GCC 12 warns wrongly about the concatenation
        std::snprintf(line, sizeof line, "c%d\r\n", i);
        text += line;
    }
    testing::write_file(caption_list_path(c.dir.folder()), text);
    c.dialog.Form_Load();
    ASSERT_EQ(c.view.list.count(), 100);
    EXPECT_EQ(c.view.list.line(99), "c100");
    ASSERT_EQ(c.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(c.t.system.boxes[0]), captions_cut_text);
    c.dialog.Command1_Click();
    EXPECT_EQ(c.t.system.questions, 1);
    EXPECT_EQ(c.file(), text);
    EXPECT_EQ(c.view.unloads, 0);
    c.t.system.answer_yes = true;
    c.dialog.Command1_Click();
    EXPECT_EQ(c.view.unloads, 1);
    EXPECT_EQ(c.file(), text.substr(0, text.find("c101")));
}

// ---- audio files dialog ------------------------------------------------------------------------

struct Audio {
    Audio() {
        t.system.separator = '\\';
        t.app.startup.windows_dir = dir.folder();
        t.app.startup.start_folder = "C:\\Program Files\\Kolvane\\";
        view.folders["C:\\Program Files\\Kolvane\\"] = {"a.wav", "b.mid", "c.rmi"};
        view.folders["D:\\Music"] = {"one.wav", "two.WAV", "three.mid", "four.mid", "five.rmi"};
    }
    std::string file() { return read_file(audio_list_path(dir.folder())); }
    void fill_list(int n) {
        for (int i = 0; i < n; ++i) view.audio.add("C:\\old\\" + std::to_string(i) + ".wav");
    }
    TempDir dir;
    TestApp t;
    testing::FakeAudioFilesView view;
    headless::ScriptedChannel player;
    AudioFilesDialog dialog{t.system, t.app.startup, t.app.lists, view, &player};
};

TEST(AudioFilesDialog, OpensAtTheStartFolderWithTheSavedListAndKeepsTheFolderForNextTime) {
    Audio a;
    testing::write_file(audio_list_path(a.dir.folder()), "C:\\x.wav\r\nC:\\y.mid\r\n");
    a.dialog.Form_Load();
    EXPECT_EQ(a.view.pattern, "*.mid;*.rmi;*.wav");
    EXPECT_EQ(a.view.shown_folder, "C:\\Program Files\\Kolvane\\");
    EXPECT_EQ(a.view.audio.lines, (std::vector<std::string>{"C:\\x.wav", "C:\\y.mid"}));
    a.dialog.Drive1_Change("E:\\");  // a drive with no medium: back to the start folder, silently
    EXPECT_EQ(a.view.shown_folder, "C:\\Program Files\\Kolvane\\");
    a.dialog.Dir1_Click("D:\\Music");  // one click shows the folder's files
    EXPECT_EQ(a.view.clicked, std::vector<std::string>{"D:\\Music"});
    EXPECT_EQ(a.view.file_list.count(), 5);
    a.dialog.Dir1_Click("D:\\Locked");  // unreadable: back to the start folder
    EXPECT_EQ(a.view.shown_folder, "C:\\Program Files\\Kolvane\\");
    a.dialog.Drive1_Change("D:\\Music");
    EXPECT_EQ(a.view.shown_folder, "D:\\Music");
    a.dialog.Command6_Click();
    a.dialog.Form_Unload();
    EXPECT_EQ(a.t.app.startup.start_folder, "D:\\Music");
    EXPECT_EQ(a.file(), "C:\\x.wav\r\nC:\\y.mid\r\n");  // Cancel wrote nothing
    EXPECT_TRUE(a.t.system.boxes.empty());
}

TEST(AudioFilesDialog, NearTheLimitTheSelectionFillsTheListAndTheMessageComesOnce) {
    Audio a;
    a.dialog.Form_Load();
    a.dialog.Drive1_Change("D:\\Music");
    a.fill_list(498);
    a.view.file_list.chosen = {0, 2, 4};
    a.dialog.Command1_Click();
    ASSERT_EQ(a.view.audio.count(), 500);
    EXPECT_EQ(a.view.audio.line(498), "D:\\Music\\one.wav");
    EXPECT_EQ(a.view.audio.line(499), "D:\\Music\\three.mid");
    ASSERT_EQ(a.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(a.t.system.boxes[0]), "Maximum of 500 Audio Files Reached!");
    EXPECT_EQ(std::get<1>(a.t.system.boxes[0]), "Screen Saver Audio Files");
    a.dialog.Command2_Click();  // a full list: one message for the click, nothing added
    EXPECT_EQ(a.t.system.boxes.size(), 2u);
    EXPECT_EQ(a.view.audio.count(), 500);
}

TEST(AudioFilesDialog, AddAllTakesTheFolderAndRemoveTakesExactlyTheSelectedLines) {
    Audio a;
    a.dialog.Form_Load();
    a.dialog.Command2_Click();
    a.dialog.Drive1_Change("D:\\Music");
    a.dialog.Command2_Click();
    ASSERT_EQ(a.view.audio.count(), 8);
    a.view.audio.chosen = {0, 3, 4, 7};
    a.dialog.Command5_Click();
    EXPECT_EQ(a.view.audio.lines, (std::vector<std::string>{"C:\\Program Files\\Kolvane\\b.mid",
                                                              "C:\\Program Files\\Kolvane\\c.rmi",
                                                              "D:\\Music\\three.mid", "D:\\Music\\four.mid"}));
    EXPECT_EQ(a.view.audio.current(), -1);
    EXPECT_TRUE(a.view.audio.chosen.empty());
    a.dialog.Command3_Click();
    EXPECT_EQ(a.file(), "C:\\Program Files\\Kolvane\\b.mid\r\nC:\\Program Files\\Kolvane\\c.rmi\r\n"
                        "D:\\Music\\three.mid\r\nD:\\Music\\four.mid\r\n");
    EXPECT_EQ(a.view.unloads, 1);
}

TEST(AudioFilesDialog, APathWithACommaSurvivesTheListFile) {
    Audio a;
    a.view.folders["C:\\Songs, Old"] = {"tune.mid"};
    a.dialog.Form_Load();
    a.dialog.Drive1_Change("C:\\Songs, Old");
    a.dialog.Command2_Click();
    a.dialog.Command3_Click();
    load_audio_list(a.dir.folder(), a.t.app.lists);
    ASSERT_EQ(a.t.app.lists.audio_file_count, 1);
    EXPECT_EQ(a.t.app.lists.audio_files[1], "C:\\Songs, Old\\tune.mid");
}

// A double quote in a name would make the saved line swallow the lines after it: such names are left
// out with a message, the others are added.
TEST(AudioFilesDialog, NamesHoldingADoubleQuoteAreRefusedAndTheRestAdded) {
    Audio a;
    a.view.folders["C:\\Odd"] = {"a.wav", "b,\"c.wav", "d.mid"};
    testing::write_file(audio_list_path(a.dir.folder()), "C:\\x.wav\r\n");
    a.dialog.Form_Load();
    a.dialog.Drive1_Change("C:\\Odd");
    a.dialog.Command2_Click();
    ASSERT_EQ(a.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(a.t.system.boxes[0]), std::string(audio_quote_text) + "\rC:\\Odd\\b,\"c.wav");
    a.dialog.Command3_Click();
    EXPECT_EQ(a.file(), "C:\\x.wav\r\nC:\\Odd\\a.wav\r\nC:\\Odd\\d.mid\r\n");
}

// More files than the list holds: the first 500 show with a message, and Save asks before replacing.
TEST(AudioFilesDialog, AnOverfullFileShowsItsFirst500AndSaveAsksFirst) {
    Audio a;
    std::string text;
    for (int i = 1; i <= 501; ++i) {
        char line[24];
        std::snprintf(line, sizeof line, "C:\\%d.wav\r\n", i);
        text += line;
    }
    testing::write_file(audio_list_path(a.dir.folder()), text);
    a.dialog.Form_Load();
    EXPECT_EQ(a.view.audio.count(), 500);
    ASSERT_EQ(a.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(a.t.system.boxes[0]), audio_files_cut_text);
    a.dialog.Command3_Click();
    EXPECT_EQ(a.t.system.questions, 1);
    EXPECT_EQ(a.file(), text);
    EXPECT_EQ(a.view.unloads, 0);
}

TEST(AudioFilesDialog, PreviewsGoToTheirDeviceOneAtATime) {
    Audio a;
    a.dialog.Form_Load();
    a.dialog.Drive1_Change("D:\\Music");
    a.view.file_list.focus = 1;  // two.WAV
    a.dialog.File1_DblClick();
    EXPECT_EQ(a.player.device_type, "WaveAudio");
    EXPECT_EQ(a.player.file_name, "D:\\Music\\two.WAV");
    a.view.file_list.focus = 4;  // five.rmi
    a.dialog.File1_DblClick();
    EXPECT_EQ(a.player.device_type, "Sequencer");
    a.view.audio.add("C:\\x.mid");
    a.view.audio.focus = 0;
    a.dialog.List2_DblClick();
    EXPECT_EQ(a.player.file_name, "C:\\x.mid");
    // Each preview closes the one before it; closing the dialog closes the last.
    const std::vector<std::string> one = {"Close", "Open", "Play"};
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), one.begin(), one.end());
    EXPECT_EQ(a.player.commands, expected);
    a.dialog.Form_Unload();
    EXPECT_EQ(a.player.commands.back(), "Close");
}

// ---- configuration window ----------------------------------------------------------------------

struct Configuration {
    Configuration() {
        t.store.set("install_path", "C:\\Kolvane");
        t.system.screen_twips_w = 12000;
        t.system.screen_twips_h = 9000;
    }
    TestApp t;
    testing::FakeConfigurationView view;
    testing::FakeForm form;
    ConfigurationWindow window{t.system, t.store, t.app.settings, t.app.scene.run, view, form};
};

TEST(ConfigurationWindow, TheTitleSoundStartsOncePerWindowAndAgainAfterOptionsAndPreview) {
    Configuration c;
    c.window.Form_Load();
    EXPECT_EQ(c.view.caption, "Kolvane Screen Saver Configuration");
    EXPECT_FLOAT_EQ(c.form.left, 3000);
    EXPECT_FLOAT_EQ(c.form.top, 2500);
    c.window.Form_Activate();
    c.window.Form_Activate();  // switching back to the window starts nothing
    c.window.Command2_Click();  // About keeps the sound
    c.window.Command7_Click();
    c.window.Command6_Click();
    const std::string loop = "loop C:\\Kolvane\\title.wav";
    EXPECT_EQ(c.view.events, (std::vector<std::string>{loop, "about", "stop", "options", loop, "stop", "scene", loop}));
}

TEST(ConfigurationWindow, ThePreviewIsATestRunExactlyWhileItRuns) {
    Configuration c;
    c.window.Form_Load();
    int mode_during = -1;
    c.view.during_scene = [&] { mode_during = c.t.app.scene.run.test_mode; };
    c.window.Command6_Click();
    EXPECT_EQ(mode_during, 1);
    EXPECT_EQ(c.t.app.scene.run.test_mode, 0);
}

TEST(ConfigurationWindow, AMissingCatalogueProgramIsReportedAndExitStopsTheSound) {
    Configuration c;
    c.window.Form_Load();
    c.view.shell_works = false;
    c.window.Command3_Click();
    ASSERT_EQ(c.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(c.t.system.boxes[0]),
              "Error Launching Dravik_Products.exe!\r\rPlease make sure you have this program installed properly!");
    EXPECT_EQ(std::get<1>(c.t.system.boxes[0]), "Error!");
    EXPECT_EQ(c.view.events.back(), "open C:\\Kolvane\\Dravik_Products.exe");
    c.window.Command4_Click();
    c.window.Form_Unload();
    EXPECT_EQ(c.view.events, (std::vector<std::string>{"open C:\\Kolvane\\Dravik_Products.exe", "unload", "stop"}));
}

// ---- About box ---------------------------------------------------------------------------------

struct About {
    TempDir dir;
    TestApp t;
    testing::FakeAboutView view;
    AboutBox box{t.system, t.registry, view, "https://example.invalid/"};
};

TEST(AboutBox, ShowsTheTitleAndVersion) {
    About a;
    a.box.Form_Load();
    EXPECT_EQ(a.view.caption, "About Kolvane Screen Saver");
    EXPECT_EQ(a.view.title, "Kolvane Screen Saver");
    EXPECT_EQ(a.view.version, "Version 2.0.8");
    a.box.cmdOK_Click();
    EXPECT_EQ(a.view.unloads, 1);
}

TEST(AboutBox, SystemInformationFromEitherRegistryPlaceOrAMessage) {
    About a;
    a.box.cmdSysInfo_Click();  // neither value: the message, titled with the application title
    ASSERT_EQ(a.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(a.t.system.boxes[0]), "System Information Is Unavailable At This Time");
    EXPECT_EQ(std::get<1>(a.t.system.boxes[0]), "scrnsave:Kolvane");
    // The second place names a folder; without the program in it, the message again.
    a.t.registry.set_string(RegistryRoot::local_machine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                            a.dir.path().string());
    a.box.cmdSysInfo_Click();
    EXPECT_EQ(a.t.system.boxes.size(), 2u);
    EXPECT_TRUE(a.view.started.empty());
    testing::write_file(a.dir.path().string() + "\\MSINFO32.EXE", "");
    a.box.cmdSysInfo_Click();
    ASSERT_EQ(a.view.started.size(), 1u);
    EXPECT_EQ(a.view.started[0], a.dir.path().string() + "\\MSINFO32.EXE");
    // The first place wins and is started as it stands, without a look for the file.
    a.t.registry.set_string(RegistryRoot::local_machine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                            "Q:\\nowhere\\msinfo.exe");
    a.box.cmdSysInfo_Click();
    EXPECT_EQ(a.view.started.back(), "Q:\\nowhere\\msinfo.exe");
    a.view.programs_start = false;
    a.box.cmdSysInfo_Click();
    EXPECT_EQ(a.t.system.boxes.size(), 3u);
    // The registry is only ever read in the machine's part.
    EXPECT_FALSE(a.box.GetKeyValue(RegistryRoot::current_user, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"));
}

TEST(AboutBox, AFullAddressIsOpenedAsItIsAndAnythingElseInTheInstallationFolder) {
    EXPECT_EQ(website_target("C:\\Kolvane\\", "https://example.invalid/x"), "https://example.invalid/x");
    EXPECT_EQ(website_target("C:\\Kolvane\\", "index.html"), "C:\\Kolvane\\index.html");
    EXPECT_EQ(website_target("/usr/share/kolvane/sounds/", "help/index.html"), "/usr/share/kolvane/sounds/help/index.html");
}

TEST(AboutBox, TheWebButtonOpensTheAddressOrSaysWhyNot) {
    About a;
    a.box.Command1_Click();
    EXPECT_EQ(a.view.opened, std::vector<std::string>{"https://example.invalid/"});
    EXPECT_TRUE(a.t.system.boxes.empty());
    a.view.shell_works = false;
    a.box.Command1_Click();
    ASSERT_EQ(a.t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(a.t.system.boxes[0]),
              "Error Launching Your Default Browser!\r\rPlease make sure you have a DEFAULT browser selected and try again.");
    EXPECT_EQ(std::get<1>(a.t.system.boxes[0]), "Error!");
}

}  // namespace
}  // namespace kolvane
