// Port to the scene's full-screen window and the password prompt it shows.
#pragma once

namespace kolvane {

// What the engine asks of the window the scene is shown in; the window reports input back through
// the scene's handlers (ascreen_MouseMove, do_keypress, scene_close_request).
class FullScreenWindow {
public:
    virtual ~FullScreenWindow() = default;
    // Moves the pointer to a point of the window's client area, in pixels.
    virtual void set_mouse_position(int x, int y) = 0;
    // Covers the screen (pixels) and stays above every other window.
    virtual void make_topmost(int left, int top, int width, int height) = 0;
    virtual void redraw() = 0;
    // Shows the password prompt above the scene, not modal; closing it is the engine's call.
    virtual void show_password_prompt() = 0;
    virtual void close_password_prompt() = 0;
    // Destroys the window once its unload has gone ahead.
    virtual void destroy() = 0;
};

}  // namespace kolvane
