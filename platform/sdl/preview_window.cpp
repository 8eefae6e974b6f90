// The preview child window: re-parented into the host, drawn from the preview picture, closed by a close request.
#include "platform/sdl/preview_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>

namespace kolvane::sdl {

namespace {

struct X11Handle {
    Display* display = nullptr;
    Window window = 0;
};

X11Handle x11_handle(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
    return {info.info.x11.display, info.info.x11.window};
}

}  // namespace

PreviewWindow::PreviewWindow(LinuxSystem& system, PreviewState& state, std::optional<Image> picture,
                             int twips_per_pixel_x, int twips_per_pixel_y)
    : system_(system),
      state_(state),
      picture_(std::move(picture)),
      twips_x_(std::max(1, twips_per_pixel_x)),
      twips_y_(std::max(1, twips_per_pixel_y)) {
    if (picture_ && !picture_->empty())
        picture_surface_ = SDL_CreateRGBSurfaceWithFormatFrom(picture_->pixels.data(), picture_->width, picture_->height,
                                                              32, picture_->width * 4, SDL_PIXELFORMAT_RGB888);
}

PreviewWindow::~PreviewWindow() {
    unload();
    SDL_FreeSurface(picture_surface_);
}

HostRect PreviewWindow::host_client_rect(unsigned long host) {
    const auto size = system_.x11().window_size(host);
    if (!size) return {};
    return {0, 0, size->width, size->height};
}

void PreviewWindow::size_picture_twips(float width, float height) {
    width_ = std::max(1, static_cast<int>(std::lround(width / static_cast<float>(twips_x_))));
    height_ = std::max(1, static_cast<int>(std::lround(height / static_cast<float>(twips_y_))));
    if (window_) SDL_SetWindowSize(window_, width_, height_);
}

void PreviewWindow::attach_to_host(unsigned long host) {
    if (host == 0 || !system_.x11().window_size(host)) return;
    if (!window_)
        window_ = SDL_CreateWindow("Kolvane preview", 0, 0, width_, height_, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    const X11Handle handle = x11_handle(window_);
    if (!handle.display) return;
    XReparentWindow(handle.display, handle.window, host, 0, 0);
    XSync(handle.display, False);
    SDL_ShowWindow(window_);
    draw();
}

void PreviewWindow::detach_from_host() {
    const X11Handle handle = x11_handle(window_);
    if (!handle.display) return;
    SDL_HideWindow(window_);
    XReparentWindow(handle.display, handle.window, DefaultRootWindow(handle.display), 0, 0);
    XSync(handle.display, False);
}

bool PreviewWindow::host_exists(unsigned long host) {
    return host != 0 && system_.x11().window_size(host).has_value();
}

void PreviewWindow::unload() {
    if (!window_) return;
    // When the host is gone its child went with it; the trap keeps that error from ending the program.
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

unsigned long PreviewWindow::picture_window() const { return x11_handle(window_).window; }

void PreviewWindow::deliver(const SDL_Event& event) {
    if (!window_ || event.type != SDL_WINDOWEVENT || event.window.windowID != SDL_GetWindowID(window_)) return;
    if (event.window.event == SDL_WINDOWEVENT_CLOSE) preview_message(*this, state_, preview_close_message);
    else if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) draw();
}

void PreviewWindow::draw() {
    SDL_Surface* surface = window_ ? SDL_GetWindowSurface(window_) : nullptr;
    if (!surface) return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    // Unscaled from the top-left corner; a larger host shows black beside it.
    if (picture_surface_) SDL_BlitSurface(picture_surface_, nullptr, surface, nullptr);
    SDL_UpdateWindowSurface(window_);
}

}  // namespace kolvane::sdl
