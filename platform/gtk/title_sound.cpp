// The looping title sound.
#include "platform/gtk/title_sound.h"

#include <SDL_mixer.h>

#include "platform/sdl/mixer_channel.h"

namespace kolvane::gtk {

LoopingSound::~LoopingSound() { stop(); }

void LoopingSound::play(const std::string& path) {
    stop();
    if (!audio_.open()) return;
    chunk_ = Mix_LoadWAV(path.c_str());
    if (chunk_ && Mix_PlayChannel(mixer_channel_, chunk_, -1) < 0) stop();
}

void LoopingSound::stop() {
    if (!chunk_) return;
    // The device may have been closed meanwhile (the scene runs with it); halting then is harmless.
    if (audio_.is_open()) Mix_HaltChannel(mixer_channel_);
    Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
}

bool LoopingSound::playing() const { return chunk_ != nullptr && audio_.is_open() && Mix_Playing(mixer_channel_) != 0; }

}  // namespace kolvane::gtk
