// Password prompt logic.
#include "scene/password_prompt.h"

#include "password/password_forms.h"
#include "scene/scene.h"
#include "startup/system_services.h"

namespace kolvane {

void password_prompt_load(Scene& scene) {
    scene.timers.prompt_enabled = true;
    scene.timers.prompt_due = ticks_add(get_ticks(scene.platform.system), password_prompt_timeout_ms);
    cursor_show(scene.platform.system);
}

bool password_prompt_check(Scene& scene, std::string_view typed) {
    SystemApi& system = scene.platform.system;
    if (system.upper_case(scene.settings.plain_password) != system.upper_case(typed)) return false;
    scene.run.password_prompt_up = 0;
    scene.run.exit_requested = 1;
    password_prompt_unload(scene);
    return true;
}

bool password_prompt_check(Scene& scene, const TypedPassword& typed) {
    return typed.convertible() && password_prompt_check(scene, std::string_view(typed.text));
}

void password_prompt_cancel(Scene& scene) {
    scene.run.password_prompt_up = 0;
    password_prompt_unload(scene);
}

void password_prompt_unload(Scene& scene) {
    scene.timers.prompt_enabled = false;
    if (scene.platform.scene_window) scene.platform.scene_window->close_password_prompt();
    scene.run.password_prompt_up = 0;
    scene.run.input_count = 0;
    scene.run.repaint_request = 1;
    cursor_hide(scene.platform.system);
}

}  // namespace kolvane
