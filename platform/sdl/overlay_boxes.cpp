// The boxes above the scene: geometry from twips, their colours and fonts, text centred in them (a line too
// long for its box starts at its left edge).
#include "platform/sdl/overlay_boxes.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>

namespace kolvane::sdl {

namespace {

Uint32 mapped(const SDL_Surface* picture, std::uint32_t rgb) {
    return SDL_MapRGB(picture->format, static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8),
                      static_cast<Uint8>(rgb));
}

SDL_Color colour_of(std::uint32_t rgb) {
    return {static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8), static_cast<Uint8>(rgb), 255};
}

// Room for any caption and clock text, so that showing one allocates nothing.
constexpr std::size_t text_room = 1024;

}  // namespace

int twips_to_pixels(float twips, double twips_per_pixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / twips_per_pixel));
}

OverlayBoxes::Box::Box(Layer l, const BoxStyle& s, TTF_Font* font)
    : layer(l), style(s), painter(font, colour_of(s.text)) {
    text.reserve(text_room);
    decoded.reserve(text_room);
}

OverlayBoxes::OverlayBoxes(ScreenLayers& layers, const SceneFonts& fonts, double twips_per_pixel_x,
                           double twips_per_pixel_y)
    : layers_(layers),
      twips_x_(twips_per_pixel_x),
      twips_y_(twips_per_pixel_y),
      caption_(Layer::caption, caption_style, fonts.caption),
      clock_(Layer::clock, clock_style, fonts.clock) {}

void OverlayBoxes::set_text(OverlayBox which, std::string_view text) {
    Box& b = box(which);
    if (b.text == text) return;  // the clock is told its text every frame; it changes once a second
    b.text.assign(text.data(), text.size());
    decode_text(b.text, b.decoded);
    render(b);
}

void OverlayBoxes::place(OverlayBox which, float left, float top, float width, float height) {
    Box& b = box(which);
    const int w = twips_to_pixels(width, twips_x_), h = twips_to_pixels(height, twips_y_);
    layers_.move_layer(b.layer, twips_to_pixels(left, twips_x_), twips_to_pixels(top, twips_y_));
    if (w != b.width || h != b.height) {
        b.width = w;
        b.height = h;
        // Room for the most of a caption the box can show, so that showing one allocates nothing.
        b.text.reserve(caption_bytes_shown(w));
        b.decoded.reserve(caption_bytes_shown(w));
        render(b);
    }
}

void OverlayBoxes::move(OverlayBox which, float left, float top) {
    layers_.move_layer(box(which).layer, twips_to_pixels(left, twips_x_), twips_to_pixels(top, twips_y_));
}

void OverlayBoxes::set_visible(OverlayBox which, bool visible) { layers_.show_layer(box(which).layer, visible); }

void OverlayBoxes::render(Box& b) {
    SDL_Surface* picture = layers_.layer_picture(b.layer, b.width, b.height);
    if (!picture) return;
    SDL_FillRect(picture, nullptr, mapped(picture, b.style.background));
    // Only the characters that show are measured and drawn: a caption may be far longer than its line.
    const std::u32string_view text = b.decoded;
    const LineLayout line = lay_out_line(text.size(), b.width, [&](std::size_t i) {
        return b.painter.advance(i == 0 ? 0 : text[i - 1], text[i]);
    });
    const int y = (b.height - b.painter.line_height()) / 2;
    b.painter.draw(picture, line.left, y, text.substr(0, line.count));
    layers_.layer_redrawn(b.layer);
}

FrameRateBox::FrameRateBox(ScreenLayers& layers, const SceneFonts& fonts)
    : layers_(layers), painter_(fonts.clock, colour_of(0xFFFFFFu)) {
    text_.reserve(64);
    decoded_.reserve(64);
}

void FrameRateBox::round(std::uint32_t now_ms, std::int32_t frame_counter, std::uint64_t sleeping_ms) {
    if (!started_) {
        started_ = true;
        since_ms_ = now_ms;
        sleeping_since_ = sleeping_ms;
        last_counter_ = frame_counter;
        return;
    }
    if (frame_counter != last_counter_) {
        ++frames_;
        last_counter_ = frame_counter;
    }
    const std::uint32_t elapsed = now_ms - since_ms_;
    if (elapsed < 1000) return;
    const double fps = frames_ * 1000.0 / elapsed;
    const double asleep = 100.0 * static_cast<double>(sleeping_ms - sleeping_since_) / elapsed;
    char line[64];
    std::snprintf(line, sizeof line, "%.1f FPS  %.0f%% asleep", fps, std::min(asleep, 100.0));
    text_.assign(line);
    decode_text(text_, decoded_);
    frames_ = 0;
    since_ms_ = now_ms;
    sleeping_since_ = sleeping_ms;
    render();
}

void FrameRateBox::show(bool visible) {
    if (visible && text_.empty()) {
        text_.assign("-- FPS");
        decode_text(text_, decoded_);
        render();
    }
    layers_.show_layer(Layer::frame_rate, visible);
}

void FrameRateBox::render() {
    const SDL_Surface* target = layers_.target();
    if (!target || !painter_.ready()) return;
    const int height = painter_.line_height() + 4;
    const int width = painter_.width(decoded_) + 8;
    // A little wider than needed, so the box does not change size with every figure.
    const int room = ((width + 31) / 32) * 32;
    SDL_Surface* picture = layers_.layer_picture(Layer::frame_rate, room, height);
    if (!picture) return;
    SDL_FillRect(picture, nullptr, mapped(picture, 0x000000u));
    painter_.draw(picture, 4, 2, decoded_);
    layers_.move_layer(Layer::frame_rate, 0, target->h - height);
    layers_.layer_redrawn(Layer::frame_rate);
}

}  // namespace kolvane::sdl
