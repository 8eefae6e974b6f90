// The Linux system services: monotonic clock, SDL event delivery, the pointer, X11 lookups, DPI and the wallpaper.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/sdl/x11_windows.h"
#include "ports/system_api.h"

union SDL_Event;
struct SDL_Window;

namespace kolvane::sdl {

// Whoever owns the open window: receives the events and puts gathered drawing on the screen.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void deliver(const SDL_Event& event) = 0;
    // Called before the event wait and after each round: drawing gathered so far goes to the screen,
    // and anything watched by polling (a host window's size) is looked at.
    virtual void round_done() = 0;
};

// Shows a message box inside the scene window, above everything, and returns when it is closed;
// false when it cannot (no window), and the system's own box is used.
class MessageView {
public:
    virtual ~MessageView() = default;
    virtual bool show_message(const std::string& text, const std::string& title, MessageKind kind) = 0;
};

class LinuxSystem : public SystemApi {
public:
    std::uint32_t time_get_time() override;
    void pump_events(std::int32_t timeout_ms) override;
    int show_cursor(bool show) override;
    void set_saver_state(SaverState state, bool on) override;
    void set_desktop_wallpaper(const std::string& path) override;
    bool window_titled_exists(const std::string& title) override;
    // The scene lock tells a second scene apart; a window title is anyone's to show.
    bool scene_found_by_title() override { return false; }
    std::string raw_windows_directory() override;
    // The data folder is the user's own already.
    std::string per_user_data_directory() override { return {}; }
    void message_box(const std::string& text, const std::string& title, MessageKind kind) override;
    // The scene asks nothing: without a display the answer is No.
    bool ask_yes_no(const std::string& text, const std::string& title) override;
    bool flush_to_disk(std::FILE* file) override;
    std::string program_folder() override;
    double twips_per_pixel_x() override;
    double twips_per_pixel_y() override;
    float screen_width_twips() override;
    float screen_height_twips() override;
    char path_separator() const override { return '/'; }
    // The Linux program keeps its texts in the Western 8-bit code page.
    std::string upper_case(std::string_view text) override;

    // The window that receives events, and over which message boxes open; nullptr for none.
    void set_event_sink(EventSink* sink) { sink_ = sink; }
    void set_message_parent(SDL_Window* window) { message_parent_ = window; }
    void set_message_view(MessageView* view) { message_view_ = view; }
    // SDL's connection to the X server, whose socket event waits sleep on; nullptr for none.
    void set_event_connection(_XDisplay* display) { event_display_ = display; }
    // The area the scene covers, in pixels: the primary screen, a host window or the program's window.
    void set_scene_size(int width, int height);
    // Fixes the DPI instead of asking the display (tests and hosts without a display).
    void set_dpi(ScreenDpi dpi);
    // When false the pointer counter still counts but the pointer itself is left alone: a host
    // window's owner decides about the pointer.
    void set_pointer_owned(bool owned) { pointer_owned_ = owned; }
    // Replaces the way the desktop background is set (tests).
    void set_wallpaper_setter(std::function<void(const std::string&)> setter) { wallpaper_setter_ = std::move(setter); }

    // Milliseconds spent asleep in the event wait since the start.
    std::uint64_t sleeping_ms() const { return sleeping_ms_; }
    // Busy stretches: the time from the end of one event wait to the start of the next, during
    // which nothing reaches the screen and no input is read. Counted from this call on.
    void start_counting_stretches();
    std::uint64_t longest_stretch_us() const { return longest_stretch_us_; }
    std::uint64_t stretches() const { return stretches_; }
    // The screen-saver state the scene told the system: running (action 97) and active (action 17).
    bool saver_running_state() const { return saver_running_; }
    bool saver_active_state() const { return saver_active_; }
    XDisplayLink& x11() { return x11_; }

private:
    void pump_events_now(std::int32_t timeout_ms);
    void wait_for_events(std::int32_t timeout_ms);
    void deliver(const SDL_Event& event);
    void round_done();
    ScreenDpi dpi();

    XDisplayLink x11_;
    EventSink* sink_ = nullptr;
    _XDisplay* event_display_ = nullptr;
    SDL_Window* message_parent_ = nullptr;
    MessageView* message_view_ = nullptr;
    std::function<void(const std::string&)> wallpaper_setter_;
    int cursor_counter_ = 0;
    bool pointer_owned_ = true;
    bool dpi_known_ = false;
    ScreenDpi dpi_;
    int scene_width_ = 0;
    int scene_height_ = 0;
    std::uint64_t sleeping_ms_ = 0;
    bool counting_stretches_ = false;
    std::uint64_t wait_ended_us_ = 0;
    std::uint64_t longest_stretch_us_ = 0;
    std::uint64_t stretches_ = 0;
    bool saver_running_ = false;
    bool saver_active_ = true;
};

}  // namespace kolvane::sdl
