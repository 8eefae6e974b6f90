// Tables of hostile and damaged input, one test per area: stored settings, list files, pictures and their sizes, command lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/main_dispatch.h"
#include "config_ui/new_password.h"
#include "lists/lists.h"
#include "password/password_codec.h"
#include "scene/password_prompt.h"
#include "scene/render/bmp.h"
#include "scene/render/picture_codec.h"
#include "startup/settings.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::TestApp;
using testing::write_file;

// The value a loaded setting holds, as text, whatever its type in the record.
std::string loaded_text(const Settings& settings, const SettingField& field) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto& value = settings.*member;
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, std::string>)
                return value;
            else
                return std::to_string(value);
        },
        field.member);
}

struct SettingRow {
    const char* key;
    std::string stored;
    const char* loads_as;
};

TEST(BadInputs, StoredSettingsLoadAsTheDefaultOrTheNearestOfferedValueAndStayAsStored) {
    const std::vector<SettingRow> rows = {
        {"frame_rate", "", "45"},
        {"frame_rate", "fast", "45"},
        {"frame_rate", "0x10", "45"},          // no hexadecimal
        {"frame_rate", "&H10", "45"},
        {"frame_rate", "+", "45"},
        {"frame_rate", ".", "45"},
        {"frame_rate", "--5", "45"},
        {"frame_rate", "1e", "45"},
        {"frame_rate", "5 ms", "45"},
        {"frame_rate", "NaN", "45"},
        {"frame_rate", "inf", "45"},
        {"frame_rate", "1e999", "45"},         // beyond a double
        {"frame_rate", "99999999999999999999", "45"},  // beyond 32 bits
        {"frame_rate", "2147483648", "45"},
        {"frame_rate", std::string("30\0", 3), "45"},
        {"frame_rate", "\xd9\xa3\xd9\xa0", "45"},     // digits of another script
        {"frame_rate", std::string(65536, '0').append("60"), "60"},  // long, but a number
        {"frame_rate", " \t30\t ", "30"},
        {"frame_rate", "1e2", "100"},
        {"frame_rate", "5.", "5"},
        {"frame_rate", ".5", "5"},              // 0 is below what the options offer
        {"frame_rate", "-0", "5"},
        {"frame_rate", "-1e-400", "5"},         // underflows to zero
        {"frame_rate", "4.5", "5"},             // rounds to 4, then to the lowest offered
        {"frame_rate", "200.5", "200"},         // ties go to the even neighbour
        {"frame_rate", "2147483647", "200"},
        {"frame_rate", "-2147483648", "5"},
        {"save_as_wallpaper", "32768", "0"},    // beyond the 16-bit field
        {"save_as_wallpaper", "-32768", "1"},   // a switch: anything but 0 is on
        {"scroller_delay", "-1", "1"},
        {"audio_seconds", "86400", "60"},
        {"cycle_speed_value", "0", "1"},
        {"object_frequency", "1e9", "20"},
        {"scroller_active", "2", "1"},
        {"show_time", "yes", "1"},              // a flag that is not a number reads as its default
        {"show_time", "", "1"},
        {"audio_on", "\xff\xfe", "1"},
        {"audio_on", " 0 ", " 0 "},             // a number: kept as read
        {"misc", std::string("\x01\x7f\xff", 3), "\x01\x7f\xff"},  // the scrambled password is kept as stored
    };
    for (const SettingRow& row : rows) {
        SCOPED_TRACE(std::string(row.key) + " = \"" + row.stored.substr(0, 40) + "\"");
        TestApp t;
        t.store.set("install_path", "C:\\Sounds");
        t.store.set(row.key, row.stored);
        ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
        const SettingField* field = find_setting(row.key);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(loaded_text(t.app.settings, *field), row.loads_as);
        // Loading judges the text; it never writes over what the file holds.
        EXPECT_EQ(t.store.saves, 0);
        EXPECT_EQ(t.store.value(row.key), row.stored);
    }
}

// A flag is saved as what it counts as when loaded: a fraction that rounds to 0 but is not 0 is on.
TEST(BadInputs, StoredFlagsAreSavedAsTheNumberTheyCountAs) {
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"0.4", "1"}, {"-0.4", "1"}, {"1e-9", "1"}, {"0.0", "0"}, {"-0", "0"}, {"1.5", "2"}, {"7", "7"}, {"yes", "1"},
    };
    for (const auto& [stored, saved] : rows) {
        SCOPED_TRACE(stored);
        TestApp t;
        t.store.set("install_path", "C:\\Sounds");
        t.store.set("show_time", stored);
        ASSERT_TRUE(load_settings(t.store, t.system, t.app.settings));
        EXPECT_TRUE(save_settings(t.store, t.app.settings));
        EXPECT_EQ(t.store.value("show_time"), saved);
        EXPECT_EQ(flag_on(t.app.settings.show_time), flag_on(saved));
    }
}

// A Russian layout as the set-password dialog sees it: no Latin letters; "?" is Shift+7.
class RussianLayout : public KeyboardLayout {
public:
    std::int16_t vk_key_scan(unsigned char c) override {
        if (c == '?') return 0x100 | '7';
        return c >= '0' && c <= '9' ? c : -1;
    }
    std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t) override { return code; }
};

// Every character of `text` one the code page lacks, as a backend reports a Cyrillic word.
TypedPassword foreign(std::string text) {
    TypedPassword typed{std::move(text), {}};
    for (std::size_t i = 0; i < typed.text.size(); ++i) typed.unconvertible.push_back(i);
    return typed;
}

struct PasswordRow {
    const char* what;
    TypedPassword first, second;
    bool refuse_saves;
    NewPasswordOutcome outcome;  // unconvertible for a refusal before the other checks
    const char* in_force;        // the password afterwards (it was "OLD")
};

TEST(BadInputs, PasswordsTheStoredFormCannotHoldOrTheStoreRefusesLeaveTheOldOneInForce) {
    const std::vector<PasswordRow> rows = {
        {"a Cyrillic word in both boxes", foreign("??????"), foreign("??????"), false,
         NewPasswordOutcome::unconvertible, "OLD"},
        {"a Cyrillic word confirmed by another", foreign("??????"), foreign("???"), false,
         NewPasswordOutcome::unconvertible, "OLD"},
        {"one foreign letter among Latin ones", {"ab?", {2}}, {"ab?", {2}}, false, NewPasswordOutcome::unconvertible,
         "OLD"},
        {"a question mark typed as itself (Shift+7)", {"?", {}}, {"?", {}}, false, NewPasswordOutcome::saved, "7"},
        {"a store that refuses the value", {"123", {}}, {"123", {}}, true, NewPasswordOutcome::not_saved, "OLD"},
    };
    RussianLayout russian;
    for (const PasswordRow& row : rows) {
        SCOPED_TRACE(row.what);
        TestApp t;
        t.app.settings.plain_password = "OLD";
        t.store.set("misc", encode_password_text("OLD"));
        t.store.refuse_saves = row.refuse_saves;
        std::string first = row.first.text, second = row.second.text;
        const NewPasswordOutcome outcome =
            !new_password_convertible(t.system, row.first, row.second)
                ? NewPasswordOutcome::unconvertible
                : new_password_ok(t.system, t.store, t.app.settings, russian, first, second);
        EXPECT_EQ(outcome, row.outcome);
        EXPECT_EQ(t.app.settings.plain_password, row.in_force);
        EXPECT_EQ(t.store.value("misc"), encode_password_text(row.in_force));
        EXPECT_EQ(t.system.boxes.size(), outcome == NewPasswordOutcome::saved ? 0u : 1u);
        // At the prompt a character the code page lacks matches nothing, not even a stand-in stored as such.
        t.app.settings.plain_password = row.first.text;
        EXPECT_EQ(password_prompt_check(t.app.scene, row.first), row.first.convertible());
    }
}

struct ListRow {
    const char* what;
    std::function<void(const fs::path& file)> make;
    std::vector<std::string> captions;  // what loads
    ListLoad load = ListLoad::whole;
};

TEST(BadInputs, DamagedCaptionFilesLoadWhatTheirFieldsHoldOrNothing) {
    std::string random_bytes;
    std::uint32_t x = 12345u;
    for (int i = 0; i < 65536; ++i) {
        x = x * 1103515245u + 12345u;
        random_bytes += static_cast<char>((x >> 16) & 0xFFu);
    }
    std::string hundred, hundred_and_one;
    std::vector<std::string> hundred_entries;
    for (int i = 1; i <= 100; ++i) {
        hundred_entries.push_back(std::string(1, 'c').append(std::to_string(i)));
        hundred.append(hundred_entries.back()).append("\r\n");
    }
    hundred_and_one = hundred + "c101\r\n";
    const auto text = [](std::string s) { return [s](const fs::path& file) { write_file(file, s); }; };

    const std::vector<ListRow> rows = {
        {"an empty file", text(""), {}},
        {"only line ends", text(std::string(100000, '\n')), {}},
        {"only commas: more empty fields than the limit", text(std::string(101, ',')),
         std::vector<std::string>(100), ListLoad::cut},
        {"exactly the limit", text(hundred), hundred_entries},
        {"one over the limit: the first hundred", text(hundred_and_one), hundred_entries, ListLoad::cut},
        {"NUL bytes inside (a line of only a NUL is an empty entry)", text(std::string("a\0b\r\n\0\r\n", 8)), {"ab", ""}},
        {"a UTF-16 text: its NULs dropped, so the NUL after each line end is an empty entry",
         text(std::string("\xff\xfeh\0i\0\r\0\n\0", 10)), {"\xff\xfehi", "", ""}},
        {"one quote never closed", text("\"a,b\r\nc"), {"a,b\r\nc"}},
        {"a line of 1 MB", text(std::string(1 << 20, 'w')), {std::string(1 << 20, 'w')}},
        {"one byte over the file limit, all one entry cut short", text(std::string(max_list_file_bytes + 1, 'x')), {},
         ListLoad::cut},
        {"a hundred lines, then more than the file limit", text(hundred + std::string(max_list_file_bytes, 'x')),
         hundred_entries, ListLoad::cut},
        {"a folder in its place", [](const fs::path& file) { fs::create_directory(file); }, {}},
        {"the file missing", [](const fs::path&) {}, {}},
    };
    for (const ListRow& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        row.make(caption_list_path(dir.folder()));
        Lists lists;
        EXPECT_EQ(load_caption_list(dir.folder(), lists), row.load);
        ASSERT_EQ(lists.caption_count, static_cast<std::int32_t>(row.captions.size()));
        for (std::size_t i = 0; i < row.captions.size(); ++i) EXPECT_EQ(lists.captions[i + 1], row.captions[i]);
    }

    // Random bytes load as whatever fields they split into, within the limit, and save back unchanged.
    TempDir dir;
    write_file(caption_list_path(dir.folder()), random_bytes);
    Lists lists;
    load_caption_list(dir.folder(), lists);
    ASSERT_LE(lists.caption_count, max_captions);
    if (lists.caption_count > 0) {
        ASSERT_TRUE(save_caption_list(dir.folder(), lists));
        Lists again;
        load_caption_list(dir.folder(), again);
        EXPECT_EQ(again.caption_count, lists.caption_count);
    }
}

// A link someone planted where a save writes: the save replaces the list file itself and never writes
// through the link into the file it points to.
TEST(BadInputs, LinksPlantedWhereAListIsSavedAreNeverWrittenThrough) {
    const std::vector<std::pair<const char*, std::string>> rows = {
        {"at the list file", ""},
        {"at the name the temporary file once had", ".new"},
    };
    for (const auto& [what, suffix] : rows) {
        SCOPED_TRACE(what);
        TempDir dir;
        const fs::path victim = dir.path() / "someone else's file";
        write_file(victim, "theirs\r\n");
        const fs::path list = caption_list_path(dir.folder());
        std::error_code ec;
        fs::create_symlink(victim, list.string() + suffix, ec);
        if (ec) GTEST_SKIP() << "no symlinks here: " << ec.message();
        Lists lists;
        lists.caption_count = 1;
        lists.captions[1] = "mine";
        ASSERT_TRUE(save_caption_list(dir.folder(), lists));
        EXPECT_EQ(testing::read_file(victim), "theirs\r\n");
        EXPECT_FALSE(fs::is_symlink(fs::symlink_status(list)));
        EXPECT_EQ(testing::read_file(list), "mine\r\n");
    }
}

void put16(std::vector<std::uint8_t>& d, std::size_t at, std::uint16_t v) {
    d[at] = static_cast<std::uint8_t>(v);
    d[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::vector<std::uint8_t>& d, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t get32(const std::vector<std::uint8_t>& d, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | d[at + static_cast<std::size_t>(i)];
    return v;
}

struct PictureRow {
    const char* what;
    BmpFormat format;
    std::function<void(std::vector<std::uint8_t>&)> damage;
};

TEST(BadInputs, DamagedPicturesGiveNothingRatherThanGarbageOrACrash) {
    // Offsets in the file: 10 the pixels, 18 width, 22 height, 26 planes, 28 bits per pixel, 30 compression,
    // 46 colours in the palette, 14 the size of the information header.
    const std::vector<PictureRow> rows = {
        {"no width", BmpFormat::rgb24, [](auto& d) { put32(d, 18, 0); }},
        {"a negative width", BmpFormat::rgb24, [](auto& d) { put32(d, 18, static_cast<std::uint32_t>(-9)); }},
        {"no height", BmpFormat::rgb24, [](auto& d) { put32(d, 22, 0); }},
        {"the most negative height", BmpFormat::rgb24, [](auto& d) { put32(d, 22, 0x80000000u); }},
        {"the widest width", BmpFormat::rgb24, [](auto& d) { put32(d, 18, 0x7FFFFFFFu); }},
        {"a size whose pixel count overflows", BmpFormat::rgb24,
         [](auto& d) { put32(d, 18, 0x10000u); put32(d, 22, 0x10000u); }},
        {"0 bits per pixel", BmpFormat::rgb24, [](auto& d) { put16(d, 28, 0); }},
        {"7 bits per pixel", BmpFormat::rgb24, [](auto& d) { put16(d, 28, 7); }},
        {"64 bits per pixel", BmpFormat::rgb24, [](auto& d) { put16(d, 28, 64); }},
        {"run-length compressed", BmpFormat::indexed8, [](auto& d) { put32(d, 30, 1); }},
        {"4-bit run-length compressed", BmpFormat::indexed8, [](auto& d) { put32(d, 30, 2); }},
        {"JPEG inside", BmpFormat::rgb24, [](auto& d) { put32(d, 30, 4); }},
        {"PNG inside", BmpFormat::rgb24, [](auto& d) { put32(d, 30, 5); }},
        {"pixels after the end", BmpFormat::rgb24, [](auto& d) { put32(d, 10, static_cast<std::uint32_t>(d.size())); }},
        {"pixels far beyond the end", BmpFormat::rgb24, [](auto& d) { put32(d, 10, 0xFFFFFFF0u); }},
        {"a palette placed beyond the end", BmpFormat::indexed8, [](auto& d) { put32(d, 14, 0x7FFFFFF0u); }},
        {"an information header of no size", BmpFormat::rgb24, [](auto& d) { put32(d, 14, 0); }},
        {"a palette of 100,000 colours", BmpFormat::indexed8, [](auto& d) { put32(d, 46, 100000); }},
        {"a palette that runs past the end", BmpFormat::indexed8, [](auto& d) { put32(d, 46, 256); d.resize(54 + 600); }},
        {"the last row cut short", BmpFormat::rgb24, [](auto& d) { d.resize(d.size() - 1); }},
        {"another signature", BmpFormat::rgb24, [](auto& d) { d[1] = 'A'; }},
    };
    Image picture(13, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) picture.at(x, y) = static_cast<std::uint32_t>((x * 37 + y * 11) % 200) * 0x010101u;
    for (const PictureRow& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<std::uint8_t> data = encode_bmp(picture, row.format);
        ASSERT_TRUE(decode_bmp(data).has_value());  // the picture is sound before its damage
        row.damage(data);
        EXPECT_FALSE(decode_bmp(data).has_value());
    }
    // Every cut of a sound file, from nothing up to its last byte but one, gives nothing.
    for (BmpFormat format : {BmpFormat::rgb24, BmpFormat::indexed8}) {
        const std::vector<std::uint8_t> data = encode_bmp(picture, format);
        for (std::size_t size = 0; size < data.size(); ++size) {
            SCOPED_TRACE("cut to " + std::to_string(size) + " bytes");
            EXPECT_FALSE(decode_bmp(std::span(data.data(), size)).has_value());
        }
    }
}

// A PNG signature and header chunk claiming the given size, then `filler` bytes of a picture that never comes.
std::vector<std::uint8_t> png_claiming(std::uint32_t width, std::uint32_t height, std::size_t filler) {
    std::vector<std::uint8_t> d = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (const std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) d.push_back(static_cast<std::uint8_t>(v >> shift));
    d.insert(d.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    d.resize(d.size() + filler);
    return d;
}

// A black-and-white BMP of the given size (1 bit per pixel keeps the file small), its rows present or not.
std::vector<std::uint8_t> bmp_of_size(std::uint32_t width, std::uint32_t height, bool rows = true) {
    std::vector<std::uint8_t> d = encode_bmp(Image(1, 1), BmpFormat::indexed1);
    put32(d, 18, width);
    put32(d, 22, height);
    if (rows) d.resize(get32(d, 10) + (width + 31) / 32 * 4 * std::size_t{height});
    return d;
}

struct PictureSizeRow {
    const char* what;
    std::vector<std::uint8_t> bytes;
    bool loads;
};

// Both programs read their pictures through read_picture (the settings program hands GTK only what it
// gave): a header claiming a picture beyond the bounds is refused before its pixels are held.
TEST(BadInputs, PictureFilesBeyondTheBoundsAreRefusedWhateverTheirName) {
    const std::vector<PictureSizeRow> rows = {
        {"a 952-byte PNG claiming 30000 x 30000", png_claiming(30000, 30000, 952 - 33), false},
        {"a PNG claiming one side over the limit", png_claiming(8193, 1, 64), false},
        {"a PNG claiming more pixels than the limit", png_claiming(4097, 4097, 64), false},
        {"a BMP one pixel wider than the limit", bmp_of_size(8193, 1), false},
        {"a BMP of 2 MB holding 4097 x 4097 pixels", bmp_of_size(4097, 4097), false},
        {"a BMP header claiming 32768 x 32768", bmp_of_size(32768, 32768, false), false},
        {"a BMP at the longest side", bmp_of_size(8192, 2), true},
        {"a BMP at the most pixels", bmp_of_size(4096, 4096), true},
    };
    TempDir dir;
    const fs::path file = fs::path(dir.folder()) / "title.bmp";
    for (const PictureSizeRow& row : rows) {
        SCOPED_TRACE(row.what);
        write_file(file, std::string(row.bytes.begin(), row.bytes.end()));
        EXPECT_EQ(read_picture(file.string()).has_value(), row.loads);
        EXPECT_EQ(decode_picture(row.bytes).has_value(), row.loads);
        if (picture_format(row.bytes) == PictureFormat::bmp) {
            EXPECT_EQ(decode_bmp(row.bytes).has_value(), row.loads);
        }
    }
}

class RecordingModes : public ModeEntries {
public:
    int run_scene(App&) override { return record("scene"); }
    int run_preview(App& app) override { host = app.startup.host_window; return record("preview"); }
    int run_new_password(App&) override { return record("password"); }
    int run_configuration(App&) override { return record("configure"); }
    std::string ran;
    std::uint32_t host = 0;

private:
    int record(const char* mode) {
        ran = mode;
        return 7;
    }
};

struct CommandRow {
    std::string command_line;
    const char* runs;  // the mode entered, or "" for none
    std::uint32_t host = 0;
};

TEST(BadInputs, HostileCommandLinesEnterAtMostTheModeTheirSwitchNames) {
    const std::vector<CommandRow> rows = {
        {std::string("/S").append(1 << 20, 'x'), "scene"},   // only the switch is read
        {std::string("/S\0/P 5", 7), "scene"},
        {"/P abc", "preview", 0},                       // no window to draw into: the preview has nothing to host
        {"/P -1", "preview", 4294967295u},              // the number as a 32-bit handle, as the shell passes it
        {"/P 1e9", "preview", 1},
        {"/P 4294967296", "preview", 0},
        {std::string("/P ").append(5000, '9'), "preview", 0},
        {"/P\t\t12", "preview", 12},
        {"/\xc5\xa0", ""},                              // a letter of another script is no switch
        {"\xff\xfe/\0S", ""},
        {"//S", ""},
        {"S", ""},
        {"/", ""},
        {std::string(1, '\0'), ""},
        {"/Z", ""},
    };
    for (const CommandRow& row : rows) {
        SCOPED_TRACE("\"" + row.command_line.substr(0, 20) + "\"");
        TempDir dir;
        TestApp t;
        t.system.windows_dir = dir.path().string();
        t.system.separator = static_cast<char>(fs::path::preferred_separator);
        t.store.set("install_path", dir.folder());
        RecordingModes modes;
        const int code = Main(t.app, row.command_line, modes);
        EXPECT_EQ(modes.ran, row.runs);
        EXPECT_EQ(code, modes.ran.empty() ? 0 : 7);
        if (modes.ran == "preview") {
            EXPECT_EQ(modes.host, row.host);
        }
        EXPECT_TRUE(t.system.boxes.empty());
    }
}

}  // namespace
}  // namespace kolvane
