// Port to the operating-system services the engine uses: clock, events, pointer, windows, message boxes.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kolvane {

// The icon and sound a message box comes with.
enum class MessageKind { plain, error, warning };

// The system's own screen-saver states that the scene sets while it runs.
enum class SaverState {
    running,  // a screen saver is running: the system's task-switching keys are off
    active,   // the system starts a screen saver after its idle time
};

class SystemApi {
public:
    virtual ~SystemApi() = default;
    // Milliseconds since some fixed start, wrapping as an unsigned 32-bit count.
    virtual std::uint32_t time_get_time() = 0;
    // Delivers every pending event; when none is pending waits up to timeout_ms for one.
    virtual void pump_events(std::int32_t timeout_ms) = 0;
    // Moves the pointer display counter up (show) or down and returns its new value.
    virtual int show_cursor(bool show) = 0;
    virtual void set_saver_state(SaverState state, bool on) = 0;
    // Makes the picture file the desktop wallpaper and keeps it as the user's setting.
    virtual void set_desktop_wallpaper(const std::string& path) = 0;
    // True when a top-level window with exactly this title exists.
    virtual bool window_titled_exists(const std::string& title) = 0;
    // True where a running scene is found by its window's title. False where the backend keeps one
    // scene per screen by its own means: there any program may show that title, and it decides nothing.
    virtual bool scene_found_by_title() = 0;
    // The system's Windows directory as reported, possibly empty on failure.
    virtual std::string raw_windows_directory() = 0;
    // The user's own folder for the program's files where the Windows directory cannot be written
    // (it need not exist yet); empty where the Windows directory stands for a per-user folder already.
    virtual std::string per_user_data_directory() = 0;
    // Shows a message box with an OK button and returns when it is closed.
    virtual void message_box(const std::string& text, const std::string& title, MessageKind kind) = 0;
    // Shows a question with Yes and No buttons; true when the user chose Yes.
    virtual bool ask_yes_no(const std::string& text, const std::string& title) = 0;
    // Waits until what was written to the open file is on the disk, so a rename that follows never
    // leaves an empty file after a crash; false when the system reports it may not be.
    virtual bool flush_to_disk(std::FILE* file) = 0;
    // The folder the program runs from, with or without a trailing separator.
    virtual std::string program_folder() = 0;
    virtual double twips_per_pixel_x() = 0;
    virtual double twips_per_pixel_y() = 0;
    virtual float screen_width_twips() = 0;
    virtual float screen_height_twips() = 0;
    // The separator that ends folder paths on this platform.
    virtual char path_separator() const = 0;
    // 8-bit text in upper case by the system's own case rules (the password prompt compares
    // case-blind).
    virtual std::string upper_case(std::string_view text) = 0;
};

}  // namespace kolvane
