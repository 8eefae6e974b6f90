// Views of the configuration dialogs that keep their state in memory and record what the logic asked.
#pragma once
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ports/about_view.h"
#include "ports/audio_files_view.h"
#include "ports/captions_view.h"
#include "ports/configuration_view.h"
#include "ports/form_geometry.h"
#include "ports/options_view.h"

namespace kolvane::testing {

class FakeList : public ListView {
public:
    int count() override { return static_cast<int>(lines.size()); }
    std::string line(int index) override { return lines.at(static_cast<std::size_t>(index)); }
    bool selected(int index) override { return chosen.count(index) > 0; }
    int current() override { return focus; }
    void add(const std::string& text) override { lines.push_back(text); }
    void remove(int index) override;
    void clear() override {
        lines.clear();
        clear_selection();
    }
    void clear_selection() override {
        chosen.clear();
        focus = -1;
    }

    std::vector<std::string> lines;
    std::set<int> chosen;
    int focus = -1;
};

class FakeOptionsView : public OptionsView {
public:
    void set_slider_range(OptionSlider s, int low, int high) override { ranges[s] = {low, high}; }
    void set_slider(OptionSlider s, int value) override { sliders[s] = value; }
    int slider(OptionSlider s) override { return sliders[s]; }
    void set_check(OptionCheck c, bool ticked) override { checks[c] = ticked; }
    bool check(OptionCheck c) override { return checks[c]; }
    void set_choice(OptionChoice c, int index) override { choices[c] = index; }
    int choice(OptionChoice c) override { return choices.count(c) ? choices[c] : -1; }
    void show_audio_files() override { opened.push_back("audio"); }
    void show_captions() override { opened.push_back("captions"); }
    void show_new_password() override { opened.push_back("password"); }
    void unload() override { ++unloads; }

    std::map<OptionSlider, std::pair<int, int>> ranges;
    std::map<OptionSlider, int> sliders;
    std::map<OptionCheck, bool> checks;
    std::map<OptionChoice, int> choices;
    std::vector<std::string> opened;
    int unloads = 0;
};

class FakeCaptionsView : public CaptionsView {
public:
    ListView& captions() override { return list; }
    std::string entry_text() override { return entry; }
    void unload() override { ++unloads; }

    FakeList list;
    std::string entry;
    int unloads = 0;
};

// A file system of folders and their file names; a folder missing from it cannot be read.
class FakeAudioFilesView : public AudioFilesView {
public:
    void set_file_pattern(const std::string& p) override { pattern = p; }
    bool browse_to(const std::string& folder) override;
    // As browse_to, kept apart in `clicked`.
    bool show_files(const std::string& folder) override {
        clicked.push_back(folder);
        return browse_to(folder);
    }
    std::string file_folder() override { return shown_folder; }
    ListView& files() override { return file_list; }
    ListView& audio_list() override { return audio; }
    void unload() override { ++unloads; }

    std::map<std::string, std::vector<std::string>> folders;
    std::string pattern;
    std::string shown_folder;
    std::vector<std::string> browsed;
    std::vector<std::string> clicked;
    FakeList file_list;
    FakeList audio;
    int unloads = 0;
};

class FakeConfigurationView : public ConfigurationView {
public:
    void set_caption(std::string_view c) override { caption = c; }
    void play_sound_loop(const std::string& path) override { events.push_back("loop " + path); }
    void stop_sound() override { events.push_back("stop"); }
    void show_options() override { events.push_back("options"); }
    void show_about() override { events.push_back("about"); }
    void run_test_scene() override {
        events.push_back("scene");
        if (during_scene) during_scene();
    }
    bool shell_open(const std::string& target) override {
        events.push_back("open " + target);
        return shell_works;
    }
    void unload() override { events.push_back("unload"); }

    std::string caption;
    std::vector<std::string> events;
    std::function<void()> during_scene;
    bool shell_works = true;
};

class FakeAboutView : public AboutView {
public:
    void set_caption(std::string_view c) override { caption = c; }
    void set_title(std::string_view t) override { title = t; }
    void set_version(std::string_view v) override { version = v; }
    bool start_program(const std::string& path) override {
        started.push_back(path);
        return programs_start;
    }
    bool shell_open(const std::string& target) override {
        opened.push_back(target);
        return shell_works;
    }
    void unload() override { ++unloads; }

    std::string caption, title, version;
    std::vector<std::string> started, opened;
    bool programs_start = true;
    bool shell_works = true;
    int unloads = 0;
};

class FakeForm : public FormGeometry {
public:
    float width_twips() const override { return 6000; }
    float height_twips() const override { return 4000; }
    void move_to_twips(float l, float t) override {
        left = l;
        top = t;
    }
    float left = -1, top = -1;
};

}  // namespace kolvane::testing
