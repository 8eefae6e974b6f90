// Plain-file checks before a user-named file is read: stat, a non-blocking open, and fstat of what was opened.
#include "platform/sdl/regular_file.h"

#include <SDL_rwops.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace kolvane::sdl {

namespace {

bool plain_and_small(const struct stat& info, std::uint64_t max_bytes) {
    return S_ISREG(info.st_mode) && info.st_size >= 0 && static_cast<std::uint64_t>(info.st_size) <= max_bytes;
}

}  // namespace

int open_regular_file(const std::string& path, std::uint64_t max_bytes) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !plain_and_small(info, max_bytes)) return -1;
    // Opening a FIFO for reading waits for a writer unless O_NONBLOCK is given; the path may have
    // changed since stat, so the descriptor itself is checked again.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, &info) != 0 || !plain_and_small(info, max_bytes)) {
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

SDL_RWops* open_regular_stream(const std::string& path, std::uint64_t max_bytes) {
    const int fd = open_regular_file(path, max_bytes);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return nullptr;
    }
    SDL_RWops* stream = SDL_RWFromFP(file, SDL_TRUE);
    if (stream == nullptr) std::fclose(file);
    return stream;
}

}  // namespace kolvane::sdl
