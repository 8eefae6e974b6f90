// Music and sound effects from the audio list, started by the scene's audio timer.
#pragma once
#include <string>

#include "ports/media_channel.h"

namespace kolvane {

struct Scene;

// The audio tick: picks an entry at random and starts it on its channel unless that one is busy.
void Timer1_Timer(Scene& scene);
// Loads the audio list and frees both playback channels.
void reload_audio_list(Scene& scene);
void launch_midi(Scene& scene, const std::string& file);
void launch_wav(Scene& scene, const std::string& file);
void audio_off(Scene& scene);
// Status reports: a channel that reports stopped is free again.
void MMControl1_StatusUpdate(Scene& scene);
void MMControl2_StatusUpdate(Scene& scene);

// True when the file's last three characters, upper-cased, are "WAV".
bool is_wav_file(const std::string& file);
// "WaveAudio" for a WAV file, "Sequencer" for anything else.
const char* device_type_for(const std::string& file);
// Opens the file on the channel as that device and starts it without waiting; failures stay silent.
void open_and_play(MediaChannel& channel, const char* device_type, const std::string& file);

}  // namespace kolvane
