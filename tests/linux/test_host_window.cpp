// kolvane-test-host: an X window for the program to draw into, steered line by line on standard input.
//
//   kolvane-test-host WIDTH HEIGHT     prints "<decimal id> <0x hex id>", then reads commands:
//     resize W H       gives the window a new size
//     children         prints how many child windows it has
//     close-children   asks each child window to close (WM_DELETE_WINDOW), as a settings dialog would
//     clear            paints the window black again
//     destroy          destroys the window (the helper keeps running)
//     close <hex>      sends the window manager's close request to window <hex>, prints "ok"
//     grab             prints whether the keyboard and the pointer could be grabbed now
//     cursor           prints "blank" when the pointer's current image has no visible pixel, else "visible"
//   Each command answers "ok" (or its result) once the X server has done it. End of input ends the helper.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int ignore_errors(Display*, XErrorEvent*) { return 0; }

unsigned child_count(Display* d, Window w, Window** list) {
    Window root = 0, parent = 0;
    unsigned count = 0;
    *list = nullptr;
    if (!XQueryTree(d, w, &root, &parent, list, &count)) return 0;
    return count;
}

bool cursor_blank(Display* d) {
    XFixesCursorImage* image = XFixesGetCursorImage(d);
    if (!image) return false;
    bool blank = true;
    for (int i = 0; i < image->width * image->height; ++i)
        if ((image->pixels[i] >> 24) != 0) blank = false;
    XFree(image);
    return blank;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kolvane-test-host WIDTH HEIGHT\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "kolvane-test-host: no display\n");
        return 1;
    }
    XSetErrorHandler(ignore_errors);
    const unsigned width = static_cast<unsigned>(std::atoi(argv[1])), height = static_cast<unsigned>(std::atoi(argv[2]));
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, width, height, 0, 0, BlackPixel(d, DefaultScreen(d)));
    XStoreName(d, w, "kolvane test host");
    XMapWindow(d, w);
    XSync(d, False);
    std::cout << w << " 0x" << std::hex << w << std::dec << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string command;
        in >> command;
        if (command == "resize") {
            unsigned w2 = 0, h2 = 0;
            in >> w2 >> h2;
            XResizeWindow(d, w, w2, h2);
            XSync(d, False);
            std::cout << "ok" << std::endl;
        } else if (command == "children") {
            Window* list = nullptr;
            const unsigned count = child_count(d, w, &list);
            if (list) XFree(list);
            std::cout << count << std::endl;
        } else if (command == "close-children") {
            Window* list = nullptr;
            const unsigned count = child_count(d, w, &list);
            const Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
            const Atom delete_window = XInternAtom(d, "WM_DELETE_WINDOW", False);
            for (unsigned i = 0; i < count; ++i) {
                XEvent event{};
                event.xclient.type = ClientMessage;
                event.xclient.window = list[i];
                event.xclient.message_type = protocols;
                event.xclient.format = 32;
                event.xclient.data.l[0] = static_cast<long>(delete_window);
                event.xclient.data.l[1] = CurrentTime;
                XSendEvent(d, list[i], False, NoEventMask, &event);
            }
            if (list) XFree(list);
            XSync(d, False);
            std::cout << "ok" << std::endl;
        } else if (command == "close") {
            // The window manager's close request to another program's window (its number in hex).
            std::string hex;
            in >> hex;
            const Window target = static_cast<Window>(std::strtoul(hex.c_str(), nullptr, 16));
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = target;
            event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(d, target, False, NoEventMask, &event);
            XSync(d, False);
            std::cout << "ok" << std::endl;
        } else if (command == "grab") {
            // Whether this window could take the keyboard and the pointer now; let go at once.
            const int keyboard = XGrabKeyboard(d, w, False, GrabModeAsync, GrabModeAsync, CurrentTime);
            const int pointer = XGrabPointer(d, w, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
            if (keyboard == GrabSuccess) XUngrabKeyboard(d, CurrentTime);
            if (pointer == GrabSuccess) XUngrabPointer(d, CurrentTime);
            XSync(d, False);
            std::cout << (keyboard == GrabSuccess ? "keyboard-free" : "keyboard-held") << ' '
                      << (pointer == GrabSuccess ? "pointer-free" : "pointer-held") << std::endl;
        } else if (command == "clear") {
            XClearWindow(d, w);
            XSync(d, False);
            std::cout << "ok" << std::endl;
        } else if (command == "destroy") {
            XDestroyWindow(d, w);
            XSync(d, False);
            std::cout << "ok" << std::endl;
        } else if (command == "cursor") {
            std::cout << (cursor_blank(d) ? "blank" : "visible") << std::endl;
        } else if (!command.empty()) {
            std::cout << "unknown" << std::endl;
        }
    }
    XCloseDisplay(d);
    return 0;
}
