// The settings program's system services: the Linux ones, with GTK's event loop and GTK message boxes.
#pragma once
#include <gtk/gtk.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sdl/linux_system.h"

namespace kolvane::gtk {

inline constexpr const char* settings_program_name = "kolvane-settings";
inline constexpr const char* scene_program_name = "kolvane";
inline constexpr int exit_no_display = 4;        // as the scene program says it
inline constexpr int exit_sibling_missing = 3;   // the mode's program is not there

// Window titles, the clock, the DPI and the folders are the scene program's; events are GTK's,
// message boxes are GTK message dialogs over the window that is in front.
class GtkSystem : public sdl::LinuxSystem {
public:
    // Opens GTK on the X display the first time; false when there is none. The switches that only
    // hand over to the scene program never need it.
    bool gtk_ready();

    void pump_events(std::int32_t timeout_ms) override;
    void message_box(const std::string& text, const std::string& title, MessageKind kind) override;
    bool ask_yes_no(const std::string& text, const std::string& title) override;

    // The program's open windows, the newest last: a dialog or message box belongs to the last one.
    void push_window(GtkWindow* window) { windows_.push_back(window); }
    void pop_window(GtkWindow* window);
    GtkWindow* top_window() const { return windows_.empty() ? nullptr : windows_.back(); }

private:
    bool tried_ = false;
    bool ready_ = false;
    std::vector<GtkWindow*> windows_;
};

// The program of that name in the folder of the running program.
std::string sibling_program(SystemApi& system, const char* name);
// Replaces this process by the sibling program with the arguments; returns only when that failed,
// after saying why on standard error, with the exit code to end with.
int exec_sibling(SystemApi& system, const char* name, const std::vector<std::string>& args);

}  // namespace kolvane::gtk
