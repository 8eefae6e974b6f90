// Starting programs and opening documents or addresses for the dialogs, without waiting for them.
#pragma once
#include <string>

namespace kolvane::gtk {

// Starts the program at `path` with no arguments; false when it cannot be started.
bool start_program(const std::string& path);
// Opens `target` as the desktop would: an address (with "://") or a document with the program the
// desktop chose for it, a program file by starting it. False when it is missing or nothing opened it.
bool shell_open(const std::string& target);

}  // namespace kolvane::gtk
