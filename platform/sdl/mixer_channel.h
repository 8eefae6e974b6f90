// The scene's two playback channels on SDL2_mixer: MIDI on the music stream, WAV on a mixer channel.
#pragma once
#include <string>

#include "ports/media_channel.h"

typedef struct _Mix_Music Mix_Music;
struct Mix_Chunk;

namespace kolvane::sdl {

// The General MIDI sound font MIDI files are played with: the small one first, it loads fast.
std::string general_midi_font();

// The sound device, opened the first time a file is to play, and tried only once: without a
// device every file is silence and the scene goes on.
class MixerAudio {
public:
    MixerAudio() = default;
    ~MixerAudio();
    MixerAudio(const MixerAudio&) = delete;
    MixerAudio& operator=(const MixerAudio&) = delete;

    bool open();
    bool is_open() const { return open_; }
    // Both streams stopped and the device closed; a later open tries again.
    void close();

private:
    bool tried_ = false;
    bool open_ = false;
    bool subsystem_ = false;
};

// One media-player channel. The device type chosen decides the stream: "Sequencer" plays on the
// music stream (MIDI through the sound font), "WaveAudio" on the given mixer channel. A file that
// is missing or cannot be played leaves the channel stopped, which the next status report sees.
class MixerChannel : public MediaChannel {
public:
    MixerChannel(MixerAudio& audio, int mixer_channel) : audio_(audio), mixer_channel_(mixer_channel) {}
    ~MixerChannel() override;
    MixerChannel(const MixerChannel&) = delete;
    MixerChannel& operator=(const MixerChannel&) = delete;

    void command(const std::string& name) override;
    void set_notify(bool) override {}
    void set_wait(bool) override {}
    void set_shareable(bool) override {}
    void set_device_type(const std::string& type) override { device_type_ = type; }
    void set_file_name(const std::string& path) override { file_name_ = path; }
    MediaMode mode() override;

private:
    bool sequencer() const { return device_type_ == "Sequencer"; }
    void open_file();
    void play();
    void close();

    MixerAudio& audio_;
    int mixer_channel_;
    std::string device_type_;
    std::string file_name_;
    Mix_Music* music_ = nullptr;
    Mix_Chunk* chunk_ = nullptr;
    bool started_ = false;
};

}  // namespace kolvane::sdl
