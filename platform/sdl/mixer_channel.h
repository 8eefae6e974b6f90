// The scene's two playback channels on SDL2_mixer: MIDI on the music stream, WAV on a mixer channel.
#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ports/media_channel.h"

typedef struct _Mix_Music Mix_Music;
struct Mix_Chunk;

namespace kolvane::sdl {

// The General MIDI sound font MIDI files are played with: the small one first, it loads fast.
std::string general_midi_font();

// One file being read for a channel; shared by the channel and the loading thread.
struct MixerLoad;

// The sound device, opened the first time a file is to play, and tried only once: without a
// device every file is silence and the scene goes on.
//
// Files are read on a loading thread of the device's own: a MIDI piece builds a synthesiser and
// reads the whole sound font, and a long WAV is converted to the device's format, each far longer
// than a frame. That thread calls Mix_LoadMUS and Mix_LoadWAV, which only read the device's format
// and the sound font list (both fixed while the device is open), and Mix_PlayMusic,
// Mix_PlayChannel, Mix_FreeMusic and Mix_FreeChunk, which take the device's lock around the mixer
// state they change, as the halts and queries made on the caller's thread do. The device is opened
// and closed on the caller's thread only while the loading thread is not running.
class MixerAudio {
public:
    // Where the sound goes: to the sound device, or nowhere (a preview in a settings dialog stays
    // quiet, and never opens the device).
    enum class Output { device, none };

    explicit MixerAudio(Output output = Output::device) : output_(output) {}
    ~MixerAudio();
    MixerAudio(const MixerAudio&) = delete;
    MixerAudio& operator=(const MixerAudio&) = delete;

    bool open();
    bool is_open() const { return open_; }
    // Waits for a file being read to end, then stops both streams and closes the device; a later
    // open tries again. Close the channels first.
    void close();

    // Runs on the loading thread before each file is read, with its path: lets a test see where
    // and when a load happens, or hold one.
    void set_load_hook(std::function<void(const std::string& path)> hook);
    // Blocks until every file asked for has been read (and started, if it was to play) or dropped,
    // and everything handed back has been freed.
    void finish_loads();
    // Files read and not yet freed, whoever holds them: what a closed channel would leak.
    std::size_t files_held();

private:
    friend class MixerChannel;

    // Queues a file for the loading thread; `mixer_channel` < 0 reads it as music (Mix_LoadMUS).
    std::shared_ptr<MixerLoad> load(const std::string& path, int mixer_channel);
    // Starts the file as soon as it is read (at once if it already is).
    void play_when_read(MixerLoad& load);
    // False while the file is still being read; then hands over what was read and whether it started.
    bool collect(MixerLoad& load, Mix_Music*& music, Mix_Chunk*& chunk, bool& started);
    // The file is not wanted any more: stopped and freed once read.
    void abandon(const std::shared_ptr<MixerLoad>& load);
    // Freed on the loading thread (a synthesiser takes a while to tear down), or here when it is not running.
    void retire(Mix_Music* music);
    void retire(Mix_Chunk* chunk);
    void free_now(Mix_Music* music);
    void free_now(Mix_Chunk* chunk);

    void stop_loading();
    void loading_thread();
    // Nothing queued, being read or waiting to be freed; with the mutex held.
    bool idle() const {
        return queue_.empty() && !reading_ && !freeing_ && retired_music_.empty() && retired_chunks_.empty();
    }
    static void start(MixerLoad& load);
    static void halt(const MixerLoad& load);

    Output output_;
    bool tried_ = false;
    bool open_ = false;
    bool subsystem_ = false;

    std::thread loader_;
    std::mutex mutex_;                  // guards everything below and every MixerLoad's state
    std::condition_variable wake_;      // work for the loading thread
    std::condition_variable settled_;   // the loading thread has nothing left to do
    std::deque<std::shared_ptr<MixerLoad>> queue_;
    std::vector<Mix_Music*> retired_music_;
    std::vector<Mix_Chunk*> retired_chunks_;
    std::shared_ptr<MixerLoad> reading_;  // the file the loading thread reads now
    std::function<void(const std::string&)> hook_;
    std::size_t held_ = 0;
    bool freeing_ = false;  // the loading thread frees what it took from the retired lists
    bool stopping_ = false;
};

// One media-player channel. The device type chosen decides the stream: "Sequencer" plays on the
// music stream (MIDI through the sound font), "WaveAudio" on the given mixer channel. "Open" hands
// the file to the loading thread and returns; "Play" starts it once it is read. Until then the
// channel reports MediaMode::other, so the engine keeps it busy. A file that is missing or cannot
// be played leaves the channel stopped, which the next status report after the load sees.
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
    std::shared_ptr<MixerLoad> pending_;  // the file opened, while the loading thread has it
    Mix_Music* music_ = nullptr;
    Mix_Chunk* chunk_ = nullptr;
    bool started_ = false;
};

}  // namespace kolvane::sdl
