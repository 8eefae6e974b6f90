// Linux system services.
#include "platform/sdl/linux_system.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/sdl/ini_store.h"

namespace kolvane::sdl {

std::uint32_t LinuxSystem::time_get_time() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

void LinuxSystem::pump_events(std::int32_t timeout_ms) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        // No window yet: nothing to deliver, so the wait is a plain sleep.
        if (timeout_ms > 0) {
            const timespec ts{timeout_ms / 1000, static_cast<long>(timeout_ms % 1000) * 1000000L};
            nanosleep(&ts, nullptr);
        }
        return;
    }
    SDL_PumpEvents();
    if (timeout_ms > 0 && SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 0)
        SDL_WaitEventTimeout(nullptr, timeout_ms);
}

int LinuxSystem::show_cursor(bool show) {
    cursor_counter_ += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_ShowCursor(cursor_counter_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursor_counter_;
}

void LinuxSystem::system_parameters_info(std::uint32_t, std::int32_t, const char*, std::uint32_t) {
    // The desktop's screen-saver state is kept by the SDL hint of the scene window.
}

namespace {
bool has_title(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    bool found = false;
    if (XFetchName(display, window, &name) && name) {
        found = title == name;
        XFree(name);
    }
    return found;
}

// Looks at top-level windows and at the children a window manager wraps them in.
bool search_tree(Display* display, Window window, const std::string& title, int depth) {
    if (has_title(display, window, title)) return true;
    if (depth == 0) return false;
    Window root_return = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root_return, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) found = search_tree(display, children[i], title, depth - 1);
    if (children) XFree(children);
    return found;
}
}  // namespace

bool LinuxSystem::window_titled_exists(const std::string& title) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const bool found = search_tree(display, DefaultRootWindow(display), title, 2);
    XCloseDisplay(display);
    return found;
}

std::string LinuxSystem::raw_windows_directory() { return data_folder(); }

void LinuxSystem::message_box(const std::string& text, const std::string& title, unsigned flags) {
    std::string lines = text;
    for (char& c : lines)
        if (c == '\r') c = '\n';
    std::fprintf(stderr, "%s: %s\n", title.c_str(), lines.c_str());
    if (std::getenv("DISPLAY") == nullptr) return;
    const Uint32 kind = (flags & 16u) ? SDL_MESSAGEBOX_ERROR : (flags & 48u) ? SDL_MESSAGEBOX_WARNING
                                                                              : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(kind, title.c_str(), lines.c_str(), nullptr);
}

std::string LinuxSystem::program_folder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

}  // namespace kolvane::sdl
