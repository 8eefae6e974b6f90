// The forms a typed password is compared and kept in: upper case for the prompt, unshifted keys for a new one.
#pragma once
#include <string>
#include <string_view>

#include "ports/keyboard_layout.h"

namespace kolvane {

// Upper case by the rules of the Western 8-bit code page.
std::string upper_case_ansi(std::string_view text);

// Every character replaced by what its key types without Shift on the active layout (letters come
// out upper-case). A character no key types keeps its own code.
std::string normalize_password(KeyboardLayout& layout, std::string_view text);

}  // namespace kolvane
