// Music and sound effects from the audio list, started by the scene's audio timer.
#pragma once
#include <string>

namespace kolvane {

struct App;

// The audio tick: picks an entry at random and starts it on its channel unless that one is busy.
void Timer1_Timer(App& app);
void launch_midi(App& app, const std::string& file);
void launch_wav(App& app, const std::string& file);
void audio_off(App& app);
// Status reports: a channel that reports stopped is free again.
void MMControl1_StatusUpdate(App& app);
void MMControl2_StatusUpdate(App& app);

// True when the file's last three characters, upper-cased, are "WAV".
bool is_wav_file(const std::string& file);

}  // namespace kolvane
