// The choice between the Windows directory and the per-user folder for the program's own files.
#include "lists/data_folders.h"

#include <filesystem>
#include <system_error>

namespace kolvane {

namespace {

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

DataFolders data_folders(const StartupValues& startup, SystemApi* disk) {
    DataFolders folders(startup.windows_dir, startup.per_user_dir);
    folders.disk = disk;
    return folders;
}

std::string data_read_path(const DataFolders& folders, const std::string& name) {
    if (!folders.per_user_dir.empty() && exists(folders.per_user_dir + name)) return folders.per_user_dir + name;
    return folders.windows_dir + name;
}

std::string write_data_file(const DataFolders& folders, const std::string& name,
                            const std::function<bool(const std::string&)>& write) {
    const std::string own = folders.per_user_dir.empty() ? std::string() : folders.per_user_dir + name;
    // Once the user has a copy of their own, the Windows directory's would only be read by mistake.
    if (!own.empty() && exists(own)) return write(own) ? own : std::string();
    const std::string shared = folders.windows_dir + name;
    if (write(shared)) return shared;
    if (own.empty()) return {};
    std::error_code ignored;
    std::filesystem::create_directories(folders.per_user_dir, ignored);
    return write(own) ? own : std::string();
}

std::string unsaved_file_text(const std::string& first_line, const DataFolders& folders, const std::string& name) {
    const std::string own = folders.per_user_dir.empty() ? std::string() : folders.per_user_dir + name;
    if (!own.empty() && exists(own)) return first_line + "\r<" + own + ">";
    std::string text = first_line + "\r<" + folders.windows_dir + name + ">";
    if (!own.empty()) text += "\r<" + own + ">";
    return text;
}

}  // namespace kolvane
