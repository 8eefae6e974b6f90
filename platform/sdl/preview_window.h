// The preview on X11: a child window holding the preview picture, put into the host window of the display settings.
#pragma once
#include <optional>

#include "platform/preview_view.h"
#include "platform/sdl/linux_system.h"
#include "preview/preview.h"
#include "scene/render/bmp.h"

struct SDL_Window;
struct SDL_Surface;

namespace kolvane::sdl {

class PreviewWindow : public PreviewView, public EventSink {
public:
    // `picture` may be missing: the window then shows black. Twips per pixel are those Main recorded.
    PreviewWindow(LinuxSystem& system, PreviewState& state, std::optional<Image> picture, int twips_per_pixel_x,
                  int twips_per_pixel_y);
    ~PreviewWindow() override;
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    HostRect host_client_rect(unsigned long host) override;
    void size_picture_twips(float width, float height) override;
    void attach_to_host(unsigned long host) override;
    void detach_from_host() override;
    bool host_exists(unsigned long host) override;
    void unload() override;

    void deliver(const SDL_Event& event) override;
    void round_done() override {}

    // The X window of the picture, 0 when there is none.
    unsigned long picture_window() const;

private:
    void draw();

    LinuxSystem& system_;
    PreviewState& state_;
    std::optional<Image> picture_;
    SDL_Surface* picture_surface_ = nullptr;
    int twips_x_;
    int twips_y_;
    int width_ = 1;
    int height_ = 1;
    SDL_Window* window_ = nullptr;
};

}  // namespace kolvane::sdl
