// A complete headless scene: backend doubles, synthetic pictures and helpers to run frames.
#pragma once
#include <memory>

#include "platform/headless/headless_display.h"
#include "platform/headless/headless_scene.h"
#include "scene/scene_pictures.h"
#include "tests/test_app.h"

namespace kolvane::testing {

// Backgrounds of one colour each and a sheet whose frames are opaque coloured blocks.
class SyntheticPictures : public PictureSource {
public:
    std::optional<Image> picture(std::string_view name) override;
};

struct SceneRig : headless::SceneBackend {
    explicit SceneRig(int width = 640, int height = 480);
    // Runs Form_Load and the first activation's set-up, without entering the loop.
    void start();
    // One frame as the loop runs it; true when the scene wants to stop.
    bool frame();

    TempDir dir;
    std::unique_ptr<App> app;
};

}  // namespace kolvane::testing
