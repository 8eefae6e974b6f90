// Whether the machine has a sound card, and keeping ALSA's complaints about a missing one out of the log.
#pragma once
#include <string>

namespace kolvane::sdl {

// True when the kernel's list of sound cards (normally /proc/asound/cards) names at least one card.
bool sound_card_listed(const std::string& cards_file = "/proc/asound/cards");

// Without a sound card, ALSA's library prints why each device it tries cannot open, to the standard
// error that a screen-saver daemon keeps as its log, while the scene simply runs silent. On such a
// machine this gives ALSA a handler that drops those messages; with a card they stay as they are.
// Call before SDL's audio starts.
void quiet_alsa_without_sound_card();

}  // namespace kolvane::sdl
