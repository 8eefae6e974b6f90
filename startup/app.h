// The one object that owns a process's records and holds its platform services.
#pragma once
#include <cstdint>
#include <string>

#include "lists/lists.h"
#include "platform/display.h"
#include "platform/overlay_view.h"
#include "platform/scene_window.h"
#include "platform/settings_store.h"
#include "platform/system.h"
#include "scene/render/scene_surfaces.h"
#include "scene/run_state.h"
#include "scene/scene_state.h"
#include "scene/sprites/sprite_table.h"
#include "startup/chance.h"
#include "startup/random.h"
#include "startup/settings.h"

namespace kolvane {

struct Platform {
    SystemApi& system;
    SettingsStore& store;
    RegistryReader& registry;
    Display* display = nullptr;        // the screen the scene is shown on
    OverlayView* overlays = nullptr;   // the caption and clock boxes
    LocalClock* local_clock = nullptr; // the time of day; the standard library's when absent
    SceneWindow* scene_window = nullptr;
    MediaChannel* midi = nullptr;      // the MIDI channel
    MediaChannel* wav = nullptr;       // the WAV channel
};

// Values recorded by Main at start-up.
struct StartupValues {
    std::string app_path;       // the program's folder, ending in the path separator
    std::string start_folder;
    std::string windows_dir;    // ending in the path separator
    std::int16_t twips_per_pixel_x = 15;
    std::int16_t twips_per_pixel_y = 15;
    std::uint32_t host_window = 0;
};

struct App {
    explicit App(Platform p) : platform(p) {}
    Platform platform;
    StartupValues startup;
    Settings settings;
    Lists lists;
    RunState run;
    AudioChannels audio;
    Random random;
    SpeedTables speed;
    SpriteTable sprites;
    RotationState rotation;
    ScrollerState scroller;
    SceneTimers timers;
    SceneSurfaces surfaces;
    int loop_index = 0;  // shared loop counter; a procedure that counts with it leaves it changed
};

}  // namespace kolvane
