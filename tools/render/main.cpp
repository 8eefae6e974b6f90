// kolvane-render: runs the scene on the headless backend with a simulated clock and writes frames and a trace.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/app.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_scene.h"
#include "scene/render/bmp.h"
#include "scene/render/overlays.h"
#include "scene/scene_pictures.h"
#include "scene/scene_window.h"
#include "startup/settings.h"
#include "tools/render/trace.h"

namespace {

struct Options {
    int width = 1920;
    int height = 1080;
    std::uint64_t seed = 1;
    long frames = 100;
    long every = 10;
    std::string out;
    std::string trace;
    std::string assets = KOLVANE_ASSETS_DIR;
    bool boxes = true;
    long transition_every = 0;  // also write every K-th step of a background transition
    std::map<std::string, std::string> settings;
};

int usage() {
    std::fprintf(stderr,
                 "usage: kolvane-render [--size WxH] [--seed N] [--frames N] [--every K] [--out DIR]\n"
                 "                      [--trace FILE] [--set key=value]... [--assets DIR] [--no-boxes]\n"
                 "                      [--transition-every K]\n");
    return 2;
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--no-boxes") {
            o.boxes = false;
            continue;
        }
        if (!has_value) return false;
        const std::string value = argv[++i];
        if (arg == "--size") {
            if (std::sscanf(value.c_str(), "%dx%d", &o.width, &o.height) != 2 || o.width < 16 || o.height < 16 ||
                o.width > 16384 || o.height > 16384)
                return false;
        } else if (arg == "--seed") {
            o.seed = std::strtoull(value.c_str(), nullptr, 10);
        } else if (arg == "--frames") {
            o.frames = std::strtol(value.c_str(), nullptr, 10);
        } else if (arg == "--every") {
            o.every = std::strtol(value.c_str(), nullptr, 10);
        } else if (arg == "--out") {
            o.out = value;
        } else if (arg == "--trace") {
            o.trace = value;
        } else if (arg == "--transition-every") {
            o.transition_every = std::strtol(value.c_str(), nullptr, 10);
        } else if (arg == "--assets") {
            o.assets = value;
        } else if (arg == "--set") {
            const auto eq = value.find('=');
            if (eq == std::string::npos) return false;
            o.settings[value.substr(0, eq)] = value.substr(eq + 1);
        } else {
            return false;
        }
    }
    return o.frames >= 0 && o.every >= 1;
}

// The caption and clock boxes as plain coloured rectangles over a copy of the screen (no lettering).
void draw_boxes(kolvane::Image& frame, kolvane::headless::HeadlessOverlays& overlays) {
    const auto fill = [&](const kolvane::headless::HeadlessOverlays::Box& box, std::uint32_t colour) {
        if (!box.visible) return;
        const int x0 = static_cast<int>(box.left / 15.0f), y0 = static_cast<int>(box.top / 15.0f);
        const int x1 = x0 + static_cast<int>(box.width / 15.0f), y1 = y0 + static_cast<int>(box.height / 15.0f);
        for (int y = std::max(0, y0); y < std::min(frame.height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(frame.width, x1); ++x) frame.at(x, y) = colour;
    };
    fill(overlays.caption, kolvane::caption_style.background);
    fill(overlays.clock, kolvane::clock_style.background);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) return usage();

    using namespace kolvane;
    headless::SceneBackend backend(options.width, options.height);
    headless::FakeSystem& system = backend.system;
    headless::MemoryStore& store = backend.store;
    headless::HeadlessDisplay& display = backend.display;
    headless::HeadlessOverlays& overlays = backend.overlays;
    headless::FixedClock& clock = backend.clock;
    system.clock_ms = 1000;
    system.separator = '/';

    // The list files go to a private folder that lives as long as the run.
    const auto lists_dir = std::filesystem::temp_directory_path() / ("kolvane-render-" + std::to_string(getpid()));
    std::filesystem::create_directories(lists_dir);
    system.windows_dir = lists_dir.string();

    store.set("install_path", options.assets + "/sounds");
    for (const auto& [key, value] : options.settings) store.set(key, value);

    auto app = std::make_unique<App>(backend.platform());
    app->scene.random.seed(options.seed);
    app->startup.windows_dir = lists_dir.string() + "/";

    FolderPictures pictures(options.assets);
    if (!load_scene_pictures(app->scene, pictures))
        std::fprintf(stderr, "kolvane-render: some pictures under %s are missing; they stay black\n",
                     options.assets.c_str());

    std::FILE* trace = options.trace.empty() ? nullptr : std::fopen(options.trace.c_str(), "w");
    if (!options.trace.empty() && !trace) {
        std::fprintf(stderr, "kolvane-render: cannot write %s\n", options.trace.c_str());
        return 1;
    }
    if (!options.out.empty()) std::filesystem::create_directories(options.out);

    Form_Load(app->scene);
    app->scene.run.activated_once = 1;
    scene_setup(app->scene);
    app->scene.run.frame_delay = app->settings.frame_rate;
    TraceWriter writer;
    Image frame;
    int written = 0;
    // Waits while a frame's work runs are a transition's pauses, one per step: snapshot some of them.
    long current_frame = 0, transition_step = 0;
    bool in_frame_work = false;
    if (options.transition_every > 0 && !options.out.empty()) {
        system.on_pump = [&] {
            if (!in_frame_work || system.current_wait <= 0) return;
            if (++transition_step % options.transition_every != 0) return;
            image_from_surface(frame, display.screen);
            char name[80];
            std::snprintf(name, sizeof name, "/frame%06ld-transition%05ld.bmp", current_frame, transition_step);
            if (write_bmp(options.out + name, frame)) ++written;
        };
    }
    for (long n = 1; n <= options.frames && app->scene.run.saver_running; ++n) {
        const std::uint32_t seconds = (system.clock_ms / 1000u) % 86400u;
        clock.now = {static_cast<int>(seconds / 3600u), static_cast<int>(seconds / 60u % 60u),
                     static_cast<int>(seconds % 60u)};
        app->scene.run.frame_start = static_cast<std::int32_t>(system.clock_ms);
        current_frame = n;
        transition_step = 0;
        in_frame_work = true;
        frame_work(app->scene);
        in_frame_work = false;
        frame_wait(app->scene);
        end_of_frame(app->scene);
        if (trace) writer.write(trace, n, app->scene);
        if (!options.out.empty() && n % options.every == 0) {
            image_from_surface(frame, display.screen);
            if (options.boxes) draw_boxes(frame, overlays);
            char name[64];
            std::snprintf(name, sizeof name, "/frame%06ld.bmp", n);
            if (!write_bmp(options.out + name, frame)) {
                std::fprintf(stderr, "kolvane-render: cannot write %s%s\n", options.out.c_str(), name);
                return 1;
            }
            ++written;
        }
    }
    if (trace) std::fclose(trace);
    std::error_code ec;
    std::filesystem::remove_all(lists_dir, ec);
    std::fprintf(stderr, "kolvane-render: %ld frames, %d pictures written\n", options.frames, written);
    return 0;
}
