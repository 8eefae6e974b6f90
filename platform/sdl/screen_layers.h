// What the scene window shows: the scene's pixels with the boxes above them, and the rectangles changed since the last update.
#pragma once
#include <array>
#include <cstddef>

#include <SDL_rect.h>

#include "ports/display.h"

struct SDL_Surface;

namespace kolvane::sdl {

// Boxes drawn above the scene picture, in this order (the last on top).
enum class Layer { caption, clock, frame_rate, prompt, message };
inline constexpr std::size_t layer_count = 5;

// Keeps the window's picture (the target) equal to the scene with the visible layers above it.
// The scene's pixels are copied once, from where the engine composed them straight into the
// target; beneath each visible layer the scene's pixels are kept in the layer's own small copy,
// so that where a layer moves away or hides they come back.
class ScreenLayers : public Display {
public:
    ScreenLayers() = default;
    ~ScreenLayers() override;
    ScreenLayers(const ScreenLayers&) = delete;
    ScreenLayers& operator=(const ScreenLayers&) = delete;

    // The picture the window shows (a window surface); nullptr detaches. A new target starts from
    // the repaint picture (black where there is none) with the visible layers above it.
    void attach(SDL_Surface* target);
    SDL_Surface* target() const { return target_; }

    void present(const Surface& shown, int x, int y, int width, int height) override;
    void set_repaint_picture(const Surface& picture) override { repaint_picture_ = &picture; }
    // True once the scene has presented anything.
    bool scene_presented() const { return scene_presented_; }

    // The layer's own picture, in the target's pixel format; made again only when its size changes.
    // nullptr without a target or for an empty size. Draw into it, then call layer_redrawn.
    SDL_Surface* layer_picture(Layer layer, int width, int height);
    void layer_redrawn(Layer layer);
    void move_layer(Layer layer, int x, int y);
    void show_layer(Layer layer, bool visible);
    SDL_Rect layer_rect(Layer layer) const;
    bool layer_visible(Layer layer) const;

    // The whole window goes to the window system again (it already holds the scene and layers).
    void redraw_all();

    // The changed rectangles since the last take, for the window system; the list is emptied.
    int take_dirty(const SDL_Rect*& rects);
    bool has_dirty() const { return dirty_count_ > 0; }

private:
    struct LayerState {
        SDL_Surface* picture = nullptr;
        SDL_Surface* under = nullptr;  // the scene's pixels beneath the layer while it is visible
        SDL_Rect rect{0, 0, 0, 0};
        bool visible = false;
    };
    LayerState& state(Layer layer) { return layers_[static_cast<std::size_t>(layer)]; }
    const LayerState& state(Layer layer) const { return layers_[static_cast<std::size_t>(layer)]; }
    // Changes one layer's place, size or visibility, keeping the scene beneath every layer right.
    template <typename Change>
    void change_layer(LayerState& layer, Change change);
    // Inside r: the scene's own pixels back from the visible layers' copies.
    void restore_scene(const SDL_Rect& r);
    // Inside r: every visible layer, in order, over what the target holds.
    void draw_layers(const SDL_Rect& r);
    // The scene's pixels again inside r, the layers above them; r becomes dirty.
    void refresh(SDL_Rect r);
    void mark_dirty(const SDL_Rect& r);

    SDL_Surface* target_ = nullptr;
    const Surface* repaint_picture_ = nullptr;
    bool scene_presented_ = false;
    std::array<LayerState, layer_count> layers_{};
    static constexpr int dirty_capacity = 128;
    std::array<SDL_Rect, dirty_capacity> dirty_{};
    int dirty_count_ = 0;
};

// The intersection of two rectangles; empty (w or h 0) when they do not meet.
SDL_Rect intersect(const SDL_Rect& a, const SDL_Rect& b);
// The smallest rectangle holding both; an empty one counts as nothing.
SDL_Rect bounding(const SDL_Rect& a, const SDL_Rect& b);

}  // namespace kolvane::sdl
