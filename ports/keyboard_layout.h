// Port to the active keyboard layout: which key types a character, and what that key types unshifted.
#pragma once
#include <cstdint>

namespace kolvane {

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // Virtual-key code in the low byte and shift state in the high byte; -1 when no key types it.
    virtual std::int16_t vk_key_scan(unsigned char character) = 0;
    // Map type 2: the character a virtual key types without Shift; 0 when none. The top bit marks a dead key.
    virtual std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type) = 0;
};

}  // namespace kolvane
