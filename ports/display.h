// Port to the screen the scene is shown on: which rectangle of it changed, and what repaints use.
#pragma once

namespace kolvane {

class Surface;

class Display {
public:
    virtual ~Display() = default;
    // The rectangle (x, y, width, height) of the screen now shows those pixels of `shown`; the
    // rectangle lies inside `shown`. A backend may gather rectangles until its next event delivery.
    virtual void present(const Surface& shown, int x, int y, int width, int height) = 0;
    // The picture the window system repaints uncovered parts of the scene window from. It stays
    // valid as long as the scene; its contents change without further notice.
    virtual void set_repaint_picture(const Surface& picture) = 0;
};

}  // namespace kolvane
