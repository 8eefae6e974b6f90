// The caption line, the clock and the frame-rate corner as boxes above the scene picture.
#pragma once
#include <string>
#include <string_view>

#include "platform/sdl/screen_layers.h"
#include "platform/sdl/text_painter.h"
#include "ports/overlay_view.h"
#include "scene/render/overlays.h"

namespace kolvane::sdl {

// A twips position or size in pixels at the screen's twips per pixel, to the nearest pixel.
int twips_to_pixels(float twips, double twips_per_pixel);

class OverlayBoxes : public OverlayView {
public:
    OverlayBoxes(ScreenLayers& layers, const SceneFonts& fonts, double twips_per_pixel_x, double twips_per_pixel_y);

    void set_text(OverlayBox box, std::string_view text) override;
    void place(OverlayBox box, float left, float top, float width, float height) override;
    void move(OverlayBox box, float left, float top) override;
    void set_visible(OverlayBox box, bool visible) override;

private:
    struct Box {
        Box(Layer l, const BoxStyle& s, TTF_Font* font);
        Layer layer;
        const BoxStyle& style;
        TextPainter painter;
        std::string text;
        std::u32string decoded;
        int width = 0;
        int height = 0;
    };
    Box& box(OverlayBox which) { return which == OverlayBox::caption ? caption_ : clock_; }
    void render(Box& b);

    ScreenLayers& layers_;
    double twips_x_;
    double twips_y_;
    Box caption_;
    Box clock_;
};

// The frames per second and the share of time spent asleep, in the bottom left corner.
class FrameRateBox {
public:
    FrameRateBox(ScreenLayers& layers, const SceneFonts& fonts);
    // Counts one round of event delivery; `frame_counter` is the scene's block counter, which
    // moves once per frame. Once a second the figures are drawn anew.
    void round(std::uint32_t now_ms, std::int32_t frame_counter, std::uint64_t sleeping_ms);
    void show(bool visible);
    // The text last drawn.
    std::string_view text() const { return text_; }

private:
    void render();

    ScreenLayers& layers_;
    TextPainter painter_;
    bool started_ = false;
    std::uint32_t since_ms_ = 0;
    std::uint64_t sleeping_since_ = 0;
    std::int32_t last_counter_ = -1;
    int frames_ = 0;
    std::string text_;
    std::u32string decoded_;
};

}  // namespace kolvane::sdl
