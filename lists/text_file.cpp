// Whole-file reads and replace-on-success writes.
#include "lists/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace kolvane {

namespace {

// The first `count` bytes of the file (fewer when it is shorter); nothing when it cannot be read.
std::optional<std::string> read_start(const std::string& path, std::uintmax_t count) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string contents(static_cast<std::size_t>(count), '\0');
    in.read(contents.data(), static_cast<std::streamsize>(contents.size()));
    contents.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return contents;
}

}  // namespace

std::optional<std::string> read_text_start(const std::string& path, std::uintmax_t max_bytes, bool& longer) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    longer = false;
    if (ec) return std::nullopt;
    longer = size > max_bytes;
    return read_start(path, std::min(size, max_bytes));
}

bool text_file_exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::status(path, ec));
}

namespace {

// Writes a new file at `temporary`; false when it was not made or not written whole (then it is gone).
bool write_new_file(const std::string& temporary, std::string_view contents, SystemApi* disk, bool& taken) {
    // "x" creates the file only where nothing is, so a link planted there is not followed. A C library
    // without that mode refuses it; the unguessable name, checked just before, guards the file then.
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    taken = !file && errno == EEXIST;
    if (!file && errno == EINVAL) file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    ok = std::fflush(file) == 0 && ok;
    ok = ok && (disk == nullptr || disk->flush_to_disk(file));
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

}  // namespace

bool replace_file(const std::string& path, std::string_view contents, SystemApi* disk) {
    std::random_device source;
    for (int attempt = 0; attempt < 8; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x%08x.new", static_cast<unsigned>(source()),
                      static_cast<unsigned>(source()));
        const std::string temporary = path + suffix;
        std::error_code ec;
        if (std::filesystem::symlink_status(temporary, ec).type() != std::filesystem::file_type::not_found) continue;
        bool taken = false;
        if (!write_new_file(temporary, contents, disk, taken)) {
            if (taken) continue;
            return false;
        }
        std::filesystem::rename(temporary, path, ec);
        if (!ec) return true;
        std::remove(temporary.c_str());
        return false;
    }
    return false;
}

}  // namespace kolvane
