// The scene window on SDL: the program's own full-screen window or a host's window, its events and its updates.
#pragma once
#include <SDL_keyboard.h>
#include <SDL_rect.h>

#include <optional>

#include "platform/sdl/linux_system.h"
#include "platform/sdl/overlay_boxes.h"
#include "platform/sdl/password_box.h"
#include "platform/sdl/run_options.h"
#include "platform/sdl/screen_layers.h"
#include "ports/full_screen_window.h"

namespace kolvane {
struct App;
}

namespace kolvane::sdl {

// True for a key the keyboard types a character with: those count as a key press of the scene.
// Shift, the function keys, the arrows and the like type nothing.
bool types_character(const SDL_Keysym& key);

class SdlSceneWindow : public FullScreenWindow, public EventSink {
public:
    SdlSceneWindow(App& app, LinuxSystem& system, ScreenLayers& layers, PasswordBox& prompt, FrameRateBox* frame_rate);
    ~SdlSceneWindow() override;
    SdlSceneWindow(const SdlSceneWindow&) = delete;
    SdlSceneWindow& operator=(const SdlSceneWindow&) = delete;

    // Opens the window over `area` (the screen, or the program's own window), or takes over the
    // window of another program; false when SDL cannot.
    bool open(SceneHost host, unsigned long foreign_window, const SDL_Rect& area);
    bool is_open() const { return window_ != nullptr; }
    SDL_Window* sdl_window() const { return window_; }
    // Set when the host window changed its size: the scene is stopped and must start again at it.
    std::optional<WindowSize> restart_size() const { return restart_size_; }
    // Reports on standard error when the scene's first picture reached the screen (performance script).
    void report_first_frame(bool on) { report_first_frame_ = on; }

    void set_mouse_position(int x, int y) override;
    void make_topmost(int left, int top, int width, int height) override;
    void redraw() override;
    void show_password_prompt() override;
    void close_password_prompt() override;
    void destroy() override;

    void deliver(const SDL_Event& event) override;
    void round_done() override;
    // Puts the changed rectangles on the screen.
    void flush();

private:
    bool counts_input() const { return host_ != SceneHost::foreign; }
    void close_request();
    void end_request();
    void poll_host();
    void take_window_surface();
    // Holds the keyboard on the X display for the scene window, trying for up to patience_ms.
    bool hold_keyboard(int patience_ms);

    App& app_;
    LinuxSystem& system_;
    ScreenLayers& layers_;
    PasswordBox& prompt_;
    FrameRateBox* frame_rate_;
    SDL_Window* window_ = nullptr;
    std::uint32_t window_id_ = 0;
    SceneHost host_ = SceneHost::full_screen;
    unsigned long foreign_window_ = 0;
    WindowSize host_size_;
    std::uint32_t next_host_poll_ = 0;
    std::optional<WindowSize> restart_size_;
    bool host_gone_ = false;
    bool report_first_frame_ = false;
    bool grabbed_ = false;  // keyboard and pointer held by the window
    bool first_frame_shown_ = false;
};

inline constexpr int host_poll_ms = 250;

}  // namespace kolvane::sdl
