// Number conversions of the settings and geometry: rounding ties to even, Int as floor, text to numbers.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

// Nearest whole number, halves to the even neighbour (4.5 -> 4, 5.5 -> 6, -2.5 -> -2).
double round_half_even(double value);

// Int: the floor of the value.
double int_floor(double value);

// A decimal number with optional surrounding blanks, sign, fraction and exponent; nothing otherwise.
std::optional<double> parse_number(std::string_view text);

// Text to a whole number rounded ties to even; nothing when it is not a number or out of range.
std::optional<std::int32_t> text_to_int32(std::string_view text);
std::optional<std::int16_t> text_to_int16(std::string_view text);

// The number a text starts with (blanks skipped, digits with an optional sign); 0 when there is none.
double leading_number(std::string_view text);

}  // namespace kolvane
