// Audio scheduling over the two playback channels.
#include "scene/audio.h"

#include <cctype>

#include "scene/scene.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {
void launch_on(MediaChannel* channel, const char* device_type, const std::string& file,
               std::int32_t& busy) {
    if (busy == 1 || channel == nullptr) return;
    channel->command("Close");
    busy = 1;
    open_and_play(*channel, device_type, file);
}

void status_update(MediaChannel* channel, std::int32_t& busy) {
    if (channel != nullptr && channel->mode() == MediaMode::stopped) busy = 0;
}
}  // namespace

bool is_wav_file(const std::string& file) {
    if (file.size() < 3) return false;
    std::string tail = file.substr(file.size() - 3);
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail == "WAV";
}

const char* device_type_for(const std::string& file) { return is_wav_file(file) ? "WaveAudio" : "Sequencer"; }

void open_and_play(MediaChannel& channel, const char* device_type, const std::string& file) {
    channel.set_notify(true);
    channel.set_wait(false);
    channel.set_shareable(false);
    channel.set_device_type(device_type);
    channel.set_file_name(file);
    channel.command("Open");
    channel.command("Play");
}

void Timer1_Timer(Scene& scene) {
    if (!flag_on(scene.settings.audio_on) || scene.lists.audio_file_count == 0) return;
    scene.random.reseed_from_clock(static_cast<std::uint32_t>(get_ticks(scene.platform.system)));
    const int index = static_cast<int>(int_floor(scene.random.next() * scene.lists.audio_file_count + 1));
    const std::string& file = scene.lists.audio_files[static_cast<std::size_t>(index)];
    if (is_wav_file(file)) launch_wav(scene, file);
    else launch_midi(scene, file);
}

void reload_audio_list(Scene& scene) {
    load_audio_list(data_folders(scene.startup), scene.lists);
    scene.audio.wav_busy = 0;
    scene.audio.midi_busy = 0;
}

void launch_midi(Scene& scene, const std::string& file) {
    launch_on(scene.platform.midi, "Sequencer", file, scene.audio.midi_busy);
}

void launch_wav(Scene& scene, const std::string& file) {
    launch_on(scene.platform.wav, "WaveAudio", file, scene.audio.wav_busy);
}

void audio_off(Scene& scene) {
    if (leading_number(scene.settings.audio_on) != 1.0) return;
    if (scene.platform.midi) scene.platform.midi->command("Close");
    scene.platform.system.pump_events(0);
    if (scene.platform.wav) scene.platform.wav->command("Close");
    scene.platform.system.pump_events(0);
}

void MMControl1_StatusUpdate(Scene& scene) { status_update(scene.platform.midi, scene.audio.midi_busy); }
void MMControl2_StatusUpdate(Scene& scene) { status_update(scene.platform.wav, scene.audio.wav_busy); }

}  // namespace kolvane
