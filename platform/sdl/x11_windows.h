// Questions the Linux program asks the X display directly: window titles, a host window's size, the screen's DPI.
#pragma once
#include <optional>
#include <string>

struct _XDisplay;

namespace kolvane::sdl {

struct WindowSize {
    int width = 0;
    int height = 0;
};

struct ScreenDpi {
    double x = 96.0;
    double y = 96.0;
};

// Parses an X window number: decimal, or hexadecimal after "0x"; nothing for anything else or 0.
std::optional<unsigned long> parse_window_id(const std::string& text);

// Installs, once per process, an X error handler that counts errors about windows, drawables and
// their graphics contexts that no longer exist (a host window destroyed under the program) instead
// of ending the process.
// Every other error goes on to the handler that was there before.
void install_x_error_trap();
// How many such errors the trap has counted since the process started.
unsigned long lost_window_errors();

// A connection of the program's own to the X display, apart from SDL's, for lookups that must not
// disturb SDL's event queue. Opens lazily; every question has a plain answer when there is no display.
class XDisplayLink {
public:
    XDisplayLink() = default;
    ~XDisplayLink();
    XDisplayLink(const XDisplayLink&) = delete;
    XDisplayLink& operator=(const XDisplayLink&) = delete;

    bool available();
    // The connection itself, for drawing of the program's own (the preview); nullptr without a display.
    _XDisplay* connection() { return display(); }
    // True when a window of the display (a top-level window or the client window a window manager
    // wraps) is titled exactly so, by WM_NAME or _NET_WM_NAME.
    bool window_titled_exists(const std::string& title);
    // The size of a window, nothing once the window is gone.
    std::optional<WindowSize> window_size(unsigned long window);
    unsigned long root_window();
    // True when a window manager announces itself on the root window (_NET_SUPPORTING_WM_CHECK).
    bool window_manager_running();
    // Asks to hear when parts of a window of another program need drawing again, and whether that
    // happened since the last question (SDL selects no events on windows it did not create).
    void watch_exposures(unsigned long window);
    bool take_exposure(unsigned long window);
    WindowSize screen_size();
    // The primary monitor's physical DPI as the display reports it, else the X screen's, else 96.
    ScreenDpi screen_dpi();

private:
    _XDisplay* display();
    _XDisplay* display_ = nullptr;
    bool tried_ = false;
};

// Holds the keyboard for `window` on `display` (the connection that owns the window, so that keys
// still reach it), trying for up to `patience_ms` while the window is not yet viewable or another
// client holds the keyboard. True once held.
bool grab_keyboard(_XDisplay* display, unsigned long window, int patience_ms);

// A DPI the display reports, kept only when plausible for a real screen.
bool plausible_dpi(double dpi);

}  // namespace kolvane::sdl
