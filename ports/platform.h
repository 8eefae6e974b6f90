// The ports one process is given by its backend: services every mode uses, and those of one mode.
#pragma once
#include "ports/display.h"
#include "ports/full_screen_window.h"
#include "ports/local_clock.h"
#include "ports/media_channel.h"
#include "ports/overlay_view.h"
#include "ports/registry_reader.h"
#include "ports/settings_store.h"
#include "ports/system_api.h"

namespace kolvane {

struct Platform {
    SystemApi& system;
    SettingsStore& store;
    RegistryReader& registry;
    Display* display = nullptr;             // the screen the scene is shown on
    OverlayView* overlays = nullptr;        // the caption and clock boxes
    LocalClock* local_clock = nullptr;      // the time of day; the standard library's when absent
    FullScreenWindow* scene_window = nullptr;
    MediaChannel* midi = nullptr;           // the MIDI channel
    MediaChannel* wav = nullptr;            // the WAV channel
};

}  // namespace kolvane
