// The scene's timers, run in the frame wait and in the pauses of a background change.
#include "scene/timers.h"

#include <algorithm>

#include "scene/audio.h"
#include "scene/password_prompt.h"
#include "scene/scene.h"
#include "startup/system_services.h"

namespace kolvane {

std::int32_t until_next_timer(const Scene& scene, std::int32_t now, std::int32_t limit) {
    if (scene.timers.audio_enabled) limit = std::min(limit, std::max(0, ticks_until(now, scene.timers.audio_due)));
    if (scene.timers.prompt_enabled) limit = std::min(limit, std::max(0, ticks_until(now, scene.timers.prompt_due)));
    return limit;
}

void run_due_timers(Scene& scene) {
    SystemApi& system = scene.platform.system;
    const std::int32_t now = get_ticks(system);
    if (scene.timers.audio_enabled && ticks_reached(now, scene.timers.audio_due)) {
        scene.timers.audio_due = ticks_add(now, scene.timers.audio_interval);
        Timer1_Timer(scene);
    }
    if (scene.timers.prompt_enabled && ticks_reached(get_ticks(system), scene.timers.prompt_due))
        password_prompt_cancel(scene);
}

void report_channel_status(Scene& scene) {
    MMControl1_StatusUpdate(scene);
    MMControl2_StatusUpdate(scene);
}

void pause_with_timers(Scene& scene, std::int32_t ms) {
    SystemApi& system = scene.platform.system;
    const std::int32_t deadline = ticks_add(get_ticks(system), ms);
    std::int32_t now = get_ticks(system);
    std::int32_t remaining = ticks_until(now, deadline);
    for (;;) {
        system.pump_events(std::max(0, until_next_timer(scene, now, remaining)));
        run_due_timers(scene);
        now = get_ticks(system);
        remaining = ticks_until(now, deadline);
        if (remaining <= 0) break;
    }
    report_channel_status(scene);
}

}  // namespace kolvane
