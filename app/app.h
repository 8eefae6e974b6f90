// The composition root: the one object that owns a process's records and the ports its backend gives it.
#pragma once
#include "lists/lists.h"
#include "ports/platform.h"
#include "scene/scene.h"
#include "startup/settings.h"
#include "startup/startup_values.h"

namespace kolvane {

struct App {
    explicit App(Platform p) : platform(p), scene(platform, settings, lists, startup) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Platform platform;
    StartupValues startup;
    Settings settings;
    Lists lists;
    Scene scene;  // refers to the records above, so it comes last
};

}  // namespace kolvane
