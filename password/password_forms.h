// The forms a typed password is compared and kept in: upper case for the prompt, unshifted keys for a new one.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "ports/keyboard_layout.h"

namespace kolvane {

// A password box's text as the engine keeps it: one byte of the Western code page per character. The
// backend lists where it met characters that page cannot hold; their bytes are mere stand-ins.
struct TypedPassword {
    std::string text;
    std::vector<std::size_t> unconvertible;  // positions in `text`
    // A stand-in would make every foreign character the same one, so a text with any is kept from
    // being stored and from matching.
    bool convertible() const { return unconvertible.empty(); }
};

// Upper case by the rules of the Western 8-bit code page.
std::string upper_case_ansi(std::string_view text);

// Every character replaced by what its key types without Shift on the active layout (letters come
// out upper-case). A character no key types keeps its own code.
std::string normalize_password(KeyboardLayout& layout, std::string_view text);

}  // namespace kolvane
