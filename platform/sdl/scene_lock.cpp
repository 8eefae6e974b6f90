// The scene lock: flock on a per-display file, released by the system when the program ends.
#include "platform/sdl/scene_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    if (folder.empty()) {
        std::fprintf(stderr, "kolvane: no private folder for the scene's lock file; a second scene is not refused\n");
        return true;
    }
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

bool private_folder(const std::string& folder) {
    struct stat st {};
    if (folder.empty() || lstat(folder.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 0777) == 0700;
}

std::string scene_lock_folder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && private_folder(runtime)) return runtime;
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const std::string home = home_folder();
    const std::string base = cache && cache[0] == '/' ? cache : home.empty() ? "" : home + "/.cache";
    if (base.empty()) return "";
    std::error_code ec;
    std::filesystem::create_directories(base, ec);
    const std::string folder = base + "/kolvane";
    mkdir(folder.c_str(), 0700);  // one already there is taken only when it is private too
    return private_folder(folder) ? folder : "";
}

std::string scene_lock_name(const std::string& display_name) {
    std::string name = "kolvane-scene-";
    for (const char c : display_name.empty() ? std::string(":0") : display_name)
        name += (std::isalnum(static_cast<unsigned char>(c)) || c == '.') ? c : '_';
    return name + ".lock";
}

}  // namespace kolvane::sdl
