// Where the list files and the wallpaper snapshot are kept: the Windows directory, or the user's own folder.
#pragma once
#include <functional>
#include <string>
#include <utility>

#include "ports/system_api.h"
#include "startup/startup_values.h"

namespace kolvane {

// The Windows directory, and the per-user folder that takes the files it refuses (a standard user on
// current Windows cannot write it). A single folder converts, for platforms that keep their files per
// user anyway. Both end in the path separator; an empty per-user folder means there is none.
struct DataFolders {
    DataFolders(std::string windows, std::string per_user = {})
        : windows_dir(std::move(windows)), per_user_dir(std::move(per_user)) {}
    std::string windows_dir;
    std::string per_user_dir;
    // Puts what is written on the disk before it replaces an old file; without one the system's cache
    // holds it for a while.
    SystemApi* disk = nullptr;
};

DataFolders data_folders(const StartupValues& startup, SystemApi* disk = nullptr);

// The file to read: the per-user copy once there is one, otherwise the one in the Windows directory,
// which older installations and administrators keep there.
std::string data_read_path(const DataFolders& folders, const std::string& name);

// Writes the file with `write` (true when it succeeded) where it belongs: over an existing per-user copy,
// else into the Windows directory, else into the per-user folder, made when missing. Returns the path
// written, or empty when no folder took it.
std::string write_data_file(const DataFolders& folders, const std::string& name,
                            const std::function<bool(const std::string&)>& write);

// The title of the messages about the program's own files (the captions and audio dialogs use theirs).
inline constexpr const char* data_files_title = "Kolvane Screen Saver";

// The message for a file no folder took, in the program's style: the first line, then each path tried.
std::string unsaved_file_text(const std::string& first_line, const DataFolders& folders, const std::string& name);

}  // namespace kolvane
