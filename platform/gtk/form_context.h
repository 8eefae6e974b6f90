// What every dialog of the settings program works with: the App, the system, the sound device, the keyboard layout, the pictures.
#pragma once
#include <string>

#include "app/app.h"
#include "ports/keyboard_layout.h"

namespace kolvane::sdl {
class MixerAudio;
}

namespace kolvane::gtk {

class GtkSystem;

struct FormContext {
    App& app;
    GtkSystem& system;
    sdl::MixerAudio& audio;   // the title sound and the audio previews play on it
    KeyboardLayout& layout;   // what the set-password dialog normalises with
    std::string pictures;     // the folder of title.bmp, logo.bmp and buttons/
    std::string website;      // what the About box's web button opens
};

}  // namespace kolvane::gtk
