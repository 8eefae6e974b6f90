// The window's picture: scene pixels copied from the engine's screen picture, the layers above them.
#include "platform/sdl/screen_layers.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "scene/render/surface.h"

namespace kolvane::sdl {

SDL_Rect intersect(const SDL_Rect& a, const SDL_Rect& b) {
    const int left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.w, b.x + b.w), bottom = std::min(a.y + a.h, b.y + b.h);
    if (right <= left || bottom <= top) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
}

SDL_Rect bounding(const SDL_Rect& a, const SDL_Rect& b) {
    if (a.w <= 0 || a.h <= 0) return b;
    if (b.w <= 0 || b.h <= 0) return a;
    const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.w, b.x + b.w), bottom = std::max(a.y + a.h, b.y + b.h);
    return {left, top, right - left, bottom - top};
}

ScreenLayers::~ScreenLayers() {
    for (LayerState& layer : layers_) SDL_FreeSurface(layer.picture);
}

void ScreenLayers::attach(SDL_Surface* target) {
    target_ = target;
    dirty_count_ = 0;
    if (!target_) return;
    // Layer pictures follow the target's pixel format, so that putting them on it is a plain copy.
    for (LayerState& layer : layers_) {
        if (!layer.picture || layer.picture->format->format == target_->format->format) continue;
        SDL_Surface* converted = SDL_ConvertSurfaceFormat(layer.picture, target_->format->format, 0);
        SDL_FreeSurface(layer.picture);
        layer.picture = converted;
    }
    redraw_all();
}

void ScreenLayers::present(const Surface& shown, int x, int y, int width, int height) {
    scene_ = &shown;
    refresh({x, y, width, height});
}

SDL_Surface* ScreenLayers::layer_picture(Layer layer, int width, int height) {
    LayerState& s = state(layer);
    if (!target_ || width <= 0 || height <= 0) return nullptr;
    if (s.picture && s.picture->w == width && s.picture->h == height) return s.picture;
    const SDL_Rect old = s.rect;
    SDL_FreeSurface(s.picture);
    s.picture = SDL_CreateRGBSurfaceWithFormat(0, width, height, target_->format->BitsPerPixel, target_->format->format);
    s.rect.w = s.picture ? width : 0;
    s.rect.h = s.picture ? height : 0;
    if (s.visible) refresh(old);
    return s.picture;
}

void ScreenLayers::layer_redrawn(Layer layer) {
    if (state(layer).visible) refresh(state(layer).rect);
}

void ScreenLayers::move_layer(Layer layer, int x, int y) {
    LayerState& s = state(layer);
    if (s.rect.x == x && s.rect.y == y) return;
    const SDL_Rect old = s.rect;
    s.rect.x = x;
    s.rect.y = y;
    if (s.visible) refresh(bounding(old, s.rect));
}

void ScreenLayers::show_layer(Layer layer, bool visible) {
    LayerState& s = state(layer);
    if (s.visible == visible) return;
    s.visible = visible;
    refresh(s.rect);
}

SDL_Rect ScreenLayers::layer_rect(Layer layer) const { return state(layer).rect; }
bool ScreenLayers::layer_visible(Layer layer) const { return state(layer).visible; }

void ScreenLayers::redraw_all() {
    if (target_) refresh({0, 0, target_->w, target_->h});
}

int ScreenLayers::take_dirty(const SDL_Rect*& rects) {
    rects = dirty_.data();
    const int count = dirty_count_;
    dirty_count_ = 0;
    return count;
}

void ScreenLayers::refresh(SDL_Rect r) {
    if (!target_) return;
    r = intersect(r, {0, 0, target_->w, target_->h});
    if (r.w <= 0 || r.h <= 0) return;
    copy_scene(r);
    for (LayerState& layer : layers_) {
        if (!layer.visible || !layer.picture) continue;
        const SDL_Rect part = intersect(r, layer.rect);
        if (part.w <= 0 || part.h <= 0) continue;
        SDL_Rect source{part.x - layer.rect.x, part.y - layer.rect.y, part.w, part.h};
        SDL_Rect destination = part;
        SDL_BlitSurface(layer.picture, &source, target_, &destination);
    }
    mark_dirty(r);
}

void ScreenLayers::copy_scene(const SDL_Rect& r) {
    const SDL_Rect inside = scene_ ? intersect(r, {0, 0, scene_->width(), scene_->height()}) : SDL_Rect{0, 0, 0, 0};
    // Where the window is larger than the scene it shows black.
    if (inside.w != r.w || inside.h != r.h) SDL_FillRect(target_, &r, SDL_MapRGB(target_->format, 0, 0, 0));
    if (inside.w <= 0 || inside.h <= 0) return;
    auto* destination = static_cast<std::uint8_t*>(target_->pixels) + inside.y * target_->pitch +
                       inside.x * target_->format->BytesPerPixel;
    const std::uint32_t* source = scene_->row(inside.y) + inside.x;
    const int source_pitch = scene_->width() * 4;
    // The scene's pixels are 0x00RRGGBB, the usual layout of an X window surface.
    if (target_->format->format == SDL_PIXELFORMAT_RGB888) {
        for (int j = 0; j < inside.h; ++j)
            std::memcpy(destination + j * target_->pitch, reinterpret_cast<const std::uint8_t*>(source) + j * source_pitch,
                        static_cast<std::size_t>(inside.w) * 4);
    } else {
        SDL_ConvertPixels(inside.w, inside.h, SDL_PIXELFORMAT_RGB888, source, source_pitch, target_->format->format,
                          destination, target_->pitch);
    }
}

void ScreenLayers::mark_dirty(const SDL_Rect& r) {
    // A full list grows its last rectangle instead: the update covers more, never less.
    if (dirty_count_ < dirty_capacity) dirty_[static_cast<std::size_t>(dirty_count_++)] = r;
    else dirty_[dirty_capacity - 1] = bounding(dirty_[dirty_capacity - 1], r);
}

}  // namespace kolvane::sdl
