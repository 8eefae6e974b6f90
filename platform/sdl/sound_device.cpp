// ALSA's error messages on a machine without a sound card.
#include "platform/sdl/sound_device.h"

#include <dlfcn.h>

#include <cctype>
#include <fstream>

namespace kolvane::sdl {

namespace {

using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler handler);

void drop_alsa_message(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

bool sound_card_listed(const std::string& cards_file) {
    std::ifstream in(cards_file);
    std::string line;
    // A card's line starts with its number: " 0 [PCH            ]: HDA-Intel - HDA Intel PCH".
    while (std::getline(in, line)) {
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && std::isdigit(static_cast<unsigned char>(line[first]))) return true;
    }
    return false;
}

void quiet_alsa_without_sound_card() {
    static bool done = false;
    if (done) return;
    done = true;
    if (sound_card_listed()) return;
    // SDL loads the same library when its ALSA driver starts, and so finds the handler in place; the
    // library stays loaded for the process's life, as SDL keeps it.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr) return;
    const auto set_handler = reinterpret_cast<SetAlsaErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (set_handler != nullptr) set_handler(drop_alsa_message);
}

}  // namespace kolvane::sdl
