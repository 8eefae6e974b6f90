// Password scrambling with the rotating five-letter key.
#include "password/password_codec.h"

namespace kolvane {

namespace {
// Key character for plain position i (1-based): the key is used from its second character on.
unsigned key_code(std::size_t i) {
    const std::size_t n = password_key_letters.size();
    return static_cast<unsigned char>(password_key_letters[(i % n + 1) - 1]);
}
}  // namespace

std::string encode_password_text(std::string_view plain) {
    std::string stored;
    stored.reserve(plain.size() * 2);
    for (std::size_t i = 1; i <= plain.size(); ++i) {
        const unsigned p = static_cast<unsigned char>(plain[i - 1]);
        const unsigned x = (p ^ key_code(i)) & 0xffu;
        stored += static_cast<char>('z' - x / 16);
        stored += static_cast<char>('a' + x % 16);
    }
    return stored;
}

std::string decode_password_text(std::string_view stored) {
    std::string plain;
    plain.reserve(stored.size() / 2 + 1);
    for (std::size_t i = 1; i <= stored.size(); i += 2) {
        const int hi = 'z' - static_cast<unsigned char>(stored[i - 1]);
        const int lo = (i < stored.size() ? static_cast<unsigned char>(stored[i]) : 'a') - 'a';
        const std::size_t j = (i + 1) / 2;
        // Letters outside their ranges give codes outside 0 to 255; keep the low byte.
        const unsigned x = (static_cast<unsigned>(hi * 16 + lo) ^ key_code(j)) & 0xffu;
        plain += static_cast<char>(x);
    }
    return plain;
}

}  // namespace kolvane
