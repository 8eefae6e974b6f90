// The password prompt box: drawing, focus, keys and clicks over the prompt's logic.
#include "platform/sdl/password_box.h"

#include <SDL.h>

#include <cmath>

#include "scene/password_prompt.h"
#include "scene/scene.h"

namespace kolvane::sdl {

namespace {

// Geometry at 96 DPI, scaled to the screen's.
constexpr int box_width = 312, box_height = 124;
constexpr int title_height = 20;
constexpr SDL_Rect label_at{12, 30, 0, 0};
constexpr SDL_Rect entry_at{12, 50, 288, 22};
constexpr SDL_Rect ok_at{124, 86, 80, 24};
constexpr SDL_Rect cancel_at{220, 86, 80, 24};

constexpr std::uint32_t face_grey = 0xC0C0C0u, shadow = 0x808080u, title_blue = 0x000080u;

Uint32 mapped(const SDL_Surface* s, std::uint32_t rgb) {
    return SDL_MapRGB(s->format, static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8), static_cast<Uint8>(rgb));
}

void frame(SDL_Surface* s, SDL_Rect r, int thickness, std::uint32_t rgb) {
    const Uint32 c = mapped(s, rgb);
    for (int i = 0; i < thickness; ++i) {
        const SDL_Rect edges[4] = {{r.x + i, r.y + i, r.w - 2 * i, 1},
                                   {r.x + i, r.y + r.h - 1 - i, r.w - 2 * i, 1},
                                   {r.x + i, r.y + i, 1, r.h - 2 * i},
                                   {r.x + r.w - 1 - i, r.y + i, 1, r.h - 2 * i}};
        SDL_FillRects(s, edges, 4, c);
    }
}

bool inside(const SDL_Rect& r, int x, int y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; }

SDL_Rect offset(SDL_Rect r, const SDL_Rect& by) {
    r.x += by.x;
    r.y += by.y;
    return r;
}

}  // namespace

PasswordBox::PasswordBox(Scene& scene, ScreenLayers& layers, const SceneFonts& fonts, double dpi_y)
    : scene_(scene),
      layers_(layers),
      title_painter_(fonts.dialog_bold, SDL_Color{255, 255, 255, 255}),
      text_painter_(fonts.dialog, SDL_Color{0, 0, 0, 255}),
      scale_(dpi_y / 96.0) {}

int PasswordBox::scaled(int pixels) const { return static_cast<int>(std::lround(pixels * scale_)); }

SDL_Rect PasswordBox::box_rect() const { return layers_.layer_rect(Layer::prompt); }

SDL_Rect PasswordBox::entry_rect() const {
    return offset({scaled(entry_at.x), scaled(entry_at.y), scaled(entry_at.w), scaled(entry_at.h)}, box_rect());
}
SDL_Rect PasswordBox::ok_rect() const {
    return offset({scaled(ok_at.x), scaled(ok_at.y), scaled(ok_at.w), scaled(ok_at.h)}, box_rect());
}
SDL_Rect PasswordBox::cancel_rect() const {
    return offset({scaled(cancel_at.x), scaled(cancel_at.y), scaled(cancel_at.w), scaled(cancel_at.h)}, box_rect());
}

void PasswordBox::show() {
    typed_ = {};
    focus_ = PromptFocus::entry;
    visible_ = true;
    const SDL_Surface* target = layers_.target();
    const int w = scaled(box_width), h = scaled(box_height);
    if (target) layers_.move_layer(Layer::prompt, (target->w - w) / 2, (target->h - h) / 2);
    if (layers_.layer_picture(Layer::prompt, w, h)) render();
    layers_.show_layer(Layer::prompt, true);
    SDL_StartTextInput();
}

void PasswordBox::hide() {
    visible_ = false;
    layers_.show_layer(Layer::prompt, false);
}

void PasswordBox::key(SDL_Keycode key, Uint16 modifiers) {
    if (!visible_) return;
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        if (focus_ == PromptFocus::cancel) cancel();
        else check();
        break;
    case SDLK_SPACE:
        if (focus_ == PromptFocus::ok) check();
        else if (focus_ == PromptFocus::cancel) cancel();
        break;
    case SDLK_BACKSPACE:
        if (focus_ == PromptFocus::entry && !typed_.text.empty()) {
            typed_.text.pop_back();
            if (!typed_.unconvertible.empty() && typed_.unconvertible.back() == typed_.text.size())
                typed_.unconvertible.pop_back();
            render();
        }
        break;
    case SDLK_TAB: {
        const int step = (modifiers & KMOD_SHIFT) ? 2 : 1;
        focus_ = static_cast<PromptFocus>((static_cast<int>(focus_) + step) % 3);
        render();
        break;
    }
    default:
        break;  // Escape too: the prompt has no cancel key
    }
}

void PasswordBox::text_input(std::string_view utf8) {
    if (!visible_ || focus_ != PromptFocus::entry) return;
    std::vector<std::size_t> lost;
    const std::size_t start = typed_.text.size();
    typed_.text += utf8_to_western(utf8, &lost);
    for (const std::size_t at : lost) typed_.unconvertible.push_back(start + at);
    render();
}

void PasswordBox::click(int x, int y) {
    if (!visible_) return;
    if (inside(ok_rect(), x, y)) {
        focus_ = PromptFocus::ok;
        check();
    } else if (inside(cancel_rect(), x, y)) {
        focus_ = PromptFocus::cancel;
        cancel();
    } else if (inside(entry_rect(), x, y)) {
        focus_ = PromptFocus::entry;
        render();
    }
}

void PasswordBox::check() {
    // A correct password ends the scene; the prompt's logic closes this box itself.
    if (password_prompt_check(scene_, typed_)) return;
    typed_ = {};
    render();
    if (flush_) flush_();
    scene_.platform.system.message_box(wrong_password_text, wrong_password_title, MessageKind::warning);
    focus_ = PromptFocus::entry;
    render();
}

void PasswordBox::cancel() { password_prompt_cancel(scene_); }

void PasswordBox::render() {
    SDL_Surface* s = layers_.layer_picture(Layer::prompt, scaled(box_width), scaled(box_height));
    if (!s) return;
    SDL_FillRect(s, nullptr, mapped(s, face_grey));
    frame(s, {0, 0, s->w, s->h}, 1, 0x000000u);
    const SDL_Rect title{1, 1, s->w - 2, scaled(title_height)};
    SDL_FillRect(s, &title, mapped(s, title_blue));
    decode_text(password_prompt_title, scratch_);
    title_painter_.draw(s, scaled(6), title.y + (title.h - title_painter_.line_height()) / 2, scratch_);
    decode_text(password_prompt_label, scratch_);
    text_painter_.draw(s, scaled(label_at.x), scaled(label_at.y), scratch_);

    const SDL_Rect entry{scaled(entry_at.x), scaled(entry_at.y), scaled(entry_at.w), scaled(entry_at.h)};
    SDL_FillRect(s, &entry, mapped(s, 0xFFFFFFu));
    frame(s, entry, 1, shadow);
    scratch_.assign(typed_.text.size(), U'*');
    const int text_y = entry.y + (entry.h - text_painter_.line_height()) / 2;
    text_painter_.draw(s, entry.x + scaled(4), text_y, scratch_);
    if (focus_ == PromptFocus::entry) {
        const SDL_Rect caret{entry.x + scaled(4) + text_painter_.width(scratch_) + 1, entry.y + scaled(4), 1,
                             entry.h - 2 * scaled(4)};
        SDL_FillRect(s, &caret, mapped(s, 0x000000u));
    }

    const auto button = [&](const SDL_Rect& at, const char* label, bool focused) {
        const SDL_Rect r{scaled(at.x), scaled(at.y), scaled(at.w), scaled(at.h)};
        frame(s, r, focused ? 2 : 1, 0x000000u);
        decode_text(label, scratch_);
        text_painter_.draw(s, r.x + (r.w - text_painter_.width(scratch_)) / 2,
                           r.y + (r.h - text_painter_.line_height()) / 2, scratch_);
    };
    button(ok_at, "Ok", focus_ == PromptFocus::ok);
    button(cancel_at, "Cancel", focus_ == PromptFocus::cancel);
    layers_.layer_redrawn(Layer::prompt);
}

}  // namespace kolvane::sdl
