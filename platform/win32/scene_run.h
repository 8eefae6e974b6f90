// Running the full-screen scene in this process: the /S mode and the configuration window's test run.
#pragma once
#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace kolvane {
struct App;
}

namespace kolvane::win32 {

// Loads the pictures, creates the scene window with its playback channels and clock, runs the scene's
// Form_Load and Form_Activate and returns once it has stopped; 1 when the window could not be made.
int run_scene_on_screen(App& app, Win32System& system, HINSTANCE instance);

}  // namespace kolvane::win32
