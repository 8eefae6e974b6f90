// Preview logic over the platform's preview view.
#include "preview/preview.h"

#include <algorithm>

#include "startup/system_services.h"

namespace kolvane {

void preview_form_load(const StartupValues& startup, PreviewView& view, PreviewState& state) {
    const unsigned long host = startup.host_window;
    const HostRect rect = view.host_client_rect(host);
    view.size_picture_twips(static_cast<float>((rect.right - rect.left) * startup.twips_per_pixel_x),
                            static_cast<float>((rect.bottom - rect.top) * startup.twips_per_pixel_y));
    view.attach_to_host(host);
    state.preview_attached = true;
}

void preview_message(PreviewView& view, PreviewState& state, unsigned message) {
    if (message != preview_close_message) return;
    view.detach_from_host();
    state.preview_attached = false;
}

void preview_timer(const StartupValues& startup, PreviewView& view, PreviewState& state) {
    if (state.unloaded) return;
    if (!view.host_exists(startup.host_window) || !state.preview_attached) {
        state.unloaded = true;
        view.unload();
    }
}

void run_preview(SystemApi& system, const StartupValues& startup, PreviewView& view, PreviewState& state) {
    preview_form_load(startup, view, state);
    std::int32_t due = ticks_add(get_ticks(system), preview_poll_ms);
    while (!state.unloaded) {
        system.pump_events(std::max(0, ticks_until(get_ticks(system), due)));
        if (ticks_reached(get_ticks(system), due)) {
            due = ticks_add(get_ticks(system), preview_poll_ms);
            preview_timer(startup, view, state);
        }
    }
}

}  // namespace kolvane
