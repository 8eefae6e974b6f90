// Password prompt logic.
#include "password/password_prompt.h"

#include "platform/scene_window.h"
#include "startup/app.h"
#include "startup/system_services.h"

namespace kolvane {

std::string upper_case_ansi(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 'a' && code <= 'z') c = static_cast<char>(code - 32);
        else if (code >= 0xE0 && code <= 0xFE && code != 0xF7) c = static_cast<char>(code - 32);
        else if (code == 0x9A || code == 0x9C || code == 0x9E) c = static_cast<char>(code - 16);
        else if (code == 0xFF) c = static_cast<char>(0x9F);
    }
    return upper;
}

void password_prompt_load(App& app) {
    app.timers.prompt_enabled = true;
    app.timers.prompt_due = ticks_add(get_ticks(app.platform.system), password_prompt_timeout_ms);
    cursor_show(app.platform.system);
}

bool password_prompt_check(App& app, std::string_view typed) {
    if (upper_case_ansi(app.settings.plain_password) != upper_case_ansi(typed)) return false;
    app.run.password_prompt_up = 0;
    app.run.exit_requested = 1;
    password_prompt_unload(app);
    return true;
}

void password_prompt_cancel(App& app) {
    app.run.password_prompt_up = 0;
    password_prompt_unload(app);
}

void password_prompt_unload(App& app) {
    app.timers.prompt_enabled = false;
    if (app.platform.scene_window) app.platform.scene_window->close_password_prompt();
    app.run.password_prompt_up = 0;
    app.run.input_count = 0;
    app.run.repaint_request = 1;
    cursor_hide(app.platform.system);
}

}  // namespace kolvane
