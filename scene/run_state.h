// The scene's run flags, counters, size and periods; the playback channels' state and the scene's timers.
#pragma once
#include <cstdint>

namespace kolvane {

struct RunState {
    bool saver_running = false;
    std::int32_t exit_requested = 0;
    std::int16_t password_prompt_up = 0;
    std::int32_t test_mode = 0;
    std::int16_t input_count = 0;
    std::int16_t input_limit = 22;
    std::int32_t frame_counter = 0;
    std::int32_t frame_start = 0;
    std::int32_t frame_delay = 0;
    std::int16_t repaint_request = 0;
    std::int32_t unload_locked = 0;
    std::int32_t activated_once = 0;
    std::int32_t screen_width = 640;   // pixels
    std::int32_t screen_height = 480;
    std::int32_t object_scale = 1;     // sprites, their entry points and edge margins are this many times as large
    std::int32_t scroller_period = 0;  // frames
    std::int32_t rotation_period = 0;
    std::int32_t launch_interval = 0;
};

// Whether each playback channel is busy: 1 while a file plays on it.
struct AudioChannels {
    std::int32_t midi_busy = 0;
    std::int32_t wav_busy = 0;
};

// The scene's own timers, run inside the frame wait: the audio tick and the password prompt's limit.
struct SceneTimers {
    bool audio_enabled = false;
    std::int32_t audio_interval = 0;  // milliseconds
    std::int32_t audio_due = 0;       // tick count of the next audio tick
    bool prompt_enabled = false;
    std::int32_t prompt_due = 0;      // tick count at which the password prompt closes itself
};

}  // namespace kolvane
