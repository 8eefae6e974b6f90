// The Linux command line: classic switches, the hack conventions, and settings that hold for one run only.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "config_ui/about_box.h"
#include "platform/sdl/linux_modes.h"
#include "platform/sdl/run_options.h"
#include "startup/settings.h"
#include "tests/test_app.h"

namespace kolvane::sdl {
namespace {

RunOptions parse(std::vector<std::string> args, const char* env = nullptr) { return parse_run_options(args, env); }

TEST(ClassicSwitches, ReachMainAsTheyWereTyped) {
    for (const auto& [args, line] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"/S"}, "/S"}, {{"/p", "1234"}, "/p 1234"}, {{"/c:4711"}, "/c:4711"}, {{}, ""}, {{"/a"}, "/a"},
             {{"/P4294967295"}, "/P4294967295"}}) {
        const RunOptions o = parse(args);
        EXPECT_FALSE(o.hack) << line;
        EXPECT_EQ(o.command_line, line);
        EXPECT_EQ(o.host, SceneHost::full_screen);
        EXPECT_TRUE(o.error.empty());
    }
    // The daemon's variable alone does not make a hack run of a classic start.
    EXPECT_EQ(parse({"/S"}, "0x2a").host, SceneHost::full_screen);
}

TEST(HackConventions, HostWindowFromOptionVariableOrRoot) {
    RunOptions o = parse({"--root"}, "0x2a");
    EXPECT_TRUE(o.hack);
    EXPECT_EQ(o.command_line, "/S");
    EXPECT_EQ(o.host, SceneHost::foreign);
    EXPECT_EQ(o.host_window, 42u);

    o = parse({"-root"});
    EXPECT_EQ(o.host, SceneHost::foreign);
    EXPECT_EQ(o.host_window, 0u);  // the root window itself

    o = parse({"--window-id", "0x1F"}, "0x2a");  // the option wins over the variable
    EXPECT_EQ(o.host, SceneHost::foreign);
    EXPECT_EQ(o.host_window, 31u);
    EXPECT_EQ(parse({"-window-id", "123"}).host_window, 123u);
    EXPECT_EQ(parse({"--window-id=77"}).host_window, 77u);

    o = parse({"--window"});
    EXPECT_EQ(o.host, SceneHost::window);
    o = parse({"--fps"});
    EXPECT_TRUE(o.show_frame_rate);
    EXPECT_EQ(o.host, SceneHost::full_screen);
}

TEST(TestRun, TheSettingsProgramsPreviewIsAFullScreenSceneThatInputEnds) {
    RunOptions o = parse({"/S", "--test-run"});
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_TRUE(o.test_run);
    EXPECT_EQ(o.command_line, "/S");
    EXPECT_EQ(o.host, SceneHost::full_screen);
    EXPECT_TRUE(o.settings.empty());
    EXPECT_FALSE(parse({"/S"}).test_run);
    EXPECT_FALSE(parse({"--root"}).test_run);
    // Only the settings program gives it: the usage text does not offer it.
    EXPECT_EQ(usage_text().find("test-run"), std::string::npos);
}

TEST(HackConventions, BadWindowNumbersAreRefused) {
    EXPECT_FALSE(parse({"--window-id", "zz"}).error.empty());
    EXPECT_FALSE(parse({"--window-id", "0"}).error.empty());
    EXPECT_FALSE(parse({"--window-id"}).error.empty());
    EXPECT_FALSE(parse({"-window-id", "-5"}).error.empty());
}

TEST(HackConventions, OptionsEveryHackTakesFromItsHostAreTaken) {
    const RunOptions o = parse({"-root", "-visual", "default", "-install", "--noinstall", "--mono"});
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.command_line, "/S");
    EXPECT_EQ(o.host, SceneHost::foreign);
    EXPECT_FALSE(parse({"--fps", "--no-fps"}).show_frame_rate);
    EXPECT_FALSE(parse({"--root", "--visual"}).error.empty());
}

// As a hack refuses what it does not know, so does the program: one line naming the word.
TEST(CommandLine, UnknownOptionsAndSwitchesAreRefused) {
    for (const auto& [args, word] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--bogus"}, "--bogus"}, {{"-s"}, "-s"}, {{"/X"}, "/X"}, {{"--root", "--bogus"}, "--bogus"},
             {{"/S", "extra"}, "extra"}, {{"/Sx"}, "/Sx"}, {{"/c:47x1"}, "/c:47x1"}, {{"--"}, "--"},
             {{"/"}, "/"}, {{""}, ""}, {{"--root", "stray"}, "stray"}, {{"--no-frame-rate"}, "--no-frame-rate"}}) {
        const RunOptions o = parse(args);
        EXPECT_EQ(o.error, "Unrecognised option \"" + word + "\"") << word;
        EXPECT_EQ(o.error.find('\n'), std::string::npos);
    }
}

TEST(CommandLine, APreviewNeedsAWindowNumber) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"/P"}, {"/P", "abc"}, {"/p", "12abc"}, {"/P", "12", "34"}, {"/P:1234"}, {"/P", "4294967296"},
             {"/P", "99999999999"}, {"/P", "0x2a"}}) {
        const RunOptions o = parse(args);
        EXPECT_EQ(o.error.rfind("/P wants a window number", 0), 0u) << o.error;
    }
    EXPECT_EQ(parse({"/P", "abc"}).error, "/P wants a window number, not \"abc\"");
    EXPECT_TRUE(parse({"/P", "0"}).error.empty());
    EXPECT_TRUE(parse({"/P  77"}).error.empty());
}

TEST(CommandLine, HelpAndVersionAreAnswersNotRuns) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"/?"}, {"--root", "-help"}}) {
        const RunOptions o = parse(args);
        EXPECT_TRUE(o.help);
        EXPECT_FALSE(o.version);
        EXPECT_FALSE(o.hack);
        EXPECT_TRUE(o.error.empty());
    }
    EXPECT_TRUE(parse({"--version"}).version);
    EXPECT_FALSE(parse({"--version"}).help);
    EXPECT_EQ("Version " + version_line("kolvane").substr(8), version_text());
    EXPECT_EQ(version_line("kolvane").rfind("kolvane ", 0), 0u);
    EXPECT_NE(usage_text().find("--version"), std::string::npos);
}

TEST(RunSettings, OptionsBecomeSettingsKeys) {
    const RunOptions o = parse({"--frame-rate", "20", "--no-audio", "--clock", "--scene-length=7", "-object-frequency",
                                "3", "--caption-frequency", "2"});
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.settings.at("frame_rate"), "20");
    EXPECT_EQ(o.settings.at("audio_on"), "0");
    EXPECT_EQ(o.settings.at("show_time"), "1");
    EXPECT_EQ(o.settings.at("cycle_speed_value"), "7");
    EXPECT_EQ(o.settings.at("object_frequency"), "3");
    EXPECT_EQ(o.settings.at("scroller_delay"), "2");
    EXPECT_EQ(o.settings.size(), 6u);
    // A setting that is only off or on is a switch, as the flags are.
    EXPECT_EQ(parse({"--no-captions"}).settings.at("scroller_active"), "0");
    EXPECT_EQ(parse({"--captions"}).settings.at("scroller_active"), "1");
    EXPECT_FALSE(parse({"--captions=0"}).error.empty());
    // A classic switch stays, with the settings for its run.
    const RunOptions with_switch = parse({"/S", "--frame-rate", "200"});
    EXPECT_EQ(with_switch.command_line, "/S");
    EXPECT_EQ(with_switch.settings.at("frame_rate"), "200");
}

TEST(RunSettings, ValuesOutsideTheOptionsRangesAreRefused) {
    EXPECT_NE(parse({"--frame-rate", "4"}).error.find("5 to 200"), std::string::npos);
    EXPECT_FALSE(parse({"--frame-rate", "201"}).error.empty());
    EXPECT_FALSE(parse({"--scene-length", "0"}).error.empty());
    EXPECT_FALSE(parse({"--object-frequency", "2.5"}).error.empty());
    EXPECT_FALSE(parse({"--caption-frequency"}).error.empty());
}

TEST(OverrideStore, ReadsSeeTheRunsSettingsAndTheStoreKeepsItsOwn) {
    testing::TestApp t;
    t.store.set("frame_rate", "45");
    t.store.set("install_path", "/opt/kolvane/sounds");
    t.store.set("run_once", "1");
    OverrideStore store(t.store, {{"frame_rate", "20"}, {"audio_on", "0"}});
    EXPECT_EQ(store.get(app_name, config_section, "frame_rate", "1"), "20");
    EXPECT_EQ(store.get(app_name, "Desktop", "frame_rate", "none"), "none");
    store.save(app_name, config_section, "frame_rate", "30");
    EXPECT_EQ(t.store.value("frame_rate"), "30");
    EXPECT_EQ(store.get(app_name, config_section, "frame_rate", "1"), "20");

    // Every load of the settings during the run sees them; the stored values are untouched.
    Settings settings;
    ASSERT_TRUE(load_settings(store, t.system, settings));
    EXPECT_EQ(settings.frame_rate, 20);
    EXPECT_FALSE(flag_on(settings.audio_on));
    EXPECT_EQ(t.store.value("frame_rate"), "30");
    EXPECT_FALSE(t.store.has("audio_on"));
}

// The option file the screen-saver daemon's settings read offers exactly the options the program
// takes, with the ranges and defaults of the settings table.
TEST(HackOptionFile, AgreesWithTheSettingsTable) {
    std::ifstream in(KOLVANE_HACK_XML);
    ASSERT_TRUE(in) << KOLVANE_HACK_XML;
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string xml = buffer.str();
    const auto attribute = [](const std::string& element, const std::string& name) {
        std::smatch m;
        const std::regex pattern("\\s" + name + "=\"([^\"]*)\"");
        return std::regex_search(element, m, pattern) ? m[1].str() : std::string("(none)");
    };
    std::set<std::string> seen;
    const std::regex element_pattern("<(number|boolean)\\s[^>]*>");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), element_pattern); it != std::sregex_iterator(); ++it) {
        const std::string element = it->str();
        const std::string id = attribute(element, "id");
        if (id == "showfps") continue;  // the frame-rate counter is an option of the hack, not a setting
        seen.insert(id);
        const SettingField* field = nullptr;
        for (const SettingField& f : settings_table())
            if (f.option.name && id == f.option.name) field = &f;
        ASSERT_NE(field, nullptr) << "the option file offers --" << id << ", which the program does not take";
        if ((*it)[1] == "number") {
            EXPECT_EQ(field->type, SettingType::whole) << id;
            // A delay (a higher number is slower or rarer) is inverted, so its slider grows to the right.
            const bool delay = id == "frame-rate" || id == "object-frequency" || id == "caption-frequency";
            EXPECT_EQ(attribute(element, "convert"), delay ? "invert" : "(none)") << id;
            EXPECT_EQ(attribute(element, "arg"), "--" + id + " %");
            EXPECT_EQ(attribute(element, "low"), std::to_string(field->option.low)) << id;
            EXPECT_EQ(attribute(element, "high"), std::to_string(field->option.high)) << id;
            EXPECT_EQ(attribute(element, "default"), field->fallback) << id;
            EXPECT_TRUE(parse({"--" + id, attribute(element, "default")}).error.empty()) << id;
        } else {
            EXPECT_TRUE(field->type == SettingType::flag || (field->option.low == 0 && field->option.high == 1)) << id;
            // A flag that is on by default is offered as the switch that turns it off.
            EXPECT_EQ(std::string(field->fallback), "1") << id;
            EXPECT_EQ(attribute(element, "arg-unset"), "--no-" + id);
            EXPECT_EQ(parse({"--no-" + id}).settings.at(field->key), "0") << id;
        }
    }
    // A list of fixed choices: its first option (no argument) is the default, the others give a value in range.
    const std::regex select_pattern("<select\\s+id=\"([^\"]*)\">([\\s\\S]*?)</select>");
    const std::regex option_pattern("<option\\s[^>]*>");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), select_pattern); it != std::sregex_iterator(); ++it) {
        const std::string id = (*it)[1].str(), body = (*it)[2].str();
        seen.insert(id);
        const SettingField* field = nullptr;
        for (const SettingField& f : settings_table())
            if (f.option.name && id == f.option.name) field = &f;
        ASSERT_NE(field, nullptr) << "the option file offers --" << id << ", which the program does not take";
        EXPECT_EQ(field->type, SettingType::whole) << id;
        int index = 0;
        const auto options_end = std::sregex_iterator();
        for (auto o = std::sregex_iterator(body.begin(), body.end(), option_pattern); o != options_end; ++o) {
            const std::string arg = attribute(o->str(), "arg-set");
            if (index == 0) {
                EXPECT_EQ(arg, "(none)") << id << ": the first choice is the default";
            } else {
                const std::string value = std::to_string(field->option.low + index);
                EXPECT_EQ(arg, "--" + id + " " + value) << id;
                EXPECT_EQ(parse({"--" + id, value}).settings.at(field->key), value) << id;
            }
            ++index;
        }
        EXPECT_EQ(std::string(field->fallback), std::to_string(field->option.low)) << id;
        EXPECT_EQ(index, field->option.high - field->option.low + 1) << id << ": one choice per value";
    }
    for (const SettingField& f : settings_table()) {
        if (f.option.name) {
            EXPECT_TRUE(seen.count(f.option.name)) << "the option file lacks --" << f.option.name;
        }
    }
    // The description ends as every hack's does.
    EXPECT_TRUE(std::regex_search(xml, std::regex("\\n *Written by [^;\\n]+; [0-9]{4}\\.\\n *</_description>")));
}

// XScreenSaver's settings run a hack in a small window of their own; its daemon gives it a whole monitor.
TEST(HostedScene, OnlyAWindowSmallerThanEveryMonitorIsAPreview) {
    EXPECT_TRUE(preview_sized(640, 480, 1920, 1080));
    EXPECT_FALSE(preview_sized(1920, 1080, 1920, 1080));
    EXPECT_FALSE(preview_sized(1366, 768, 1366, 768));   // the smaller of two monitors
    EXPECT_FALSE(preview_sized(1080, 1920, 1080, 1080));  // a monitor turned upright beside a wide one
    EXPECT_FALSE(preview_sized(1920, 300, 1920, 1080));
}

// Every setting with a range is taken on the command line only inside that range.
TEST(SettingOptions, TakeTheTableRangesAndNothingOutside) {
    for (const SettingField& f : settings_table()) {
        if (!f.option.name || f.type != SettingType::whole || (f.option.low == 0 && f.option.high == 1)) continue;
        const std::string name = std::string("--") + f.option.name;
        EXPECT_EQ(parse({name, std::to_string(f.option.low)}).settings.at(f.key), std::to_string(f.option.low));
        EXPECT_EQ(parse({name, std::to_string(f.option.high)}).settings.at(f.key), std::to_string(f.option.high));
        EXPECT_FALSE(parse({name, std::to_string(f.option.low - 1)}).error.empty()) << name;
        EXPECT_FALSE(parse({name, std::to_string(f.option.high + 1)}).error.empty()) << name;
        EXPECT_NE(usage_text().find(name + " <" + std::to_string(f.option.low) + ".."), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace kolvane::sdl
