// The keyboard layout port over the X server's XKB keymap: which key types a character, and what it types unshifted.
#pragma once
#include <cstdint>

#include "ports/keyboard_layout.h"

struct _XDisplay;
struct _XkbDesc;

namespace kolvane::gtk {

// Keys are named by their X key code (8 to 255, so it fits the low byte); the high byte holds the
// modifiers that reach the character's level, as Windows counts them: 1 Shift, 2 Control, 4 Alt
// (a third-level key, AltGr, reports Control and Alt as Windows does). Only the active layout
// group is searched, key by key in key-code order and each key from its first level up, so the
// main block wins over the keypad. Letters come out upper-case from map_virtual_key.
class XkbKeyboardLayout : public KeyboardLayout {
public:
    // `display` stays the caller's; nullptr gives a layout where no key types anything.
    explicit XkbKeyboardLayout(_XDisplay* display);
    ~XkbKeyboardLayout() override;
    XkbKeyboardLayout(const XkbKeyboardLayout&) = delete;
    XkbKeyboardLayout& operator=(const XkbKeyboardLayout&) = delete;

    // Reads the keymap and the active group afresh for every character, so a layout switched
    // while a dialog is open counts.
    std::int16_t vk_key_scan(unsigned char character) override;
    // Map type 2 only (key to unshifted character in the Western code page); 0 for anything else.
    // A dead key has the top bit set, with the spacing form of its accent where there is one.
    std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type) override;

private:
    bool refresh();
    // The group a key uses for the active group: keys with fewer groups wrap around.
    int group_of(int key_code) const;
    int modifiers_of(int key_code, int group, int level) const;

    _XDisplay* display_;
    _XkbDesc* keymap_ = nullptr;
    int active_group_ = 0;
};

}  // namespace kolvane::gtk
