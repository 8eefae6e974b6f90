// One full-screen scene per X display: a lock file held for as long as the program runs.
#pragma once
#include <string>

namespace kolvane::sdl {

// Any program may show the scene window's title, and looking for it races the window's creation when
// two scenes start together; the lock (flock on a file in a folder only this user can write) decides.
class SceneLock {
public:
    SceneLock() = default;
    ~SceneLock();
    SceneLock(const SceneLock&) = delete;
    SceneLock& operator=(const SceneLock&) = delete;

    // False when another program holds the lock for this display. When no lock file can be made
    // (or there is no folder for it) the scene still runs (true): a screen saver that refuses to
    // start is worse than two.
    bool claim(const std::string& folder, const std::string& display_name);

private:
    int fd_ = -1;
};

// A folder no other user can put a file in: a directory itself (not a link), owned by this user, mode 0700.
bool private_folder(const std::string& folder);
// The folder lock files live in: $XDG_RUNTIME_DIR when it is private, else the program's own folder in
// the user's cache (made private when it is new); empty when neither is private. In a folder another
// user can write, that user could hold the lock and keep the scene from ever starting.
std::string scene_lock_folder();
// The lock file's name for an X display name (":0", "host:1.0").
std::string scene_lock_name(const std::string& display_name);

}  // namespace kolvane::sdl
