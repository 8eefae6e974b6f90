// The scrambled password form: round trips, key rotation and stored texts the encoder never made.
#include <gtest/gtest.h>

#include <vector>

#include "password/password_codec.h"
#include "startup/settings.h"

namespace kolvane {
namespace {

TEST(PasswordCodec, EmptyMapsToEmpty) {
    EXPECT_EQ(encode_password_text(""), "");
    EXPECT_EQ(decode_password_text(""), "");
}

TEST(PasswordCodec, EveryByteValueRoundTripsAtEveryKeyPosition) {
    for (int position = 0; position < 5; ++position) {
        std::string plain(static_cast<std::size_t>(position), 'A');
        for (int code = 0; code < 256; ++code) plain += static_cast<char>(code);
        const std::string stored = encode_password_text(plain);
        ASSERT_EQ(stored.size(), plain.size() * 2);
        for (std::size_t i = 0; i < stored.size(); i += 2) {
            EXPECT_GE(stored[i], 'k');
            EXPECT_LE(stored[i], 'z');
            EXPECT_GE(stored[i + 1], 'a');
            EXPECT_LE(stored[i + 1], 'p');
        }
        EXPECT_EQ(decode_password_text(stored), plain);
    }
}

TEST(PasswordCodec, KeyStartsAtItsSecondLetterAndRotatesEveryFive) {
    // Plain 1 and 6 use the key's second letter "i"; 5 and 10 its first, "q".
    const std::string stored = encode_password_text(std::string(10, 'a'));
    EXPECT_EQ(stored.substr(0, 2), stored.substr(10, 2));
    EXPECT_EQ(stored.substr(8, 2), stored.substr(18, 2));
    EXPECT_NE(stored.substr(0, 2), stored.substr(8, 2));
    // XOR 0 gives "za", XOR 255 gives "kp".
    EXPECT_EQ(encode_password_text("i"), "za");
    EXPECT_EQ(encode_password_text(std::string(1, static_cast<char>('i' ^ 0xff))), "kp");
    EXPECT_EQ(encode_password_text("AAAAq").substr(8, 2), "za");
    // "A" (0x41) XOR "i" (0x69) = 0x28: high 2 -> "x", low 8 -> "i".
    EXPECT_EQ(encode_password_text("A"), "xi");
}

TEST(PasswordCodec, StoredTextsTheEncoderNeverMadeStillMeanAPassword) {
    for (const std::string& bad : std::vector<std::string>{"z", "zzz", "AA", "!!", "~~~~", "  ", std::string(1, '\0')}) {
        const std::string plain = decode_password_text(bad);
        EXPECT_FALSE(plain.empty()) << bad;
        EXPECT_EQ(plain.size(), (bad.size() + 1) / 2) << bad;
    }
}

TEST(PasswordCodec, SettingsFieldsFollowEachOther) {
    Settings s;
    s.plain_password = "ABC";
    encode_password(s);
    EXPECT_EQ(s.stored_password.size(), 6u);
    s.plain_password = "something else";
    decode_password(s);
    EXPECT_EQ(s.plain_password, "ABC");
}

}  // namespace
}  // namespace kolvane
