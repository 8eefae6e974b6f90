// A helper for the settings program's script test: the engine's scrambled form of a password, and a window manager's close request.
//   kolvane-gtk-test-helper encode TEXT     prints what the settings store keeps for the password TEXT
//   kolvane-gtk-test-helper close WINDOW    asks the window to close, as a title bar's close button does
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "password/password_codec.h"

namespace {

int close_window(const char* number) {
    char* end = nullptr;
    const unsigned long window = std::strtoul(number, &end, 0);
    if (!end || *end != '\0' || window == 0) {
        std::fprintf(stderr, "not a window number: %s\n", number);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc == 3 ? argv[1] : "";
    if (what == "encode") {
        std::printf("%s\n", kolvane::encode_password_text(argv[2]).c_str());
        return 0;
    }
    if (what == "close") return close_window(argv[2]);
    std::fprintf(stderr, "usage: %s encode TEXT | close WINDOW\n", argv[0]);
    return 2;
}
