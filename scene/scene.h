// The scene: its own records, owned here, and what it is given (the ports, the settings, the lists).
#pragma once
#include "lists/lists.h"
#include "ports/platform.h"
#include "scene/render/scene_surfaces.h"
#include "scene/run_state.h"
#include "scene/scene_state.h"
#include "scene/sprites/sprite_table.h"
#include "startup/chance.h"
#include "startup/random.h"
#include "startup/settings.h"
#include "startup/startup_values.h"

namespace kolvane {

// Every procedure of the scene takes this; a test builds one, runs frames and inspects every field.
struct Scene {
    Scene(Platform& p, Settings& s, Lists& l, const StartupValues& v) : platform(p), settings(s), lists(l), startup(v) {}
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Owned by the process; the scene re-reads the settings and lists when its window loads.
    Platform& platform;
    Settings& settings;
    Lists& lists;
    const StartupValues& startup;

    RunState run;
    AudioChannels audio;
    Random random;
    SpeedTables speed;
    SpriteTable sprites;
    RotationState rotation;
    ScrollerState scroller;
    SceneTimers timers;
    SceneSurfaces surfaces;
};

}  // namespace kolvane
