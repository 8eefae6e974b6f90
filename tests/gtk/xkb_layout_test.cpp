// The XKB keyboard layout port on a real X server (Xvfb's default US layout), and the password normalising over it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "password/password_forms.h"
#include "platform/gtk/xkb_layout.h"

namespace kolvane::gtk {
namespace {

class UsLayout : public ::testing::Test {
protected:
    void SetUp() override {
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr) << "these tests need an X display (the test runs them under Xvfb)";
    }
    void TearDown() override {
        if (display_) XCloseDisplay(display_);
    }
    // The character the key that types `c` types without Shift, as the set-password dialog sees it.
    std::string unshifted(XkbKeyboardLayout& layout, const char* text) { return normalize_password(layout, text); }

    Display* display_ = nullptr;
};

TEST_F(UsLayout, LettersAreFoundOnTheirKeyAndComeBackUpperCase) {
    XkbKeyboardLayout layout(display_);
    const std::int16_t a = layout.vk_key_scan('a');
    const std::int16_t capital_a = layout.vk_key_scan('A');
    ASSERT_GE(a, 0);
    EXPECT_EQ(a >> 8, 0) << "a lower-case letter is typed without modifiers";
    EXPECT_EQ(capital_a & 0xFF, a & 0xFF) << "one key types both cases";
    EXPECT_EQ(capital_a >> 8, 1) << "the capital needs Shift";
    EXPECT_EQ(layout.map_virtual_key(static_cast<std::uint32_t>(a & 0xFF), 2), static_cast<std::uint32_t>('A'));
    EXPECT_EQ(unshifted(layout, "a"), "A");
    EXPECT_EQ(unshifted(layout, "abcXyz"), "ABCXYZ");
}

TEST_F(UsLayout, ShiftedCharactersBecomeTheirKeysUnshiftedOnes) {
    XkbKeyboardLayout layout(display_);
    EXPECT_EQ(unshifted(layout, "!"), "1");
    EXPECT_EQ(unshifted(layout, "1"), "1");
    EXPECT_EQ(unshifted(layout, "@#?~<"), "23/`,");
    const std::int16_t bang = layout.vk_key_scan('!');
    const std::int16_t one = layout.vk_key_scan('1');
    ASSERT_GE(bang, 0);
    EXPECT_EQ(bang & 0xFF, one & 0xFF);
    EXPECT_EQ(bang >> 8, 1);
    // The main block comes before the keypad, which types digits and operators too.
    EXPECT_EQ(unshifted(layout, "*+"), "8=");
}

TEST_F(UsLayout, ACharacterNoKeyTypesIsKept) {
    XkbKeyboardLayout layout(display_);
    const char section = static_cast<char>(0xA7);  // the section sign is on no key of a US keyboard
    EXPECT_EQ(layout.vk_key_scan(0xA7), -1);
    EXPECT_EQ(unshifted(layout, std::string(1, section).c_str()), std::string(1, section));
    EXPECT_EQ(layout.vk_key_scan(0), -1);
    EXPECT_EQ(unshifted(layout, (std::string("a") + section + "!").c_str()), std::string("A") + section + "1");
}

TEST_F(UsLayout, OnlyTheUnshiftedCharacterMapIsKnown) {
    XkbKeyboardLayout layout(display_);
    const std::int16_t a = layout.vk_key_scan('a');
    ASSERT_GE(a, 0);
    EXPECT_EQ(layout.map_virtual_key(static_cast<std::uint32_t>(a & 0xFF), 0), 0u);
    EXPECT_EQ(layout.map_virtual_key(3, 2), 0u) << "no key has a code below 8";
    EXPECT_EQ(layout.map_virtual_key(100000, 2), 0u);
}

TEST(NoDisplay, NoKeyTypesAnything) {
    XkbKeyboardLayout layout(nullptr);
    EXPECT_EQ(layout.vk_key_scan('a'), -1);
    EXPECT_EQ(layout.map_virtual_key(38, 2), 0u);
    EXPECT_EQ(normalize_password(layout, "ab!"), "ab!");
}

}  // namespace
}  // namespace kolvane::gtk
