// The set-password dialog's logic on a US keyboard layout.
#include <gtest/gtest.h>

#include <cctype>

#include "config_ui/new_password.h"
#include "password/password_codec.h"
#include "password/password_forms.h"
#include "ports/keyboard_layout.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

// A US layout: letters and digits are their own keys; shifted symbols sit on the digit keys.
class UsLayout : public KeyboardLayout {
public:
    std::int16_t vk_key_scan(unsigned char c) override {
        const std::string shifted = ")!@#$%^&*(";
        if (std::isalpha(c)) return static_cast<std::int16_t>((std::isupper(c) ? 0x100 : 0) | std::toupper(c));
        if (std::isdigit(c) || c == ' ') return c;
        const auto pos = shifted.find(static_cast<char>(c));
        if (pos != std::string::npos) return static_cast<std::int16_t>(0x100 | ('0' + pos));
        if (c == '`') return 0xC0;
        return -1;
    }
    std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t type) override {
        EXPECT_EQ(type, 2u);
        if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') || code == ' ') return code;
        if (code == 0xC0) return 0x80000000u | '`';  // a dead key on some layouts
        return 0;
    }
};

TEST(NormalizePassword, LettersUpperAndShiftedCharactersUnshifted) {
    UsLayout us;
    EXPECT_EQ(normalize_password(us, "abcXYZ"), "ABCXYZ");
    EXPECT_EQ(normalize_password(us, "!@#1"), "1231");
    EXPECT_EQ(normalize_password(us, "`"), "`");
    // No key types it: the character stays.
    EXPECT_EQ(normalize_password(us, "\xE9~"), "\xE9~");
}

class NewPassword : public ::testing::Test {
protected:
    testing::TestApp t;
    UsLayout us;
};

TEST_F(NewPassword, MatchingEntriesInAnyCaseAreStoredScrambledAsUpperCase) {
    std::string a = "abc", b = "ABC";
    EXPECT_EQ(new_password_ok(t.system, t.store, t.app.settings, us, a, b), NewPasswordOutcome::saved);
    EXPECT_EQ(t.app.settings.plain_password, "ABC");
    EXPECT_EQ(t.store.value("misc"), encode_password_text("ABC"));
    EXPECT_TRUE(t.system.boxes.empty());
}

TEST_F(NewPassword, AMismatchShowsItsMessageKeepsTheNormalisedTextsAndStoresNothing) {
    t.app.settings.plain_password = "OLD";
    std::string a = "abc", b = "abd!";
    EXPECT_EQ(new_password_ok(t.system, t.store, t.app.settings, us, a, b), NewPasswordOutcome::mismatch);
    EXPECT_EQ(a, "ABC");
    EXPECT_EQ(b, "ABD1");
    ASSERT_EQ(t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<1>(t.system.boxes[0]), "Microsoft Windows");
    EXPECT_EQ(std::get<2>(t.system.boxes[0]), MessageKind::error);
    EXPECT_FALSE(t.store.has("misc"));
    EXPECT_EQ(t.app.settings.plain_password, "OLD");
}

TEST_F(NewPassword, ThirtyCharactersAreAcceptedThirtyOneAreTooLong) {
    std::string a(31, 'a'), b(31, 'a');
    EXPECT_EQ(new_password_ok(t.system, t.store, t.app.settings, us, a, b), NewPasswordOutcome::too_long);
    ASSERT_EQ(t.system.boxes.size(), 1u);
    EXPECT_EQ(std::get<0>(t.system.boxes[0]), "New password too long\nMaximum length 30 chars");
    EXPECT_EQ(std::get<1>(t.system.boxes[0]), "Change Password");
    EXPECT_EQ(std::get<2>(t.system.boxes[0]), MessageKind::warning);
    EXPECT_FALSE(t.store.has("misc"));
    std::string c(30, 'a'), d(30, 'A');
    EXPECT_EQ(new_password_ok(t.system, t.store, t.app.settings, us, c, d), NewPasswordOutcome::saved);
    EXPECT_EQ(t.store.value("misc").size(), 60u);
}

TEST_F(NewPassword, TwoEmptyBoxesRemoveThePassword) {
    t.app.settings.plain_password = "OLD";
    std::string a, b;
    EXPECT_EQ(new_password_ok(t.system, t.store, t.app.settings, us, a, b), NewPasswordOutcome::saved);
    EXPECT_EQ(t.app.settings.plain_password, "");
    EXPECT_TRUE(t.store.has("misc"));
    EXPECT_EQ(t.store.value("misc"), "");
}

}  // namespace
}  // namespace kolvane
