// Upper-casing for the password prompt and the unshifted form of a new password.
#include "password/password_forms.h"

#include <cstdint>

namespace kolvane {

std::string upper_case_ansi(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 'a' && code <= 'z') c = static_cast<char>(code - 32);
        else if (code >= 0xE0 && code <= 0xFE && code != 0xF7) c = static_cast<char>(code - 32);
        else if (code == 0x9A || code == 0x9C || code == 0x9E) c = static_cast<char>(code - 16);
        else if (code == 0xFF) c = static_cast<char>(0x9F);
    }
    return upper;
}

std::string normalize_password(KeyboardLayout& layout, std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const std::int16_t scan = layout.vk_key_scan(byte);
        const int key = scan % 256;  // the remainder keeps the dividend's sign, so -1 stays -1
        const std::uint32_t mapped =
            key < 0 ? 0u : layout.map_virtual_key(static_cast<std::uint32_t>(key), 2) & 0xFFFFu;
        // A character no key types would become a NUL that nobody can type again: keep it as it is.
        result += (mapped == 0 || mapped > 255) ? c : static_cast<char>(mapped);
    }
    return result;
}

}  // namespace kolvane
