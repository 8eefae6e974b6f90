// The window's picture: scene pixels copied straight from the engine's pictures, the layers above them.
#include "platform/sdl/screen_layers.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "scene/render/surface.h"

namespace kolvane::sdl {

namespace {

bool empty(const SDL_Rect& r) { return r.w <= 0 || r.h <= 0; }

// Rows of pixels between two surfaces of the same format.
void copy_same_format(const SDL_Surface* source, int source_x, int source_y, SDL_Surface* destination,
                      const SDL_Rect& to) {
    const int bytes = destination->format->BytesPerPixel;
    const auto* from = static_cast<const std::uint8_t*>(source->pixels) + source_y * source->pitch + source_x * bytes;
    auto* into = static_cast<std::uint8_t*>(destination->pixels) + to.y * destination->pitch + to.x * bytes;
    for (int j = 0; j < to.h; ++j)
        std::memcpy(into + j * destination->pitch, from + j * source->pitch, static_cast<std::size_t>(to.w) * bytes);
}

// Scene pixels (0x00RRGGBB, the usual layout of an X window surface) at `from` into `to` of a surface.
void copy_scene_pixels(const Surface& scene, const SDL_Rect& from, SDL_Surface* destination, int x, int y) {
    auto* into = static_cast<std::uint8_t*>(destination->pixels) + y * destination->pitch +
                 x * destination->format->BytesPerPixel;
    const std::uint32_t* source = scene.row(from.y) + from.x;
    const int source_pitch = scene.width() * 4;
    if (destination->format->format == SDL_PIXELFORMAT_RGB888) {
        for (int j = 0; j < from.h; ++j)
            std::memcpy(into + j * destination->pitch, reinterpret_cast<const std::uint8_t*>(source) + j * source_pitch,
                        static_cast<std::size_t>(from.w) * 4);
    } else {
        SDL_ConvertPixels(from.w, from.h, SDL_PIXELFORMAT_RGB888, source, source_pitch, destination->format->format,
                          into, destination->pitch);
    }
}

SDL_Surface* surface_like(const SDL_Surface* target, int width, int height) {
    return SDL_CreateRGBSurfaceWithFormat(0, width, height, target->format->BitsPerPixel, target->format->format);
}

}  // namespace

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
    for (LayerState& layer : layers_) {
        SDL_FreeSurface(layer.picture);
        SDL_FreeSurface(layer.under);
    }
}

void ScreenLayers::attach(SDL_Surface* target) {
    target_ = target;
    dirty_count_ = 0;
    if (!target_) return;
    // Layer pictures follow the target's pixel format, so that putting them on it is a plain copy.
    for (LayerState& layer : layers_) {
        if (!layer.picture) continue;
        if (layer.picture->format->format != target_->format->format) {
            SDL_Surface* converted = SDL_ConvertSurfaceFormat(layer.picture, target_->format->format, 0);
            SDL_FreeSurface(layer.picture);
            layer.picture = converted;
        }
        SDL_FreeSurface(layer.under);
        layer.under = layer.picture ? surface_like(target_, layer.picture->w, layer.picture->h) : nullptr;
    }
    // A new window picture holds nothing yet: the repaint picture stands in for the scene until the
    // scene presents again.
    const SDL_Rect whole{0, 0, target_->w, target_->h};
    SDL_FillRect(target_, &whole, SDL_MapRGB(target_->format, 0, 0, 0));
    if (repaint_picture_) {
        const SDL_Rect inside = intersect(whole, {0, 0, repaint_picture_->width(), repaint_picture_->height()});
        if (!empty(inside)) copy_scene_pixels(*repaint_picture_, inside, target_, 0, 0);
    }
    for (LayerState& layer : layers_) {
        if (!layer.visible || !layer.under) continue;
        const SDL_Rect part = intersect(layer.rect, whole);
        if (!empty(part)) copy_same_format(target_, part.x, part.y, layer.under, {part.x - layer.rect.x, part.y - layer.rect.y, part.w, part.h});
    }
    draw_layers(whole);
    mark_dirty(whole);
}

void ScreenLayers::present(const Surface& shown, int x, int y, int width, int height) {
    scene_presented_ = true;
    if (!target_) return;
    SDL_Rect r = intersect({x, y, width, height}, {0, 0, target_->w, target_->h});
    r = intersect(r, {0, 0, shown.width(), shown.height()});
    if (empty(r)) return;
    copy_scene_pixels(shown, r, target_, r.x, r.y);
    bool covered = false;
    for (LayerState& layer : layers_) {
        if (!layer.visible || !layer.under) continue;
        const SDL_Rect part = intersect(r, layer.rect);
        if (empty(part)) continue;
        // The scene beneath the layer changed: its copy follows, and the layer goes back on top.
        copy_scene_pixels(shown, part, layer.under, part.x - layer.rect.x, part.y - layer.rect.y);
        covered = true;
    }
    if (covered) draw_layers(r);
    mark_dirty(r);
}

SDL_Surface* ScreenLayers::layer_picture(Layer layer, int width, int height) {
    LayerState& s = state(layer);
    if (!target_ || width <= 0 || height <= 0) return nullptr;
    if (s.picture && s.picture->w == width && s.picture->h == height) return s.picture;
    change_layer(s, [&] {
        SDL_FreeSurface(s.picture);
        SDL_FreeSurface(s.under);
        s.picture = surface_like(target_, width, height);
        s.under = s.picture ? surface_like(target_, width, height) : nullptr;
        if (!s.under) {
            SDL_FreeSurface(s.picture);
            s.picture = nullptr;
        }
        s.rect.w = s.picture ? width : 0;
        s.rect.h = s.picture ? height : 0;
    });
    return s.picture;
}

void ScreenLayers::layer_redrawn(Layer layer) {
    if (state(layer).visible) refresh(state(layer).rect);
}

void ScreenLayers::move_layer(Layer layer, int x, int y) {
    LayerState& s = state(layer);
    if (s.rect.x == x && s.rect.y == y) return;
    change_layer(s, [&] {
        s.rect.x = x;
        s.rect.y = y;
    });
}

void ScreenLayers::show_layer(Layer layer, bool visible) {
    LayerState& s = state(layer);
    if (s.visible == visible) return;
    change_layer(s, [&] { s.visible = visible; });
}

SDL_Rect ScreenLayers::layer_rect(Layer layer) const { return state(layer).rect; }
bool ScreenLayers::layer_visible(Layer layer) const { return state(layer).visible; }

void ScreenLayers::redraw_all() {
    if (target_) mark_dirty({0, 0, target_->w, target_->h});
}

int ScreenLayers::take_dirty(const SDL_Rect*& rects) {
    rects = dirty_.data();
    const int count = dirty_count_;
    dirty_count_ = 0;
    return count;
}

template <typename Change>
void ScreenLayers::change_layer(LayerState& layer, Change change) {
    if (!target_) {
        change();
        return;
    }
    const SDL_Rect whole{0, 0, target_->w, target_->h};
    const SDL_Rect before = layer.visible ? intersect(layer.rect, whole) : SDL_Rect{0, 0, 0, 0};
    // The scene's own pixels where the layer was, from its copy, before the change replaces it.
    restore_scene(before);
    change();
    const bool wanted = layer.visible;
    const bool show = wanted && layer.under != nullptr;
    // Hidden while its new copy is taken, so that the stale one is not used.
    layer.visible = false;
    SDL_Rect after{0, 0, 0, 0};
    if (show) {
        after = intersect(layer.rect, whole);
        restore_scene(after);
        if (!empty(after))
            copy_same_format(target_, after.x, after.y, layer.under,
                             {after.x - layer.rect.x, after.y - layer.rect.y, after.w, after.h});
    }
    layer.visible = wanted;
    refresh(bounding(before, after));
}

void ScreenLayers::restore_scene(const SDL_Rect& r) {
    if (empty(r)) return;
    for (const LayerState& layer : layers_) {
        if (!layer.visible || !layer.under) continue;
        const SDL_Rect part = intersect(intersect(r, layer.rect), {0, 0, target_->w, target_->h});
        if (!empty(part)) copy_same_format(layer.under, part.x - layer.rect.x, part.y - layer.rect.y, target_, part);
    }
}

void ScreenLayers::draw_layers(const SDL_Rect& r) {
    for (LayerState& layer : layers_) {
        if (!layer.visible || !layer.picture) continue;
        const SDL_Rect part = intersect(r, layer.rect);
        if (empty(part)) continue;
        SDL_Rect source{part.x - layer.rect.x, part.y - layer.rect.y, part.w, part.h};
        SDL_Rect destination = part;
        SDL_BlitSurface(layer.picture, &source, target_, &destination);
    }
}

void ScreenLayers::refresh(SDL_Rect r) {
    if (!target_) return;
    r = intersect(r, {0, 0, target_->w, target_->h});
    if (empty(r)) return;
    restore_scene(r);
    draw_layers(r);
    mark_dirty(r);
}

void ScreenLayers::mark_dirty(const SDL_Rect& r) {
    // A full list grows its last rectangle instead: the update covers more, never less.
    if (dirty_count_ < dirty_capacity) dirty_[static_cast<std::size_t>(dirty_count_++)] = r;
    else dirty_[dirty_capacity - 1] = bounding(dirty_[dirty_capacity - 1], r);
}

}  // namespace kolvane::sdl
