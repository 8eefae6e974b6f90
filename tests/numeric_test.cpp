// Rounding and text-to-number rules of the settings.
#include <gtest/gtest.h>

#include "startup/numeric.h"

namespace kolvane {

TEST(Numeric, RoundsHalvesToEven) {
    EXPECT_EQ(round_half_even(4.5), 4);
    EXPECT_EQ(round_half_even(5.5), 6);
    EXPECT_EQ(round_half_even(2.5), 2);
    EXPECT_EQ(round_half_even(3.5), 4);
    EXPECT_EQ(round_half_even(-2.5), -2);
    EXPECT_EQ(round_half_even(-3.5), -4);
    EXPECT_EQ(round_half_even(2.4999), 2);
    EXPECT_EQ(round_half_even(2.5001), 3);
}

TEST(Numeric, IntIsTheFloor) {
    EXPECT_EQ(int_floor(1.999), 1);
    EXPECT_EQ(int_floor(-0.5), -1);
}

TEST(Numeric, ParsesBlanksSignsFractions) {
    EXPECT_EQ(text_to_int32(" 45 "), 45);
    EXPECT_EQ(text_to_int32("4.5"), 4);
    EXPECT_EQ(text_to_int32("5.5"), 6);
    EXPECT_EQ(text_to_int32("-7"), -7);
    EXPECT_EQ(text_to_int32("\t12\t"), 12);
    EXPECT_EQ(text_to_int32("1e2"), 100);
}

TEST(Numeric, RejectsTextThatIsNotANumber) {
    for (const char* bad : {"", " ", "abc", "12abc", "4,5", ".", "-", "1e", "0x10", "nan", "inf"})
        EXPECT_FALSE(text_to_int32(bad).has_value()) << '"' << bad << '"';
}

TEST(Numeric, RejectsValuesOutOfRange) {
    EXPECT_FALSE(text_to_int32("2147483648").has_value());
    EXPECT_EQ(text_to_int32("2147483647"), 2147483647);
    EXPECT_FALSE(text_to_int16("32768").has_value());
    EXPECT_EQ(text_to_int16("-32768"), -32768);
}

TEST(Numeric, LeadingNumberCountsEmptyAndTextAsZero) {
    EXPECT_EQ(leading_number(""), 0.0);
    EXPECT_EQ(leading_number("abc"), 0.0);
    EXPECT_EQ(leading_number("001"), 1.0);
    EXPECT_EQ(leading_number("000"), 0.0);
    EXPECT_EQ(leading_number(" 1 trailing"), 1.0);
    EXPECT_EQ(leading_number("00000000000000000000000"), 0.0);
}

}  // namespace kolvane
