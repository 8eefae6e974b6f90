// X display lookups and the error trap for host windows that go away.
#include "platform/sdl/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kolvane::sdl {

namespace {

// Xlib keeps one error handler per process, so what the trap needs lives at file scope.
std::atomic<unsigned long> lost_windows{0};
XErrorHandler earlier_handler = nullptr;

int trap_x_error(Display* display, XErrorEvent* error) {
    // A graphics context made for a window that had just gone is refused too, and so is its release.
    if (error->error_code == BadWindow || error->error_code == BadDrawable || error->error_code == BadGC) {
        lost_windows.fetch_add(1);
        return 0;
    }
    return earlier_handler ? earlier_handler(display, error) : 0;
}

bool text_property_is(Display* display, Window window, Atom property, const std::string& title) {
    XTextProperty text{};
    if (!XGetTextProperty(display, window, &text, property) || text.value == nullptr) return false;
    const bool same = text.format == 8 && text.nitems == title.size() &&
                      std::memcmp(text.value, title.data(), title.size()) == 0;
    XFree(text.value);
    return same;
}

bool titled(Display* display, Window window, const std::string& title, Atom net_wm_name) {
    return text_property_is(display, window, XA_WM_NAME, title) ||
           (net_wm_name != None && text_property_is(display, window, net_wm_name, title));
}

// Top-level windows, and below them the frames and wrappers window managers put around clients.
bool search_tree(Display* display, Window window, const std::string& title, Atom net_wm_name, int depth) {
    if (titled(display, window, title, net_wm_name)) return true;
    if (depth == 0) return false;
    Window root_return = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root_return, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = search_tree(display, children[i], title, net_wm_name, depth - 1);
    if (children) XFree(children);
    return found;
}

std::optional<ScreenDpi> randr_dpi(Display* display) {
    int event_base = 0, error_base = 0;
    if (!XRRQueryExtension(display, &event_base, &error_base)) return std::nullopt;
    const Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources) return std::nullopt;
    std::optional<ScreenDpi> dpi;
    const RROutput primary = XRRGetOutputPrimary(display, root);
    for (int i = 0; i < resources->noutput && !dpi; ++i) {
        const RROutput output = primary != None ? primary : resources->outputs[i];
        XRROutputInfo* info = XRRGetOutputInfo(display, resources, output);
        if (info && info->connection == RR_Connected && info->crtc != None && info->mm_width > 0 &&
            info->mm_height > 0) {
            if (XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, info->crtc)) {
                const ScreenDpi found{crtc->width * 25.4 / static_cast<double>(info->mm_width),
                                      crtc->height * 25.4 / static_cast<double>(info->mm_height)};
                if (plausible_dpi(found.x) && plausible_dpi(found.y)) dpi = found;
                XRRFreeCrtcInfo(crtc);
            }
        }
        if (info) XRRFreeOutputInfo(info);
        if (primary != None) break;
    }
    XRRFreeScreenResources(resources);
    return dpi;
}

}  // namespace

std::optional<unsigned long> parse_window_id(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = text.c_str() + (hex ? 2 : 0);
    if (*digits == '\0' || *digits == '-' || *digits == '+' || *digits == ' ') return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(digits, &end, hex ? 16 : 10);
    if (errno != 0 || end == digits || *end != '\0' || value == 0) return std::nullopt;
    return value;
}

void install_x_error_trap() {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    earlier_handler = XSetErrorHandler(trap_x_error);
}

unsigned long lost_window_errors() { return lost_windows.load(); }

bool grab_keyboard(_XDisplay* display, unsigned long window, int patience_ms) {
    if (!display || !window) return false;
    for (int waited = 0;; waited += 50) {
        if (XGrabKeyboard(display, window, True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess) return true;
        if (waited >= patience_ms) return false;
        XSync(display, False);
        const timespec pause{0, 50'000'000};
        nanosleep(&pause, nullptr);
    }
}

bool plausible_dpi(double dpi) { return dpi >= 48.0 && dpi <= 480.0; }

XDisplayLink::~XDisplayLink() {
    if (display_) XCloseDisplay(display_);
}

Display* XDisplayLink::display() {
    if (!tried_) {
        tried_ = true;
        install_x_error_trap();
        display_ = XOpenDisplay(nullptr);
    }
    return display_;
}

bool XDisplayLink::available() { return display() != nullptr; }

bool XDisplayLink::window_titled_exists(const std::string& title) {
    Display* d = display();
    if (!d) return false;
    const Atom net_wm_name = XInternAtom(d, "_NET_WM_NAME", True);
    return search_tree(d, DefaultRootWindow(d), title, net_wm_name, 3);
}

std::optional<WindowSize> XDisplayLink::window_size(unsigned long window) {
    Display* d = display();
    if (!d || window == 0) return std::nullopt;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(d, window, &attributes)) return std::nullopt;
    return WindowSize{attributes.width, attributes.height};
}

unsigned long XDisplayLink::root_window() {
    Display* d = display();
    return d ? DefaultRootWindow(d) : 0;
}

bool XDisplayLink::window_manager_running() {
    Display* d = display();
    if (!d) return false;
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW, &type, &format,
                                          &count, &after, &data) == Success &&
                       type == XA_WINDOW && count == 1;
    if (data) XFree(data);
    return found;
}

void XDisplayLink::watch_exposures(unsigned long window) {
    Display* d = display();
    if (!d || window == 0) return;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(d, window, &attributes)) return;
    XSelectInput(d, window, attributes.your_event_mask | ExposureMask);
    XFlush(d);
}

bool XDisplayLink::take_exposure(unsigned long window) {
    Display* d = display();
    if (!d) return false;
    bool exposed = false;
    XEvent event;
    while (XCheckTypedWindowEvent(d, window, Expose, &event)) exposed = true;
    return exposed;
}

WindowSize XDisplayLink::screen_size() {
    Display* d = display();
    if (!d) return {};
    const int screen = DefaultScreen(d);
    return {DisplayWidth(d, screen), DisplayHeight(d, screen)};
}

ScreenDpi XDisplayLink::screen_dpi() {
    Display* d = display();
    if (!d) return {};
    if (const auto dpi = randr_dpi(d)) return *dpi;
    const int screen = DefaultScreen(d);
    const int mm_w = DisplayWidthMM(d, screen), mm_h = DisplayHeightMM(d, screen);
    if (mm_w > 0 && mm_h > 0) {
        const ScreenDpi dpi{DisplayWidth(d, screen) * 25.4 / mm_w, DisplayHeight(d, screen) * 25.4 / mm_h};
        if (plausible_dpi(dpi.x) && plausible_dpi(dpi.y)) return dpi;
    }
    return {};
}

}  // namespace kolvane::sdl
