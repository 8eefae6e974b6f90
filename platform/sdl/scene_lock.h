// One full-screen scene per X display: a lock file held for as long as the program runs.
#pragma once
#include <string>

namespace kolvane::sdl {

// The title check alone races the window's creation when two scenes start together; the lock
// (flock on a file in the user's runtime folder) decides which one runs.
class SceneLock {
public:
    SceneLock() = default;
    ~SceneLock();
    SceneLock(const SceneLock&) = delete;
    SceneLock& operator=(const SceneLock&) = delete;

    // False when another program holds the lock for this display. When no lock file can be made
    // the scene still runs (true): a screen saver that refuses to start is worse than two.
    bool claim(const std::string& folder, const std::string& display_name);

private:
    int fd_ = -1;
};

// The folder lock files live in: $XDG_RUNTIME_DIR when set, else the settings folder.
std::string scene_lock_folder();
// The lock file's name for an X display name (":0", "host:1.0").
std::string scene_lock_name(const std::string& display_name);

}  // namespace kolvane::sdl
