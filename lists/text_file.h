// Whole-file reads and replace-on-success writes for the program's small files.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/system_api.h"

namespace kolvane {

// The file's first bytes, at most max_bytes; `longer` tells whether the file holds more.
std::optional<std::string> read_text_start(const std::string& path, std::uintmax_t max_bytes, bool& longer);
// True when a file (not a folder), or a link to one, has that name.
bool text_file_exists(const std::string& path);

// Writes a sibling temporary file of an unguessable name, created only where nothing (not even a link)
// is, has `disk` (when given) put it on the disk, and renames it over `path`, so a failed write never
// leaves the old contents half replaced. A symlink at `path` is replaced, never written through: the
// engine cannot tell whose file it points to. False when anything failed; the old file is then untouched.
bool replace_file(const std::string& path, std::string_view contents, SystemApi* disk = nullptr);

}  // namespace kolvane
