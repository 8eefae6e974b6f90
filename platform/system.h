// Interface to the operating-system services the engine uses: clock, events, pointer, windows, dialogs.
#pragma once
#include <cstdint>
#include <string>

namespace kolvane {

// A window whose position the engine may set; geometry in twips.
class FormGeometry {
public:
    virtual ~FormGeometry() = default;
    virtual float width_twips() const = 0;
    virtual float height_twips() const = 0;
    virtual void move_to_twips(float left, float top) = 0;
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
    virtual void system_parameters_info(std::uint32_t action, std::int32_t param, const char* text,
                                        std::uint32_t flags) = 0;
    // True when a top-level window with exactly this title exists.
    virtual bool window_titled_exists(const std::string& title) = 0;
    // The system's Windows directory as reported, possibly empty on failure.
    virtual std::string raw_windows_directory() = 0;
    // Shows a message box and returns when it is closed.
    virtual void message_box(const std::string& text, const std::string& title, unsigned flags) = 0;
    // The folder the program runs from, with or without a trailing separator.
    virtual std::string program_folder() = 0;
    virtual double twips_per_pixel_x() = 0;
    virtual double twips_per_pixel_y() = 0;
    virtual float screen_width_twips() = 0;
    virtual float screen_height_twips() = 0;
    // The separator that ends folder paths on this platform.
    virtual char path_separator() const = 0;
};

}  // namespace kolvane
