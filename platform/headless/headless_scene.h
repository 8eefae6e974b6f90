// Headless scene window and playback channels: they record what the engine asks of them.
#pragma once
#include <string>
#include <vector>

#include "platform/headless/headless_display.h"
#include "platform/headless/headless_platform.h"
#include "ports/full_screen_window.h"
#include "ports/media_channel.h"
#include "ports/platform.h"

namespace kolvane::headless {

class RecordingSceneWindow : public FullScreenWindow {
public:
    void set_mouse_position(int x, int y) override { mouse_moves.push_back({x, y}); }
    void make_topmost(int, int, int w, int h) override {
        topmost = true;
        width = w;
        height = h;
    }
    void redraw() override { ++redraws; }
    void show_password_prompt() override { ++prompts_shown; prompt_up = true; }
    void close_password_prompt() override { prompt_up = false; }
    void destroy() override { ++destroyed; }

    struct Point {
        int x, y;
    };
    std::vector<Point> mouse_moves;
    bool topmost = false;
    int width = 0, height = 0;
    int redraws = 0;
    int prompts_shown = 0;
    bool prompt_up = false;
    int destroyed = 0;
};

// A channel that plays a file for a set number of status reports, or never opens missing files.
class ScriptedChannel : public MediaChannel {
public:
    void command(const std::string& name) override;
    void set_notify(bool) override {}
    void set_wait(bool) override {}
    void set_shareable(bool) override {}
    void set_device_type(const std::string& type) override { device_type = type; }
    void set_file_name(const std::string& path) override { file_name = path; }
    MediaMode mode() override;

    std::string device_type;
    std::string file_name;
    std::vector<std::string> played;  // files whose Play was accepted
    std::vector<std::string> commands;
    int reports_per_file = 3;         // status reports a file plays for
    bool playing = false;

private:
    int reports_left_ = 0;
};

// Every headless service a whole scene needs; the screen is width x height pixels at 15 twips each.
struct SceneBackend {
    SceneBackend(int width, int height);
    // The services wired together for an App.
    Platform platform();

    FakeSystem system;
    MemoryStore store;
    MemoryRegistry registry;
    HeadlessDisplay display;
    HeadlessOverlays overlays;
    FixedClock clock;
    RecordingSceneWindow window;
    ScriptedChannel midi, wav;
};

}  // namespace kolvane::headless
