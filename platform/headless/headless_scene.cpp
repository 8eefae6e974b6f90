// Headless scene window and playback channels.
#include "platform/headless/headless_scene.h"

#include <filesystem>

namespace kolvane::headless {

void ScriptedChannel::command(const std::string& name) {
    commands.push_back(name);
    if (name == "Close") {
        playing = false;
    } else if (name == "Play") {
        // A file that does not exist never plays; its channel reports stopped.
        std::error_code ec;
        playing = std::filesystem::exists(file_name, ec);
        if (playing) {
            played.push_back(file_name);
            reports_left_ = reports_per_file;
        }
    }
}

SceneBackend::SceneBackend(int width, int height) {
    system.screen_twips_w = static_cast<float>(width) * 15.0f;
    system.screen_twips_h = static_cast<float>(height) * 15.0f;
}

Platform SceneBackend::platform() {
    Platform p{system, store, registry};
    p.display = &display;
    p.overlays = &overlays;
    p.local_clock = &clock;
    p.scene_window = &window;
    p.midi = &midi;
    p.wav = &wav;
    return p;
}

MediaMode ScriptedChannel::mode() {
    if (playing && --reports_left_ <= 0) playing = false;
    return playing ? MediaMode::playing : MediaMode::stopped;
}

}  // namespace kolvane::headless
