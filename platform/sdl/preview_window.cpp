// The preview child window: made inside the host, drawn from the preview picture, closed by a close request.
#include "platform/sdl/preview_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace kolvane::sdl {

namespace {

// A colour channel (0 to 255) placed under a visual's mask.
unsigned long channel(std::uint32_t value, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    return ((static_cast<unsigned long>(value) * ((1ul << bits) - 1) + 127) / 255) << shift;
}

}  // namespace

PreviewWindow::PreviewWindow(LinuxSystem& system, PreviewState& state, std::optional<Image> picture,
                             int twips_per_pixel_x, int twips_per_pixel_y)
    : system_(system),
      state_(state),
      picture_(std::move(picture)),
      twips_x_(std::max(1, twips_per_pixel_x)),
      twips_y_(std::max(1, twips_per_pixel_y)) {}

PreviewWindow::~PreviewWindow() { unload(); }

HostRect PreviewWindow::host_client_rect(unsigned long host) {
    const auto size = system_.x11().window_size(host);
    if (!size) return {};
    return {0, 0, size->width, size->height};
}

void PreviewWindow::size_picture_twips(float width, float height) {
    width_ = static_cast<unsigned>(std::max(1L, std::lround(width / static_cast<float>(twips_x_))));
    height_ = static_cast<unsigned>(std::max(1L, std::lround(height / static_cast<float>(twips_y_))));
    if (Display* d = system_.x11().connection(); d && window_) XResizeWindow(d, window_, width_, height_);
}

void PreviewWindow::attach_to_host(unsigned long host) {
    Display* d = system_.x11().connection();
    if (!d || host == 0 || !system_.x11().window_size(host)) return;
    if (window_) {
        XReparentWindow(d, window_, host, 0, 0);
    } else {
        const int screen = DefaultScreen(d);
        window_ = XCreateSimpleWindow(d, host, 0, 0, width_, height_, 0, BlackPixel(d, screen), BlackPixel(d, screen));
        XSelectInput(d, window_, ExposureMask | StructureNotifyMask);
        Atom delete_window = XInternAtom(d, "WM_DELETE_WINDOW", False);
        delete_atom_ = delete_window;
        XSetWMProtocols(d, window_, &delete_window, 1);
    }
    XMapWindow(d, window_);
    XSync(d, False);
    draw();
}

void PreviewWindow::detach_from_host() {
    Display* d = system_.x11().connection();
    if (!d || !window_) return;
    // Back into the hidden form of its own: unmapped, a child of the root.
    XUnmapWindow(d, window_);
    XReparentWindow(d, window_, DefaultRootWindow(d), 0, 0);
    XSync(d, False);
}

bool PreviewWindow::host_exists(unsigned long host) {
    return host != 0 && system_.x11().window_size(host).has_value();
}

void PreviewWindow::unload() {
    Display* d = system_.x11().connection();
    if (!d || !window_) return;
    // When the host is gone its child went with it; the trap keeps that error from ending the program.
    XDestroyWindow(d, window_);
    XSync(d, False);
    window_ = 0;
}

void PreviewWindow::round_done() {
    Display* d = system_.x11().connection();
    if (!d || !window_) return;
    bool exposed = false;
    while (XPending(d) > 0) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.xany.window != window_) continue;
        if (event.type == Expose) exposed = true;
        else if (event.type == ClientMessage && static_cast<unsigned long>(event.xclient.data.l[0]) == delete_atom_)
            preview_message(*this, state_, preview_close_message);
    }
    if (exposed && window_) draw();
}

void PreviewWindow::draw() {
    Display* d = system_.x11().connection();
    if (!d || !window_ || !picture_ || picture_->empty()) return;
    const int screen = DefaultScreen(d);
    Visual* visual = DefaultVisual(d, screen);
    XImage* image = XCreateImage(d, visual, static_cast<unsigned>(DefaultDepth(d, screen)), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(picture_->width), static_cast<unsigned>(picture_->height), 32, 0);
    if (!image) return;
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) * image->height));
    if (!image->data) {
        XDestroyImage(image);
        return;
    }
    // Unscaled from the top-left corner; the window's black background shows beside it.
    for (int y = 0; y < picture_->height; ++y)
        for (int x = 0; x < picture_->width; ++x) {
            const std::uint32_t rgb = picture_->at(x, y);
            XPutPixel(image, x, y,
                      channel(rgb >> 16 & 0xFF, visual->red_mask) | channel(rgb >> 8 & 0xFF, visual->green_mask) |
                          channel(rgb & 0xFF, visual->blue_mask));
        }
    XPutImage(d, window_, DefaultGC(d, screen), image, 0, 0, 0, 0, static_cast<unsigned>(picture_->width),
              static_cast<unsigned>(picture_->height));
    XDestroyImage(image);  // frees the pixel buffer too
    XFlush(d);
}

}  // namespace kolvane::sdl
