// Fuzzes the stored-password decoder: any stored text decodes to one character per pair, and the codec round-trips.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "password/password_codec.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;

namespace {

// Text the encoder can have written: pairs of a letter "k" to "z" and a letter "a" to "p".
bool encoder_output(std::string_view stored) {
    if (stored.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < stored.size(); i += 2)
        if (stored[i] < 'k' || stored[i] > 'z' || stored[i + 1] < 'a' || stored[i + 1] > 'p') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string plain = kolvane::decode_password_text(bytes);
    check(plain.size() == (size + 1) / 2, "one character per stored pair, an odd letter counting as a pair");
    check(size == 0 || !plain.empty(), "a stored text never reads as no password");
    if (encoder_output(bytes)) check(kolvane::encode_password_text(plain) == bytes, "encoder output round-trips");

    const std::string stored = kolvane::encode_password_text(bytes);
    check(encoder_output(stored), "the encoder writes only its own letters");
    check(kolvane::decode_password_text(stored) == bytes, "any password round-trips");
    return 0;
}
