// kolvane-render: runs the scene on the headless backend with a simulated clock and writes frames and a trace.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

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

// Each side of the rendered screen: 8192 is beyond any real screen and keeps the scene's screen-sized
// surfaces near 1 GB together.
constexpr int min_side = 16;
constexpr int max_side = 8192;

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
                 "                      [--transition-every K]\n"
                 "       each side of --size is %d to %d pixels; --set takes the keys of settings.ini\n",
                 min_side, max_side);
    return 2;
}

// The whole text as a number (no sign, blanks or trailing characters), within [low, high].
template <typename Number>
bool whole_number(std::string_view text, Number low, Number high, Number& out) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '-' || error != std::errc{} || end != text.data() + text.size()) return false;
    if (value < low || value > high) return false;
    out = value;
    return true;
}

// "WxH" and nothing more.
bool screen_size(std::string_view text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return false;
    return whole_number(text.substr(0, x), min_side, max_side, width) &&
           whole_number(text.substr(x + 1), min_side, max_side, height);
}

// Reads the options; on a mistake says what it was and returns false.
bool parse(int argc, char** argv, Options& o) {
    constexpr long most = std::numeric_limits<long>::max();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--no-boxes") {
            o.boxes = false;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "kolvane-render: %s needs a value\n", arg.c_str());
            return false;
        }
        const std::string value = argv[++i];
        bool good = true;
        if (arg == "--size") {
            good = screen_size(value, o.width, o.height);
        } else if (arg == "--seed") {
            good = whole_number(value, std::uint64_t{0}, std::numeric_limits<std::uint64_t>::max(), o.seed);
        } else if (arg == "--frames") {
            good = whole_number(value, 0L, most, o.frames);
        } else if (arg == "--every") {
            good = whole_number(value, 1L, most, o.every);
        } else if (arg == "--out") {
            o.out = value;
        } else if (arg == "--trace") {
            o.trace = value;
        } else if (arg == "--transition-every") {
            good = whole_number(value, 0L, most, o.transition_every);
        } else if (arg == "--assets") {
            o.assets = value;
        } else if (arg == "--set") {
            const auto eq = value.find('=');
            if (eq == std::string::npos) {
                good = false;
            } else if (!kolvane::find_setting(value.substr(0, eq))) {
                std::fprintf(stderr, "kolvane-render: --set names no setting: %s\n", value.substr(0, eq).c_str());
                return false;
            } else {
                o.settings[value.substr(0, eq)] = value.substr(eq + 1);
            }
        } else {
            std::fprintf(stderr, "kolvane-render: unknown option %s\n", arg.c_str());
            return false;
        }
        if (!good) {
            std::fprintf(stderr, "kolvane-render: %s %s is not valid\n", arg.c_str(), value.c_str());
            return false;
        }
    }
    return true;
}

// A folder of its own under the temporary folder, removed with everything in it however the run ends.
class PrivateFolder {
public:
    PrivateFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kolvane-render-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The output folder, made when missing; false (with the reason said) when it is something else.
bool output_folder(const std::string& out) {
    std::error_code ec;
    const auto status = std::filesystem::status(out, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
        std::fprintf(stderr, "kolvane-render: --out %s is not a folder\n", out.c_str());
        return false;
    }
    std::filesystem::create_directories(out, ec);
    if (ec) {
        std::fprintf(stderr, "kolvane-render: cannot make the folder %s: %s\n", out.c_str(), ec.message().c_str());
        return false;
    }
    return true;
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

// Runs the scene and writes what the options ask for; the exit code.
int render(const Options& options) {
    using namespace kolvane;
    // The list files go to a private folder that lives as long as the run.
    const PrivateFolder lists_dir;
    if (lists_dir.path().empty()) {
        std::fprintf(stderr, "kolvane-render: cannot make a temporary folder\n");
        return 1;
    }
    headless::SceneBackend backend(options.width, options.height);
    headless::FakeSystem& system = backend.system;
    headless::MemoryStore& store = backend.store;
    headless::HeadlessDisplay& display = backend.display;
    headless::HeadlessOverlays& overlays = backend.overlays;
    headless::FixedClock& clock = backend.clock;
    system.clock_ms = 1000;
    system.separator = '/';
    system.windows_dir = lists_dir.path();

    store.set("install_path", options.assets + "/sounds");
    for (const auto& [key, value] : options.settings) store.set(key, value);

    auto app = std::make_unique<App>(backend.platform());
    app->scene.random.seed(options.seed);
    app->startup.windows_dir = lists_dir.path() + "/";

    FolderPictures pictures(options.assets);
    if (!load_scene_pictures(app->scene, pictures))
        std::fprintf(stderr, "kolvane-render: some pictures under %s are missing; they stay black\n",
                     options.assets.c_str());

    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> trace_file(
        options.trace.empty() ? nullptr : std::fopen(options.trace.c_str(), "w"), &std::fclose);
    std::FILE* trace = trace_file.get();
    if (!options.trace.empty() && !trace) {
        std::fprintf(stderr, "kolvane-render: cannot write %s\n", options.trace.c_str());
        return 1;
    }

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
    std::fprintf(stderr, "kolvane-render: %ld frames, %d pictures written\n", options.frames, written);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) return usage();
    if (!options.out.empty() && !output_folder(options.out)) return 2;
    // Caught here so that the private folder is removed on the way out.
    try {
        return render(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kolvane-render: %s\n", e.what());
        return 1;
    }
}
