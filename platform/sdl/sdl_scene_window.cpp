// The scene window on SDL.
#include "platform/sdl/sdl_scene_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <time.h>

#include <cstdio>

#include "app/app.h"
#include "app/main_dispatch.h"
#include "scene/scene_window.h"
#include "startup/settings.h"

namespace kolvane::sdl {

bool types_character(const SDL_Keysym& key) {
    const SDL_Keycode k = key.sym;
    if (k == SDLK_UNKNOWN || k == SDLK_DELETE) return false;
    if ((k & SDLK_SCANCODE_MASK) == 0) return true;
    switch (k) {
    case SDLK_KP_0: case SDLK_KP_1: case SDLK_KP_2: case SDLK_KP_3: case SDLK_KP_4:
    case SDLK_KP_5: case SDLK_KP_6: case SDLK_KP_7: case SDLK_KP_8: case SDLK_KP_9:
    case SDLK_KP_PERIOD: case SDLK_KP_DIVIDE: case SDLK_KP_MULTIPLY: case SDLK_KP_MINUS:
    case SDLK_KP_PLUS: case SDLK_KP_ENTER:
        return true;
    default:
        return false;
    }
}

SdlSceneWindow::SdlSceneWindow(App& app, LinuxSystem& system, ScreenLayers& layers, PasswordBox& prompt,
                               FrameRateBox* frame_rate)
    : app_(app), system_(system), layers_(layers), prompt_(prompt), frame_rate_(frame_rate) {
    prompt_.set_flush([this] { flush(); });
}

SdlSceneWindow::~SdlSceneWindow() { destroy(); }

bool SdlSceneWindow::open(SceneHost host, unsigned long foreign_window, const SDL_Rect& area) {
    destroy();
    host_ = host;
    foreign_window_ = foreign_window;
    restart_size_.reset();
    host_gone_ = false;
    switch (host) {
    case SceneHost::full_screen: {
        // A borderless window over the screen covers it when nothing manages windows; a window
        // manager is asked for the full-screen state, above its panels (asking without one only
        // waits for an answer that never comes). Its full-screen state covers one monitor only,
        // so over several the window is a plain borderless one above the others.
        const bool one_monitor = SDL_GetNumVideoDisplays() <= 1;
        const Uint32 full =
            one_monitor && system_.x11().window_manager_running() ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
        window_ = SDL_CreateWindow(scene_window_title, area.x, area.y, area.w, area.h,
                                   full | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR);
        break;
    }
    case SceneHost::window:
        window_ = SDL_CreateWindow(scene_window_title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, area.w, area.h, 0);
        break;
    case SceneHost::foreign:
        window_ = SDL_CreateWindowFrom(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(foreign_window)));
        host_size_ = {area.w, area.h};
        system_.x11().watch_exposures(foreign_window);
        break;
    }
    if (!window_) return false;
    window_id_ = SDL_GetWindowID(window_);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11)
        system_.set_event_connection(info.info.x11.display);
    if (host != SceneHost::foreign) system_.set_message_parent(window_);
    take_window_surface();
    next_host_poll_ = system_.time_get_time() + host_poll_ms;
    return layers_.target() != nullptr;
}

void SdlSceneWindow::take_window_surface() {
    // The window's picture may be made anew by SDL (a new size); the layers then draw it whole.
    layers_.attach(window_ ? SDL_GetWindowSurface(window_) : nullptr);
    flush();
}

void SdlSceneWindow::set_mouse_position(int x, int y) {
    if (window_ && counts_input()) SDL_WarpMouseInWindow(window_, x, y);
}

void SdlSceneWindow::make_topmost(int, int, int, int) {
    if (!window_ || host_ != SceneHost::full_screen) return;
    SDL_SetWindowAlwaysOnTop(window_, SDL_TRUE);
    SDL_RaiseWindow(window_);
    // A protected scene holds the keyboard and the pointer, so that no other window gets a key
    // or a click while it runs.
    if (app_.scene.run.test_mode != 1 && windows_password_enabled(app_.platform.registry)) {
        SDL_SetHint(SDL_HINT_GRAB_KEYBOARD, "1");
        SDL_SetWindowGrab(window_, SDL_TRUE);
        // SDL asks for the keyboard once; a window not yet viewable is refused, so ask until held.
        grabbed_ = SDL_GetWindowGrab(window_) == SDL_TRUE && hold_keyboard(2000);
        if (!grabbed_) std::fprintf(stderr, "kolvane: another program holds the keyboard or the pointer\n");
    }
}

bool SdlSceneWindow::hold_keyboard(int patience_ms) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return window_ && SDL_GetWindowWMInfo(window_, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11 &&
           grab_keyboard(info.info.x11.display, info.info.x11.window, patience_ms);
}

void SdlSceneWindow::redraw() {
    layers_.redraw_all();
    flush();
}

void SdlSceneWindow::show_password_prompt() {
    prompt_.show();
    flush();
}

void SdlSceneWindow::close_password_prompt() {
    prompt_.hide();
    flush();
}

void SdlSceneWindow::destroy() {
    if (!window_) return;
    flush();
    if (grabbed_) SDL_SetWindowGrab(window_, SDL_FALSE);
    grabbed_ = false;
    layers_.attach(nullptr);
    system_.set_message_parent(nullptr);
    // A window of another program stays; SDL only lets go of it.
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    window_id_ = 0;
}

void SdlSceneWindow::close_request() {
    if (app_.scene.run.saver_running) scene_close_request(app_.scene);
}

void SdlSceneWindow::end_request() {
    if (app_.scene.run.saver_running) scene_end_request(app_.scene);
}

void SdlSceneWindow::deliver(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:  // SIGTERM and SIGINT only: closing the last window does not quit
        end_request();
        break;
    case SDL_WINDOWEVENT:
        if (event.window.windowID != window_id_) break;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) close_request();
        else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) take_window_surface();
        else if (event.window.event == SDL_WINDOWEVENT_EXPOSED && window_) SDL_UpdateWindowSurface(window_);
        // SDL lets go of the keyboard when the pointer leaves a window that is not in its full-screen
        // state (another program's window mapped under the pointer) or the focus moves away; a
        // protected scene takes it back at once.
        else if ((event.window.event == SDL_WINDOWEVENT_LEAVE || event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) &&
                 grabbed_)
            hold_keyboard(0);
        break;
    case SDL_MOUSEMOTION:
        if (counts_input() && event.motion.windowID == window_id_) ascreen_MouseMove(app_.scene);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (prompt_.visible() && event.button.button == SDL_BUTTON_LEFT) prompt_.click(event.button.x, event.button.y);
        break;
    case SDL_KEYDOWN:
        if (!counts_input()) break;
        // Keys typed into the prompt are the prompt's, not input to the scene.
        if (prompt_.visible()) prompt_.key(event.key.keysym.sym, event.key.keysym.mod);
        else if (types_character(event.key.keysym)) do_keypress(app_.scene);
        break;
    case SDL_TEXTINPUT:
        if (prompt_.visible()) prompt_.text_input(event.text.text);
        break;
    default:
        break;
    }
}

void SdlSceneWindow::flush() {
    const SDL_Rect* rects = nullptr;
    const int count = layers_.take_dirty(rects);
    if (count == 0 || !window_) return;
    SDL_UpdateWindowSurfaceRects(window_, rects, count);
    // The first update that carries the scene's picture, not the black window before it.
    if (!first_frame_shown_ && layers_.scene_presented()) {
        first_frame_shown_ = true;
        system_.start_counting_stretches();
        if (!report_first_frame_) return;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::fprintf(stderr, "kolvane: first frame at %lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
    }
}

void SdlSceneWindow::round_done() {
    flush();
    const std::uint32_t now = system_.time_get_time();
    if (frame_rate_) frame_rate_->round(now, app_.scene.run.frame_counter, system_.sleeping_ms());
    if (host_ == SceneHost::foreign && static_cast<std::int32_t>(now - next_host_poll_) >= 0) {
        next_host_poll_ = now + host_poll_ms;
        poll_host();
    }
    flush();
}

void SdlSceneWindow::poll_host() {
    if (restart_size_ || host_gone_) return;
    const auto size = system_.x11().window_size(foreign_window_);
    if (!size) {
        host_gone_ = true;
        end_request();
        return;
    }
    if (system_.x11().take_exposure(foreign_window_)) {
        layers_.redraw_all();
        flush();
    }
    if (size->width != host_size_.width || size->height != host_size_.height) {
        // The scene is made for one size: it stops here and starts again at the new one, without
        // the snapshot an ending scene would leave.
        restart_size_ = size;
        app_.settings.save_as_wallpaper = 0;
        end_request();
    }
}

}  // namespace kolvane::sdl
