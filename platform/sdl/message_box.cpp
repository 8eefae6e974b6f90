// The in-scene message box: layout, icon, and the modal wait for OK.
#include "platform/sdl/message_box.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace kolvane::sdl {

namespace {

constexpr int title_height = 20, margin = 12, icon_size = 32, button_w = 80, button_h = 24, max_text_width = 420;
constexpr std::uint32_t face_grey = 0xC0C0C0u, title_blue = 0x000080u;

Uint32 mapped(const SDL_Surface* s, std::uint32_t rgb) {
    return SDL_MapRGB(s->format, static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8), static_cast<Uint8>(rgb));
}

void outline(SDL_Surface* s, const SDL_Rect& r, std::uint32_t rgb) {
    const SDL_Rect edges[4] = {{r.x, r.y, r.w, 1}, {r.x, r.y + r.h - 1, r.w, 1}, {r.x, r.y, 1, r.h}, {r.x + r.w - 1, r.y, 1, r.h}};
    SDL_FillRects(s, edges, 4, mapped(s, rgb));
}

// A yellow warning triangle with its mark, or a red disc with a white cross, in a size × size square.
void draw_icon(SDL_Surface* s, int x, int y, int size, MessageKind kind) {
    const bool stop = kind == MessageKind::error;
    for (int row = 0; row < size; ++row) {
        int half = 0;
        if (stop) {
            const double dy = row + 0.5 - size / 2.0;
            half = static_cast<int>(std::sqrt(std::max(0.0, size * size / 4.0 - dy * dy)));
        } else {
            half = (row + 1) / 2;
        }
        const SDL_Rect line{x + size / 2 - half, y + row, 2 * half, 1};
        SDL_FillRect(s, &line, mapped(s, stop ? 0xFF0000u : 0xFFFF00u));
    }
    const int bar = std::max(2, size / 8);
    if (stop) {
        for (int i = size / 4; i < size * 3 / 4; ++i) {
            const SDL_Rect a{x + i, y + i, bar, bar}, b{x + size - 1 - i - bar, y + i, bar, bar};
            SDL_FillRect(s, &a, mapped(s, 0xFFFFFFu));
            SDL_FillRect(s, &b, mapped(s, 0xFFFFFFu));
        }
    } else {
        const SDL_Rect mark{x + size / 2 - bar / 2, y + size / 3, bar, size / 3}, dot{x + size / 2 - bar / 2, y + size * 3 / 4, bar, bar};
        SDL_FillRect(s, &mark, mapped(s, 0x000000u));
        SDL_FillRect(s, &dot, mapped(s, 0x000000u));
    }
}

bool closes_box(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) return false;
    const SDL_Keycode k = event.key.keysym.sym;
    return k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_SPACE || k == SDLK_ESCAPE;
}

}  // namespace

std::vector<std::u32string> message_lines(std::string_view text, int max_width,
                                          const std::function<int(std::u32string_view)>& measure) {
    std::u32string all;
    decode_text(text, all);
    std::vector<std::u32string> lines;
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = all.find_first_of(U"\r\n", start);
        if (end == std::u32string::npos) end = all.size();
        std::u32string paragraph = all.substr(start, end - start);
        // Words move to a new line while the line is too wide and has more than one word.
        while (measure(paragraph) > max_width) {
            std::size_t cut = paragraph.rfind(U' ');
            while (cut != std::u32string::npos && cut > 0 && measure(std::u32string_view(paragraph).substr(0, cut)) > max_width)
                cut = paragraph.rfind(U' ', cut - 1);
            if (cut == std::u32string::npos || cut == 0) break;
            lines.push_back(paragraph.substr(0, cut));
            paragraph.erase(0, cut + 1);
        }
        lines.push_back(std::move(paragraph));
        if (end == all.size()) break;
        start = end + 1;
    }
    return lines;
}

SceneMessageBox::SceneMessageBox(ScreenLayers& layers, const SceneFonts& fonts, double dpi_y, std::function<void()> flush)
    : layers_(layers),
      title_painter_(fonts.dialog_bold, SDL_Color{255, 255, 255, 255}),
      text_painter_(fonts.dialog, SDL_Color{0, 0, 0, 255}),
      scale_(dpi_y / 96.0),
      flush_(std::move(flush)) {}

int SceneMessageBox::scaled(int pixels) const { return static_cast<int>(std::lround(pixels * scale_)); }

SDL_Rect SceneMessageBox::ok_rect() const {
    const SDL_Rect box = box_rect();
    return {box.x + ok_at_.x, box.y + ok_at_.y, ok_at_.w, ok_at_.h};
}

bool SceneMessageBox::render(const std::string& text, const std::string& title, MessageKind kind) {
    const SDL_Surface* target = layers_.target();
    if (!target || !text_painter_.ready()) return false;
    const auto measure = [this](std::u32string_view line) { return text_painter_.width(line); };
    const auto lines = message_lines(text, scaled(max_text_width), measure);
    const bool has_icon = kind != MessageKind::plain;
    const int text_x = scaled(margin) + (has_icon ? scaled(icon_size + margin) : 0);
    int text_w = 0;
    for (const auto& line : lines) text_w = std::max(text_w, measure(line));
    std::u32string title_text;
    decode_text(title, title_text);
    const int line_h = text_painter_.line_height();
    const int body_h = std::max(has_icon ? scaled(icon_size) : 0, static_cast<int>(lines.size()) * line_h);
    const int w = std::max({text_x + text_w + scaled(margin), scaled(200), title_painter_.width(title_text) + scaled(2 * margin)});
    const int h = scaled(title_height) + scaled(margin) + body_h + scaled(margin) + scaled(button_h) + scaled(margin);
    SDL_Surface* s = layers_.layer_picture(Layer::message, w, h);
    if (!s) return false;
    layers_.move_layer(Layer::message, (target->w - w) / 2, (target->h - h) / 2);

    SDL_FillRect(s, nullptr, mapped(s, face_grey));
    outline(s, {0, 0, w, h}, 0x000000u);
    const SDL_Rect bar{1, 1, w - 2, scaled(title_height)};
    SDL_FillRect(s, &bar, mapped(s, title_blue));
    title_painter_.draw(s, scaled(6), bar.y + (bar.h - title_painter_.line_height()) / 2, title_text);
    const int body_y = scaled(title_height) + scaled(margin);
    if (has_icon) draw_icon(s, scaled(margin), body_y, scaled(icon_size), kind);
    for (std::size_t i = 0; i < lines.size(); ++i)
        text_painter_.draw(s, text_x, body_y + static_cast<int>(i) * line_h, lines[i]);
    ok_at_ = {(w - scaled(button_w)) / 2, h - scaled(margin) - scaled(button_h), scaled(button_w), scaled(button_h)};
    outline(s, ok_at_, 0x000000u);
    outline(s, {ok_at_.x + 1, ok_at_.y + 1, ok_at_.w - 2, ok_at_.h - 2}, 0x000000u);
    const std::u32string ok = U"OK";
    text_painter_.draw(s, ok_at_.x + (ok_at_.w - text_painter_.width(ok)) / 2,
                       ok_at_.y + (ok_at_.h - line_h) / 2, ok);
    layers_.layer_redrawn(Layer::message);
    return true;
}

bool SceneMessageBox::show_message(const std::string& text, const std::string& title, MessageKind kind) {
    if (!render(text, title, kind)) return false;
    ++shown_;
    layers_.show_layer(Layer::message, true);
    if (flush_) flush_();
    bool quit = false;
    SDL_Event event;
    while (SDL_WaitEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit = true;
            break;
        }
        if (closes_box(event)) break;
        if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
            const SDL_Rect ok = ok_rect();
            const SDL_Point at{event.button.x, event.button.y};
            if (SDL_PointInRect(&at, &ok)) break;
        }
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
            layers_.redraw_all();
            if (flush_) flush_();
        }
    }
    layers_.show_layer(Layer::message, false);
    if (flush_) flush_();
    if (quit) {
        SDL_Event again{};
        again.type = SDL_QUIT;
        SDL_PushEvent(&again);
    }
    return true;
}

}  // namespace kolvane::sdl
