// Port to a window whose position the engine may set; geometry in twips.
#pragma once

namespace kolvane {

class FormGeometry {
public:
    virtual ~FormGeometry() = default;
    virtual float width_twips() const = 0;
    virtual float height_twips() const = 0;
    virtual void move_to_twips(float left, float top) = 0;
};

}  // namespace kolvane
