// Playback on SDL2_mixer, reported to the engine in the media-player control's modes.
#include "platform/sdl/mixer_channel.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "platform/sdl/regular_file.h"
#include "platform/sdl/sound_device.h"

namespace kolvane::sdl {

struct MixerLoad {
    enum class State { queued, reading, read };

    const std::string path;
    const int mixer_channel;  // < 0: music
    // Guarded by the owning MixerAudio's mutex.
    State state = State::queued;
    bool play_wanted = false;
    bool abandoned = false;
    bool started = false;
    Mix_Music* music = nullptr;
    Mix_Chunk* chunk = nullptr;

    MixerLoad(std::string file, int channel) : path(std::move(file)), mixer_channel(channel) {}
};

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
    if (output_ == Output::none) return false;
    quiet_alsa_without_sound_card();
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
    stopping_ = false;
    loader_ = std::thread([this] { loading_thread(); });
    return true;
}

void MixerAudio::close() {
    stop_loading();
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

void MixerAudio::set_load_hook(std::function<void(const std::string& path)> hook) {
    const std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

void MixerAudio::finish_loads() {
    std::unique_lock lock(mutex_);
    if (!loader_.joinable()) return;
    settled_.wait(lock, [this] { return idle(); });
}

std::size_t MixerAudio::files_held() {
    const std::lock_guard lock(mutex_);
    return held_;
}

std::shared_ptr<MixerLoad> MixerAudio::load(const std::string& path, int mixer_channel) {
    auto load = std::make_shared<MixerLoad>(path, mixer_channel);
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(load);
    }
    wake_.notify_one();
    return load;
}

void MixerAudio::play_when_read(MixerLoad& load) {
    const std::lock_guard lock(mutex_);
    load.play_wanted = true;
    if (load.state == MixerLoad::State::read && !load.started) start(load);
}

bool MixerAudio::collect(MixerLoad& load, Mix_Music*& music, Mix_Chunk*& chunk, bool& started) {
    const std::lock_guard lock(mutex_);
    if (load.state != MixerLoad::State::read) return false;
    music = std::exchange(load.music, nullptr);
    chunk = std::exchange(load.chunk, nullptr);
    started = load.started;
    return true;
}

void MixerAudio::abandon(const std::shared_ptr<MixerLoad>& load) {
    {
        const std::lock_guard lock(mutex_);
        load->abandoned = true;
        if (load->state == MixerLoad::State::queued) std::erase(queue_, load);
        if (load->state != MixerLoad::State::read) return;  // the loading thread frees what it reads
        if (load->started) halt(*load);
        if (load->music) retired_music_.push_back(std::exchange(load->music, nullptr));
        if (load->chunk) retired_chunks_.push_back(std::exchange(load->chunk, nullptr));
    }
    wake_.notify_one();
}

void MixerAudio::retire(Mix_Music* music) {
    {
        const std::lock_guard lock(mutex_);
        if (loader_.joinable()) {
            retired_music_.push_back(music);
            music = nullptr;
        }
    }
    if (music) free_now(music);
    else wake_.notify_one();
}

void MixerAudio::retire(Mix_Chunk* chunk) {
    {
        const std::lock_guard lock(mutex_);
        if (loader_.joinable()) {
            retired_chunks_.push_back(chunk);
            chunk = nullptr;
        }
    }
    if (chunk) free_now(chunk);
    else wake_.notify_one();
}

void MixerAudio::free_now(Mix_Music* music) {
    Mix_FreeMusic(music);
    const std::lock_guard lock(mutex_);
    --held_;
}

void MixerAudio::free_now(Mix_Chunk* chunk) {
    Mix_FreeChunk(chunk);
    const std::lock_guard lock(mutex_);
    --held_;
}

void MixerAudio::stop_loading() {
    if (!loader_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        // Files not yet begun are dropped, and their channels see them stopped; the one being read is
        // freed when its read ends.
        for (const auto& load : queue_) {
            load->abandoned = true;
            load->state = MixerLoad::State::read;
        }
        queue_.clear();
        if (reading_) reading_->abandoned = true;
    }
    wake_.notify_one();
    loader_.join();
    settled_.notify_all();
}

void MixerAudio::start(MixerLoad& load) {
    if (load.music) load.started = Mix_PlayMusic(load.music, 0) == 0;
    else if (load.chunk) load.started = Mix_PlayChannel(load.mixer_channel, load.chunk, 0) >= 0;
}

void MixerAudio::halt(const MixerLoad& load) {
    if (load.music) Mix_HaltMusic();
    else if (load.chunk) Mix_HaltChannel(load.mixer_channel);
}

void MixerAudio::loading_thread() {
    std::vector<Mix_Music*> music;
    std::vector<Mix_Chunk*> chunks;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] {
            return stopping_ || !queue_.empty() || !retired_music_.empty() || !retired_chunks_.empty();
        });
        if (!retired_music_.empty() || !retired_chunks_.empty()) {
            music.swap(retired_music_);
            chunks.swap(retired_chunks_);
            freeing_ = true;
            lock.unlock();
            for (Mix_Music* m : music) Mix_FreeMusic(m);
            for (Mix_Chunk* c : chunks) Mix_FreeChunk(c);
            lock.lock();
            freeing_ = false;
            held_ -= music.size() + chunks.size();
            music.clear();
            chunks.clear();
        } else if (!queue_.empty()) {
            reading_ = std::move(queue_.front());
            queue_.pop_front();
            reading_->state = MixerLoad::State::reading;
            const auto hook = hook_;
            const std::shared_ptr<MixerLoad> load = reading_;
            lock.unlock();
            if (hook) hook(load->path);
            // A folder, device or FIFO named in the list is skipped as a missing file is.
            SDL_RWops* const stream = open_regular_stream(load->path, max_audio_file_bytes);
            Mix_Music* const read_music = load->mixer_channel < 0 ? Mix_LoadMUS_RW(stream, 1) : nullptr;
            Mix_Chunk* const read_chunk = load->mixer_channel >= 0 ? Mix_LoadWAV_RW(stream, 1) : nullptr;
            lock.lock();
            reading_.reset();
            load->state = MixerLoad::State::read;
            if (read_music || read_chunk) ++held_;
            if (load->abandoned) {
                // Freed on the next round, before the thread waits again or ends.
                if (read_music) retired_music_.push_back(read_music);
                if (read_chunk) retired_chunks_.push_back(read_chunk);
            } else {
                load->music = read_music;
                load->chunk = read_chunk;
                if (load->play_wanted) start(*load);
            }
        } else {
            break;  // stopping, and nothing left to free
        }
        if (idle()) settled_.notify_all();
    }
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
    if (sequencer()) pending_ = audio_.load(file_name_, -1);
    else if (device_type_ == "WaveAudio") pending_ = audio_.load(file_name_, mixer_channel_);
}

void MixerChannel::play() {
    if (pending_) audio_.play_when_read(*pending_);
    else if (music_) started_ = Mix_PlayMusic(music_, 0) == 0;
    else if (chunk_) started_ = Mix_PlayChannel(mixer_channel_, chunk_, 0) >= 0;
}

void MixerChannel::close() {
    if (pending_) {
        audio_.abandon(pending_);
        pending_.reset();
    }
    if (music_) {
        Mix_HaltMusic();
        audio_.retire(std::exchange(music_, nullptr));
    }
    if (chunk_) {
        Mix_HaltChannel(mixer_channel_);
        audio_.retire(std::exchange(chunk_, nullptr));
    }
    started_ = false;
}

MediaMode MixerChannel::mode() {
    if (pending_) {
        if (!audio_.collect(*pending_, music_, chunk_, started_)) return MediaMode::other;
        pending_.reset();
    }
    const bool playing = started_ && ((music_ && Mix_PlayingMusic() != 0) ||
                                      (chunk_ && Mix_Playing(mixer_channel_) != 0));
    return playing ? MediaMode::playing : MediaMode::stopped;
}

}  // namespace kolvane::sdl
