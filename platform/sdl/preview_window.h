// The preview on X11: a child window of the display settings' host window showing the preview picture.
#pragma once
#include <optional>

#include "platform/sdl/linux_system.h"
#include "ports/preview_view.h"
#include "preview/preview.h"
#include "scene/render/bmp.h"

namespace kolvane::sdl {

// Drawn with Xlib on the program's own connection: a picture needs no more, and SDL's windows wait
// without end for events a window inside a vanished host never gets. Events are looked at in each
// round of the preview's 50-millisecond poll.
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

    void deliver(const SDL_Event&) override {}
    // Exposures redraw the picture; a close request to the picture is the preview's close message.
    void round_done() override;

    // The X window of the picture, 0 when there is none.
    unsigned long picture_window() const { return window_; }

private:
    void draw();

    LinuxSystem& system_;
    PreviewState& state_;
    std::optional<Image> picture_;
    int twips_x_;
    int twips_y_;
    unsigned width_ = 1;
    unsigned height_ = 1;
    unsigned long window_ = 0;
    unsigned long delete_atom_ = 0;
};

}  // namespace kolvane::sdl
