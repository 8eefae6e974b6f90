// Fuzzes the number readers of the settings: text to numbers, whole numbers in range, rounding ties to even.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "startup/numeric.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const auto number = kolvane::parse_number(text);
    if (number) check(std::isfinite(*number), "a number read is finite");
    const auto whole = kolvane::text_to_int32(text);
    check(whole.has_value() <= number.has_value(), "a whole number is a number");
    if (whole) check(std::fabs(*number - *whole) <= 0.5, "a whole number is the nearest one");
    const auto small = kolvane::text_to_int16(text);
    if (small) check(whole && *whole == *small, "the 16-bit reading agrees with the 32-bit one");
    if (whole && *whole >= std::numeric_limits<std::int16_t>::min() && *whole <= std::numeric_limits<std::int16_t>::max())
        check(small.has_value(), "a whole number in the 16-bit range reads as one");
    (void)kolvane::leading_number(text);

    // The bytes as numbers: what the program writes reads back as itself.
    if (size >= sizeof(std::int32_t)) {
        std::int32_t n = 0;
        std::memcpy(&n, data, sizeof n);
        check(kolvane::text_to_int32(std::to_string(n)) == n, "a written whole number reads back");
        check(kolvane::leading_number(std::to_string(n) + "junk") == n, "the leading number of a text");
    }
    if (size >= sizeof(double)) {
        double x = 0;
        std::memcpy(&x, data, sizeof x);
        if (std::isfinite(x)) {
            const double r = kolvane::round_half_even(x);
            check(r == std::floor(r) && std::fabs(r - x) <= 0.5, "rounding gives the nearest whole number");
            if (std::fabs(r - x) == 0.5) check(std::fmod(r, 2.0) == 0.0, "ties go to the even neighbour");
            const double f = kolvane::int_floor(x);
            // Above 2^52 every double is whole, and f + 1 can round back to f.
            check(f == std::trunc(f) && f <= x && (f + 1.0 > x || std::fabs(x) >= 0x1p52), "Int is the floor");
        }
    }
    return 0;
}
