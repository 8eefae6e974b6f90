// The scrambled form of the screen-saver password kept under "misc".
#pragma once
#include <string>
#include <string_view>

namespace kolvane {

inline constexpr std::string_view password_key_letters = "qiHTW";

// Two letters per plain byte: high nibble "z" down to "k", low nibble "a" up to "p".
std::string encode_password_text(std::string_view plain);
// Inverse of the encoder. A stored text it cannot have produced still decodes to one character per
// pair (an odd last letter counts as a pair ending in "a"), so it is never taken for no password.
std::string decode_password_text(std::string_view stored);

}  // namespace kolvane
