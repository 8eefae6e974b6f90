// Playback on SDL2_mixer, reported to the engine in the media-player control's modes.
#include "platform/sdl/mixer_channel.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>

namespace kolvane::sdl {

std::string general_midi_font() {
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                             "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2"}) {
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) return path;
    }
    return {};
}

MixerAudio::~MixerAudio() { close(); }

bool MixerAudio::open() {
    if (tried_) return open_;
    tried_ = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_ = true;
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) return false;
    // The mixer only looks at SDL_SOUNDFONTS when forced to, so the font is set here unless the
    // user named one.
    const char* chosen = std::getenv("SDL_SOUNDFONTS");
    if (chosen == nullptr || *chosen == '\0') {
        const std::string font = general_midi_font();
        if (!font.empty()) Mix_SetSoundFonts(font.c_str());
    }
    open_ = true;
    return true;
}

void MixerAudio::close() {
    if (open_) {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
        Mix_Quit();
    }
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
    subsystem_ = false;
    tried_ = false;
}

MixerChannel::~MixerChannel() { close(); }

void MixerChannel::command(const std::string& name) {
    if (name == "Open") open_file();
    else if (name == "Play") play();
    else if (name == "Close") close();
}

void MixerChannel::open_file() {
    close();
    if (!audio_.open()) return;
    if (sequencer()) music_ = Mix_LoadMUS(file_name_.c_str());
    else if (device_type_ == "WaveAudio") chunk_ = Mix_LoadWAV(file_name_.c_str());
}

void MixerChannel::play() {
    if (music_) started_ = Mix_PlayMusic(music_, 0) == 0;
    else if (chunk_) started_ = Mix_PlayChannel(mixer_channel_, chunk_, 0) >= 0;
}

void MixerChannel::close() {
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    if (chunk_) {
        Mix_HaltChannel(mixer_channel_);
        Mix_FreeChunk(chunk_);
        chunk_ = nullptr;
    }
    started_ = false;
}

MediaMode MixerChannel::mode() {
    const bool playing = started_ && ((music_ && Mix_PlayingMusic() != 0) ||
                                      (chunk_ && Mix_Playing(mixer_channel_) != 0));
    return playing ? MediaMode::playing : MediaMode::stopped;
}

}  // namespace kolvane::sdl
