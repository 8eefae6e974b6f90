// Audio scheduling over the two playback channels.
#include "scene/audio.h"

#include <cctype>

#include "platform/scene_window.h"
#include "startup/app.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {
void launch_on(MediaChannel* channel, const char* device_type, const std::string& file,
               std::int32_t& busy) {
    if (busy == 1 || channel == nullptr) return;
    channel->command("Close");
    channel->set_notify(true);
    channel->set_wait(false);
    channel->set_shareable(false);
    channel->set_device_type(device_type);
    channel->set_file_name(file);
    channel->command("Open");
    busy = 1;
    channel->command("Play");
}

void status_update(MediaChannel* channel, std::int32_t& busy) {
    if (channel != nullptr && channel->mode() == media_stopped) busy = 0;
}
}  // namespace

bool is_wav_file(const std::string& file) {
    if (file.size() < 3) return false;
    std::string tail = file.substr(file.size() - 3);
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail == "WAV";
}

void Timer1_Timer(App& app) {
    if (!flag_on(app.settings.audio_on) || app.lists.audio_file_count == 0) return;
    app.random.reseed_from_clock(static_cast<std::uint32_t>(get_ticks(app.platform.system)));
    const int index = static_cast<int>(int_floor(app.random.next() * app.lists.audio_file_count + 1));
    const std::string& file = app.lists.audio_files[static_cast<std::size_t>(index)];
    if (is_wav_file(file)) launch_wav(app, file);
    else launch_midi(app, file);
}

void launch_midi(App& app, const std::string& file) {
    launch_on(app.platform.midi, "Sequencer", file, app.audio.midi_busy);
}

void launch_wav(App& app, const std::string& file) {
    launch_on(app.platform.wav, "WaveAudio", file, app.audio.wav_busy);
}

void audio_off(App& app) {
    if (leading_number(app.settings.audio_on) != 1.0) return;
    if (app.platform.midi) app.platform.midi->command("Close");
    app.platform.system.pump_events(0);
    if (app.platform.wav) app.platform.wav->command("Close");
    app.platform.system.pump_events(0);
}

void MMControl1_StatusUpdate(App& app) { status_update(app.platform.midi, app.audio.midi_busy); }
void MMControl2_StatusUpdate(App& app) { status_update(app.platform.wav, app.audio.wav_busy); }

}  // namespace kolvane
