// The keyboard layout port over XKB: the X server's keymap searched for a character's key.
#include "platform/gtk/xkb_layout.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <glib.h>
#include <xkbcommon/xkbcommon.h>

#include <string>

#include "platform/sdl/text_painter.h"

namespace kolvane::gtk {

namespace {

constexpr std::uint32_t dead_key_bit = 0x80000000u;
constexpr int shift_bit = 1, control_bit = 2, alt_bit = 4;

// The accent a dead key puts on the next letter, as the character it types alone (Western code page).
std::uint32_t spacing_accent(KeySym dead) {
    switch (dead) {
        case XK_dead_grave: return '`';
        case XK_dead_acute: return 0xB4;
        case XK_dead_circumflex: return '^';
        case XK_dead_tilde: return '~';
        case XK_dead_diaeresis: return 0xA8;
        case XK_dead_cedilla: return 0xB8;
        case XK_dead_abovering: return 0xB0;
        default: return 0;
    }
}

bool is_dead_key(KeySym sym) { return sym >= XK_dead_grave && sym <= 0xfe8f; }

// The byte of the Western code page for a Unicode character; 0 when the code page lacks it.
std::uint32_t western_byte(char32_t c) {
    if (c == 0) return 0;
    char utf8[8] = {};
    const gint n = g_unichar_to_utf8(static_cast<gunichar>(c), utf8);
    const std::string western = sdl::utf8_to_western(std::string_view(utf8, static_cast<std::size_t>(n)));
    if (western.size() != 1 || (western[0] == '?' && c != U'?')) return 0;
    return static_cast<unsigned char>(western[0]);
}

}  // namespace

XkbKeyboardLayout::XkbKeyboardLayout(_XDisplay* display) : display_(display) {
    int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (display_ && !XkbQueryExtension(display_, &opcode, &event, &error, &major, &minor)) display_ = nullptr;
}

XkbKeyboardLayout::~XkbKeyboardLayout() {
    if (keymap_) XkbFreeKeyboard(keymap_, 0, True);
}

bool XkbKeyboardLayout::refresh() {
    if (!display_) return false;
    if (keymap_) XkbFreeKeyboard(keymap_, 0, True);
    keymap_ = XkbGetMap(display_, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    XkbStateRec state{};
    active_group_ = XkbGetState(display_, XkbUseCoreKbd, &state) == Success ? state.group : 0;
    return keymap_ != nullptr;
}

int XkbKeyboardLayout::group_of(int key_code) const {
    const int groups = XkbKeyNumGroups(keymap_, key_code);
    if (groups <= 0) return -1;
    return active_group_ < groups ? active_group_ : active_group_ % groups;
}

int XkbKeyboardLayout::modifiers_of(int key_code, int group, int level) const {
    if (level == 0) return 0;
    const XkbKeyTypePtr type = XkbKeyKeyType(keymap_, key_code, group);
    unsigned mask = 0;
    bool found = false;
    for (int i = 0; i < type->map_count && !found; ++i) {
        const XkbKTMapEntryRec& entry = type->map[i];
        // Caps Lock reaches the capitals too, but a key scan names the Shift that types them.
        if (entry.active && entry.level == level && (entry.mods.mask & LockMask) == 0) {
            mask = entry.mods.mask;
            found = true;
        }
    }
    int bits = 0;
    if (mask & ShiftMask) bits |= shift_bit;
    if (mask & ControlMask) bits |= control_bit;
    if (mask & Mod1Mask) bits |= alt_bit;
    if (mask & ~static_cast<unsigned>(ShiftMask | ControlMask | Mod1Mask | LockMask)) bits |= control_bit | alt_bit;
    return bits;
}

std::int16_t XkbKeyboardLayout::vk_key_scan(unsigned char character) {
    const char32_t wanted = sdl::western_to_unicode(character);
    // Keys that type nothing report 0 as their character; that is no match for NUL.
    if (wanted == 0 || !refresh()) return -1;
    for (int key = keymap_->min_key_code; key <= keymap_->max_key_code; ++key) {
        const int group = group_of(key);
        if (group < 0) continue;
        const int width = XkbKeyGroupWidth(keymap_, key, group);
        for (int level = 0; level < width; ++level) {
            const KeySym sym = XkbKeySymEntry(keymap_, key, level, group);
            if (sym == NoSymbol || xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(sym)) != wanted) continue;
            return static_cast<std::int16_t>((modifiers_of(key, group, level) << 8) | key);
        }
    }
    return -1;
}

std::uint32_t XkbKeyboardLayout::map_virtual_key(std::uint32_t code, std::uint32_t map_type) {
    if (map_type != 2) return 0;
    if (!keymap_ && !refresh()) return 0;
    const int key = static_cast<int>(code);
    if (key < keymap_->min_key_code || key > keymap_->max_key_code) return 0;
    const int group = group_of(key);
    if (group < 0) return 0;
    const KeySym sym = XkbKeySymEntry(keymap_, key, 0, group);
    if (is_dead_key(sym)) return dead_key_bit | spacing_accent(sym);
    const xkb_keysym_t upper = xkb_keysym_to_upper(static_cast<xkb_keysym_t>(sym));
    return western_byte(xkb_keysym_to_utf32(upper));
}

}  // namespace kolvane::gtk
