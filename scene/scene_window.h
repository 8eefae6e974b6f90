// The scene window's life: load, first activation, the frame loop, input counting and unload.
#pragma once
#include <cstdint>

namespace kolvane {

struct Scene;

// Runs a whole scene on a window the backend has created: Form_Load, then Form_Activate, which
// returns once the scene has stopped and the window is gone.
void run_scene_window(Scene& scene);

void Form_Load(Scene& scene);
void Form_Activate(Scene& scene);
// The first activation's set-up of the screen, the surfaces, the sprites and the audio timer.
void scene_setup(Scene& scene);
void main_loop(Scene& scene);
// The tear-down; false when the unload is refused (the window stays until the loop stops it).
bool Form_Unload(Scene& scene);

// One frame's work, in order: erase, move, change the background when due, draw, show, sort, clock, caption.
void frame_work(Scene& scene);
// Delivers events until the frame's time is over, running the scene's timers as they fall due.
void frame_wait(Scene& scene);
// The end of a frame: the block count, the input test, the repaint; true when the scene must stop.
bool end_of_frame(Scene& scene);

// Input handlers the backend calls while it delivers events.
void ascreen_MouseMove(Scene& scene);
void do_keypress(Scene& scene);
// Another program or the window manager asks the window to close. A protected scene (the password
// switch on, not a test run) takes it as a key press, so the password is asked for; else it ends.
void scene_close_request(Scene& scene);
// The session ends or the program is told to stop (a signal): the scene ends in order, always, so
// that a shutdown is never held up.
void scene_end_request(Scene& scene);

// The three frame periods from the settings (products clamped to the 32-bit range).
void derive_scene_periods(Scene& scene);

inline constexpr std::int32_t frames_per_input_block = 80;

}  // namespace kolvane
