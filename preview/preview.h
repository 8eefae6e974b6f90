// The preview inside the display settings: the fixed picture in the host window until the host ends it.
#pragma once

#include "ports/preview_view.h"
#include "ports/system_api.h"
#include "startup/startup_values.h"

namespace kolvane {

inline constexpr int preview_poll_ms = 50;
inline constexpr unsigned preview_close_message = 16;  // a close request sent to the picture

struct PreviewState {
    bool preview_attached = false;
    bool unloaded = false;
};

// Attaches the picture to host_window, sized to the host's client area.
void preview_form_load(const StartupValues& startup, PreviewView& view, PreviewState& state);
// A message the hook reports for the picture's window.
void preview_message(PreviewView& view, PreviewState& state, unsigned message);
// Every 50 milliseconds: unloads the preview once the host is gone or the picture was taken back.
void preview_timer(const StartupValues& startup, PreviewView& view, PreviewState& state);
// The backend's loop: polls every 50 milliseconds, delivering events meanwhile, until unloaded.
void run_preview(SystemApi& system, const StartupValues& startup, PreviewView& view, PreviewState& state);

}  // namespace kolvane
