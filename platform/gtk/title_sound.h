// The configuration window's looping title sound on SDL2_mixer.
#pragma once
#include <string>

struct Mix_Chunk;

namespace kolvane::sdl {
class MixerAudio;
}

namespace kolvane::gtk {

// A sound file played again and again on one mixer channel until stopped or replaced, as the
// title sound of the configuration window is. A file that cannot be played is silence.
class LoopingSound {
public:
    LoopingSound(sdl::MixerAudio& audio, int mixer_channel) : audio_(audio), mixer_channel_(mixer_channel) {}
    ~LoopingSound();
    LoopingSound(const LoopingSound&) = delete;
    LoopingSound& operator=(const LoopingSound&) = delete;

    // Starts the file at once, replacing what this channel played; returns at once.
    void play(const std::string& path);
    void stop();
    bool playing() const;

private:
    sdl::MixerAudio& audio_;
    int mixer_channel_;
    Mix_Chunk* chunk_ = nullptr;
};

}  // namespace kolvane::gtk
