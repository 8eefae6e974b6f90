// Port to the two text boxes above the scene picture: the caption line and the clock.
#pragma once
#include <string_view>

namespace kolvane {

enum class OverlayBox { caption, clock };

// The backend draws the boxes above the scene picture, never into it; geometry is in twips.
class OverlayView {
public:
    virtual ~OverlayView() = default;
    virtual void set_text(OverlayBox box, std::string_view text) = 0;
    virtual void place(OverlayBox box, float left, float top, float width, float height) = 0;
    virtual void move(OverlayBox box, float left, float top) = 0;
    virtual void set_visible(OverlayBox box, bool visible) = 0;
};

}  // namespace kolvane
