// The Linux program's modes: set-up of SDL and the scene's services, the run, and the tear-down.
#include "platform/sdl/linux_modes.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/app.h"
#include "platform/sdl/locale_clock.h"
#include "platform/sdl/message_box.h"
#include "platform/sdl/mixer_channel.h"
#include "platform/sdl/overlay_boxes.h"
#include "platform/sdl/password_box.h"
#include "platform/sdl/preview_window.h"
#include "platform/sdl/scene_lock.h"
#include "platform/sdl/screen_layers.h"
#include "platform/sdl/sdl_scene_window.h"
#include "platform/sdl/text_painter.h"
#include "preview/preview.h"
#include "scene/scene_pictures.h"
#include "scene/scene_window.h"

namespace kolvane::sdl {

namespace {

// SDL's video for the length of one mode: X11, drawn in software, the desktop's screen saver left alone.
class VideoSession {
public:
    VideoSession() {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        // A quit event then means a signal only; a window manager's close is the window's own event.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        const char* chosen = std::getenv("SDL_VIDEODRIVER");
        const bool driver_chosen = chosen != nullptr && *chosen != '\0';
        // Host windows, window titles and the preview are X11 things.
        if (!driver_chosen) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
        install_x_error_trap();
        ok_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        // Without a display SDL would quietly draw off screen: an invisible scene nobody can end.
        if (ok_ && !driver_chosen && std::strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            ok_ = false;
        }
    }
    ~VideoSession() {
        if (ok_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    VideoSession(const VideoSession&) = delete;
    VideoSession& operator=(const VideoSession&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

// The dialogs are a program of their own, so that the scene never loads their toolkit.
constexpr const char* settings_program = "kolvane-settings";

// Replaces this process by the settings program beside this one, in the given mode; returns only
// when that failed, with the exit code to end with.
int exec_settings_program(LinuxSystem& system, const char* mode, const char* what) {
    const std::string path = system.program_folder() + settings_program;
    char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(mode), nullptr};
    std::fflush(nullptr);
    execv(path.c_str(), argv);
    const int error = errno;
    std::fprintf(stderr, "kolvane: %s (%s) is in the program %s, which cannot be started: %s\n", what, mode,
                 path.c_str(), std::strerror(error));
    return exit_mode_not_built;
}

bool has_pictures(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::exists(folder / "sprite.bmp", ec);
}

int no_display() {
    std::fprintf(stderr, "kolvane: no X display to show the scene on (%s)\n", SDL_GetError());
    return exit_no_display;
}

SDL_Rect own_window_area() {
    SDL_Rect bounds{0, 0, 1024, 768};
    SDL_GetDisplayBounds(0, &bounds);
    return {0, 0, std::min(1024, bounds.w * 3 / 4), std::min(768, bounds.h * 3 / 4)};
}

// The App refers to the scene's services only while they exist.
struct ScenePlatform {
    ScenePlatform(App& app, Display* display, OverlayView* overlays, FullScreenWindow* window, MediaChannel* midi,
                  MediaChannel* wav)
        : app_(app) {
        app.platform.display = display;
        app.platform.overlays = overlays;
        app.platform.scene_window = window;
        app.platform.midi = midi;
        app.platform.wav = wav;
        app.platform.local_clock = &clock_;
    }
    ~ScenePlatform() {
        app_.platform.display = nullptr;
        app_.platform.overlays = nullptr;
        app_.platform.scene_window = nullptr;
        app_.platform.midi = nullptr;
        app_.platform.wav = nullptr;
        app_.platform.local_clock = nullptr;
    }
    ScenePlatform(const ScenePlatform&) = delete;
    ScenePlatform& operator=(const ScenePlatform&) = delete;

private:
    App& app_;
    LocaleClock clock_;  // the user's LC_TIME designators, read once per scene
};

// Events go to the open window, and message boxes open inside it, while it runs.
struct SinkInstalled {
    SinkInstalled(LinuxSystem& system, EventSink* sink, MessageView* messages = nullptr) : system_(system) {
        system.set_event_sink(sink);
        system.set_message_view(messages);
    }
    ~SinkInstalled() {
        system_.set_event_sink(nullptr);
        system_.set_message_view(nullptr);
    }
    SinkInstalled(const SinkInstalled&) = delete;
    SinkInstalled& operator=(const SinkInstalled&) = delete;

private:
    LinuxSystem& system_;
};

// Every monitor together: the scene covers them all, so that no desktop stays visible.
bool all_monitors(SDL_Rect& area) {
    const int count = SDL_GetNumVideoDisplays();
    if (count < 1 || SDL_GetDisplayBounds(0, &area) != 0) return false;
    for (int i = 1; i < count; ++i) {
        SDL_Rect more{};
        if (SDL_GetDisplayBounds(i, &more) == 0) SDL_UnionRect(&area, &more, &area);
    }
    return true;
}

// The width and height of the smallest monitor (each side on its own); false without monitors.
bool smallest_monitor(int& width, int& height) {
    const int count = SDL_GetNumVideoDisplays();
    if (count < 1) return false;
    width = height = 0;
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        width = width == 0 ? bounds.w : std::min(width, bounds.w);
        height = height == 0 ? bounds.h : std::min(height, bounds.h);
    }
    return width > 0 && height > 0;
}

}  // namespace

bool preview_sized(int width, int height, int smallest_monitor_width, int smallest_monitor_height) {
    return width < smallest_monitor_width && height < smallest_monitor_height;
}

std::string picture_folder(const std::string& program_folder) {
    const char* chosen = std::getenv("KOLVANE_DATA");
    if (chosen && *chosen) return chosen;
    const std::filesystem::path beside = std::filesystem::path(program_folder) / ".." / "share" / "kolvane";
    if (has_pictures(beside)) return beside.lexically_normal().string();
    const std::filesystem::path installed = std::filesystem::path(KOLVANE_INSTALL_DATADIR) / "kolvane";
    if (has_pictures(installed)) return installed.string();
    return KOLVANE_SOURCE_ASSETS;
}

int LinuxModes::run_scene(App& app) {
    VideoSession video;
    if (!video.ok()) return no_display();

    SceneHost host = options_.host;
    unsigned long foreign = options_.host_window;
    SDL_Rect area{0, 0, 0, 0};
    if (host == SceneHost::foreign) {
        if (foreign == 0) foreign = system_.x11().root_window();
        const auto size = system_.x11().window_size(foreign);
        if (!size) {
            std::fprintf(stderr, "kolvane: there is no window 0x%lx to draw in\n", foreign);
            return exit_no_host_window;
        }
        area = {0, 0, size->width, size->height};
    } else if (host == SceneHost::window) {
        area = own_window_area();
    } else if (!all_monitors(area)) {
        return no_display();
    }
    // The full-screen scene runs once per display: a second start leaves quietly.
    SceneLock lock;
    if (host == SceneHost::full_screen && !options_.test_run) {
        const char* display = std::getenv("DISPLAY");
        if (!lock.claim(scene_lock_folder(), display ? display : "")) return 0;
    }
    system_.set_scene_size(area.w, area.h);
    // A host's owner decides about the pointer, the password and when the scene ends.
    system_.set_pointer_owned(host != SceneHost::foreign);
    // A trial run from the settings program ends at the first input, without asking for the password.
    if (host != SceneHost::full_screen || options_.test_run) app.scene.run.test_mode = 1;

    const double twips_x = system_.twips_per_pixel_x(), twips_y = system_.twips_per_pixel_y();
    const double dpi_x = 1440.0 / twips_x, dpi_y = 1440.0 / twips_y;
    SceneFonts fonts(dpi_x, dpi_y);
    ScreenLayers layers;
    OverlayBoxes boxes(layers, fonts, twips_x, twips_y);
    PasswordBox prompt(app.scene, layers, fonts, dpi_y);
    FrameRateBox frame_rate(layers, fonts);
    int monitor_width = 0, monitor_height = 0;
    const bool preview = host == SceneHost::foreign && options_.host_window != 0 &&
                         smallest_monitor(monitor_width, monitor_height) &&
                         preview_sized(area.w, area.h, monitor_width, monitor_height);
    MixerAudio audio(preview ? MixerAudio::Output::none : MixerAudio::Output::device);
    MixerChannel midi(audio, 0);
    MixerChannel wav(audio, 0);
    SdlSceneWindow window(app, system_, layers, prompt, options_.show_frame_rate ? &frame_rate : nullptr);
    const char* report = std::getenv("KOLVANE_REPORT_FIRST_FRAME");
    window.report_first_frame(report != nullptr && *report != '\0');
    SceneMessageBox messages(layers, fonts, dpi_y, [&window] { window.flush(); });
    ScenePlatform platform(app, &layers, &boxes, &window, &midi, &wav);

    const std::string folder = picture_folder(system_.program_folder());
    FolderPictures pictures(folder);
    if (!load_scene_pictures(app.scene, pictures))
        std::fprintf(stderr, "kolvane: some pictures under %s are missing; they stay black\n", folder.c_str());

    for (;;) {
        if (!window.open(host, foreign, area)) {
            if (host == SceneHost::foreign && !system_.x11().window_size(foreign)) {
                std::fprintf(stderr, "kolvane: the window 0x%lx went away\n", foreign);
                return exit_no_host_window;
            }
            std::fprintf(stderr, "kolvane: cannot open the scene window (%s)\n", SDL_GetError());
            return exit_no_display;
        }
        frame_rate.show(options_.show_frame_rate);
        {
            SinkInstalled sink(system_, &window, host == SceneHost::foreign ? nullptr : &messages);
            run_scene_window(app.scene);
        }
        const auto size = window.restart_size();
        if (!size) break;
        // The host window has a new size: the scene starts again at it.
        area = {0, 0, size->width, size->height};
        system_.set_scene_size(area.w, area.h);
        app.scene.run.saver_running = true;
    }
    window.destroy();
    const char* report_frames = std::getenv("KOLVANE_REPORT_FRAMES");
    if (report_frames != nullptr && *report_frames != '\0')
        std::fprintf(stderr, "kolvane: longest frame %.1f ms over %llu event waits\n",
                     static_cast<double>(system_.longest_stretch_us()) / 1000.0,
                     static_cast<unsigned long long>(system_.stretches()));
    return 0;
}

int LinuxModes::run_preview(App& app) {
    if (!system_.x11().available()) {
        std::fprintf(stderr, "kolvane: no X display to show the preview on\n");
        return exit_no_display;
    }
    FolderPictures pictures(picture_folder(system_.program_folder()));
    PreviewState state;
    PreviewWindow view(system_, state, pictures.picture("preview"), app.startup.twips_per_pixel_x,
                       app.startup.twips_per_pixel_y);
    SinkInstalled sink(system_, &view);
    kolvane::run_preview(app.platform.system, app.startup, view, state);
    return 0;
}

int LinuxModes::run_new_password(App&) { return exec_settings_program(system_, "/A", "The set-password dialog"); }

int LinuxModes::run_configuration(App&) {
    return exec_settings_program(system_, "/C", "The configuration window");
}

}  // namespace kolvane::sdl
