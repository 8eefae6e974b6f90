// The scene lock: flock on a per-display file, released by the system when the program ends.
#include "platform/sdl/scene_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/sdl/ini_store.h"

namespace kolvane::sdl {

SceneLock::~SceneLock() {
    if (fd_ >= 0) close(fd_);
}

bool SceneLock::claim(const std::string& folder, const std::string& display_name) {
    if (fd_ >= 0) return true;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string path = (std::filesystem::path(folder) / scene_lock_name(display_name)).string();
    // Never through a link: another user must not be able to point the lock somewhere else.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::fprintf(stderr, "kolvane: cannot make the lock file %s (%s)\n", path.c_str(), std::strerror(errno));
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        if (!held) std::fprintf(stderr, "kolvane: cannot lock %s (%s)\n", path.c_str(), std::strerror(errno));
        return !held;
    }
    fd_ = fd;
    return true;
}

std::string scene_lock_folder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return runtime;
    return std::filesystem::path(user_settings_file()).parent_path().string();
}

std::string scene_lock_name(const std::string& display_name) {
    std::string name = "kolvane-scene-";
    for (const char c : display_name.empty() ? std::string(":0") : display_name)
        name += (std::isalnum(static_cast<unsigned char>(c)) || c == '.') ? c : '_';
    return name + ".lock";
}

}  // namespace kolvane::sdl
