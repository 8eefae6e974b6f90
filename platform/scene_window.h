// Interfaces to the scene window, its password prompt and its two playback channels.
#pragma once
#include <string>

namespace kolvane {

// What the engine asks of the full-screen scene window; the window reports input back through
// scene_mouse_move, scene_key_press and scene_close_request.
class SceneWindow {
public:
    virtual ~SceneWindow() = default;
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

// One playback device with the operations of a media-player control.
class MediaChannel {
public:
    virtual ~MediaChannel() = default;
    // "Open", "Play" or "Close".
    virtual void command(const std::string& name) = 0;
    virtual void set_notify(bool on) = 0;
    virtual void set_wait(bool on) = 0;
    virtual void set_shareable(bool on) = 0;
    // "Sequencer" or "WaveAudio".
    virtual void set_device_type(const std::string& type) = 0;
    virtual void set_file_name(const std::string& path) = 0;
    // The device's mode; media_stopped once it has stopped or could not play.
    virtual int mode() = 0;
};

inline constexpr int media_stopped = 525;
inline constexpr int media_playing = 526;

}  // namespace kolvane
