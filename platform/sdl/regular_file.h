// Opening sound files the user names only when they are plain files of a bounded size.
#pragma once
#include <cstdint>
#include <string>

struct SDL_RWops;

namespace kolvane::sdl {

// Far above any real piece of music or effect; a WAV effect is read whole into memory.
inline constexpr std::uint64_t max_audio_file_bytes = std::uint64_t{256} << 20;

// A read-only descriptor of path, or -1 when it is not a regular file of at most max_bytes. A folder,
// device or FIFO is refused without waiting, also when it replaces the file between look and open.
int open_regular_file(const std::string& path, std::uint64_t max_bytes);

// A stream over the file for SDL's loaders (which close it), or nullptr under the same rules.
SDL_RWops* open_regular_stream(const std::string& path, std::uint64_t max_bytes);

}  // namespace kolvane::sdl
