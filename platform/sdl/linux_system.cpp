// Linux system services.
#include "platform/sdl/linux_system.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/sdl/desktop_background.h"
#include "platform/sdl/ini_store.h"
#include "password/password_forms.h"

namespace kolvane::sdl {

namespace {
constexpr double twips_per_inch = 1440.0;

std::uint64_t monotonic_us() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000u;
}
}  // namespace

void LinuxSystem::start_counting_stretches() {
    counting_stretches_ = true;
    wait_ended_us_ = monotonic_us();
    longest_stretch_us_ = 0;
    stretches_ = 0;
}

std::uint32_t LinuxSystem::time_get_time() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

void LinuxSystem::deliver(const SDL_Event& event) {
    if (sink_) sink_->deliver(event);
}

void LinuxSystem::round_done() {
    if (sink_) sink_->round_done();
}

void LinuxSystem::pump_events(std::int32_t timeout_ms) {
    if (counting_stretches_) {
        const std::uint64_t busy = monotonic_us() - wait_ended_us_;
        if (busy > longest_stretch_us_) longest_stretch_us_ = busy;
        ++stretches_;
    }
    pump_events_now(timeout_ms);
    if (counting_stretches_) wait_ended_us_ = monotonic_us();
}

void LinuxSystem::pump_events_now(std::int32_t timeout_ms) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        // No SDL window (the preview draws with Xlib): the wait is a plain sleep, and the sink looks
        // at its own events before and after it.
        round_done();
        if (timeout_ms > 0) {
            const timespec ts{timeout_ms / 1000, static_cast<long>(timeout_ms % 1000) * 1000000L};
            const std::uint32_t start = time_get_time();
            nanosleep(&ts, nullptr);
            sleeping_ms_ += time_get_time() - start;
        }
        round_done();
        return;
    }
    // What was drawn since the last round is shown before the program sleeps.
    round_done();
    SDL_Event event;
    // The X connection is read once per wait: SDL's wait returns at once when events are queued,
    // and the queue is then emptied without asking the connection again for each event.
    if (timeout_ms > 0) wait_for_events(timeout_ms);
    SDL_PumpEvents();
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) deliver(event);
    round_done();
}

void LinuxSystem::wait_for_events(std::int32_t timeout_ms) {
    const std::uint32_t start = time_get_time();
    if (event_display_ == nullptr) {
        // Without a known connection SDL waits (and may poll the connection several times to do so).
        SDL_WaitEventTimeout(nullptr, timeout_ms);
    } else if (XEventsQueued(event_display_, QueuedAlready) == 0 && !SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
        // Sleeps on the X socket itself: SDL is asked for events once, after the wait. A signal
        // (SIGTERM) interrupts the sleep; its quit event then comes with that one pump.
        XFlush(event_display_);
        pollfd connection{ConnectionNumber(event_display_), POLLIN, 0};
        poll(&connection, 1, timeout_ms);
    }
    sleeping_ms_ += time_get_time() - start;
}

int LinuxSystem::show_cursor(bool show) {
    cursor_counter_ += show ? 1 : -1;
    if (pointer_owned_ && SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_ShowCursor(cursor_counter_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursor_counter_;
}

// The desktop's own screen saver and locker stay free to start (the scene window is created with
// SDL's permission for that); the states are only recorded.
void LinuxSystem::set_saver_state(SaverState state, bool on) {
    if (state == SaverState::running) saver_running_ = on;
    else saver_active_ = on;
}

void LinuxSystem::set_desktop_wallpaper(const std::string& path) {
    if (wallpaper_setter_) wallpaper_setter_(path);
    else set_desktop_background(path.c_str());
}

std::string LinuxSystem::upper_case(std::string_view text) { return upper_case_ansi(text); }

bool LinuxSystem::window_titled_exists(const std::string& title) { return x11_.window_titled_exists(title); }

std::string LinuxSystem::raw_windows_directory() { return data_folder(); }

void LinuxSystem::message_box(const std::string& text, const std::string& title, MessageKind kind) {
    std::string lines = text;
    for (char& c : lines)
        if (c == '\r') c = '\n';
    std::fprintf(stderr, "%s: %s\n", title.c_str(), lines.c_str());
    if (message_view_ && message_view_->show_message(text, title, kind)) return;
    if (std::getenv("DISPLAY") == nullptr) return;
    const Uint32 icon = kind == MessageKind::error     ? SDL_MESSAGEBOX_ERROR
                        : kind == MessageKind::warning ? SDL_MESSAGEBOX_WARNING
                                                       : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(icon, title.c_str(), lines.c_str(), message_parent_);
}

bool LinuxSystem::ask_yes_no(const std::string& text, const std::string& title) {
    std::string lines = text;
    for (char& c : lines)
        if (c == '\r') c = '\n';
    if (std::getenv("DISPLAY") == nullptr) return false;
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
    };
    const SDL_MessageBoxData data = {SDL_MESSAGEBOX_WARNING, message_parent_, title.c_str(), lines.c_str(),
                                     2, buttons, nullptr};
    int chosen = 0;
    return SDL_ShowMessageBox(&data, &chosen) == 0 && chosen == 1;
}

bool LinuxSystem::flush_to_disk(std::FILE* file) { return std::fflush(file) == 0 && ::fsync(fileno(file)) == 0; }

std::string LinuxSystem::program_folder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

void LinuxSystem::set_scene_size(int width, int height) {
    scene_width_ = width;
    scene_height_ = height;
}

void LinuxSystem::set_dpi(ScreenDpi dpi) {
    dpi_ = dpi;
    dpi_known_ = true;
}

ScreenDpi LinuxSystem::dpi() {
    if (!dpi_known_) set_dpi(x11_.screen_dpi());
    return dpi_;
}

double LinuxSystem::twips_per_pixel_x() { return twips_per_inch / dpi().x; }
double LinuxSystem::twips_per_pixel_y() { return twips_per_inch / dpi().y; }

float LinuxSystem::screen_width_twips() {
    if (scene_width_ <= 0) {
        const WindowSize screen = x11_.screen_size();
        set_scene_size(screen.width > 0 ? screen.width : 640, screen.height > 0 ? screen.height : 480);
    }
    return static_cast<float>(scene_width_ * twips_per_pixel_x());
}

float LinuxSystem::screen_height_twips() {
    if (scene_height_ <= 0) screen_width_twips();
    return static_cast<float>(scene_height_ * twips_per_pixel_y());
}

}  // namespace kolvane::sdl
