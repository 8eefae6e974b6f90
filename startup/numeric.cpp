// Number conversions of the settings and geometry.
#include "startup/numeric.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace kolvane {

double round_half_even(double value) {
    return std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
}

double int_floor(double value) { return std::floor(value); }

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}
}  // namespace

std::optional<double> parse_number(std::string_view text) {
    text = trim_blanks(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i])) { ++i; ++digits; }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i])) { ++i; ++digits; }
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exp_digits = 0;
        while (i < text.size() && is_digit(text[i])) { ++i; ++exp_digits; }
        if (exp_digits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    const std::string copy(text);  // strtod needs a terminated string
    const double value = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

namespace {
template <typename Int>
std::optional<Int> text_to_whole(std::string_view text) {
    const auto value = parse_number(text);
    if (!value) return std::nullopt;
    const double rounded = round_half_even(*value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}
}  // namespace

std::optional<std::int32_t> text_to_int32(std::string_view text) { return text_to_whole<std::int32_t>(text); }
std::optional<std::int16_t> text_to_int16(std::string_view text) { return text_to_whole<std::int16_t>(text); }

double leading_number(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i])) ++i;
    std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digit_start = i;
    while (i < text.size() && is_digit(text[i])) ++i;
    if (i == digit_start) return 0.0;
    return std::strtod(std::string(text.substr(start, i - start)).c_str(), nullptr);
}

}  // namespace kolvane
