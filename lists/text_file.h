// Whole-file reads and replace-on-success writes for the program's small text files.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace kolvane {

// The file's bytes; nothing when it cannot be opened or is larger than max_bytes.
std::optional<std::string> read_text_file(const std::string& path, std::uintmax_t max_bytes);

// Writes a sibling temporary file and renames it over `path`, so a failed write never leaves the
// old contents half replaced. False when anything failed; the old file is then untouched.
bool replace_text_file(const std::string& path, const std::string& contents);

}  // namespace kolvane
