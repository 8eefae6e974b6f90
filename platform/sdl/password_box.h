// The password prompt drawn as a box above the running scene: entry field, Ok and Cancel, keyboard and mouse.
#pragma once
#include <SDL_keycode.h>
#include <SDL_rect.h>

#include <functional>
#include <string>
#include <string_view>

#include "password/password_forms.h"
#include "platform/sdl/screen_layers.h"
#include "platform/sdl/text_painter.h"

namespace kolvane {
struct Scene;
}

namespace kolvane::sdl {

// Where the keyboard goes, in tab order.
enum class PromptFocus { entry, ok, cancel };

class PasswordBox {
public:
    PasswordBox(Scene& scene, ScreenLayers& layers, const SceneFonts& fonts, double dpi_y);

    // Shown centred on the window with an empty entry and the focus in it.
    void show();
    void hide();
    bool visible() const { return visible_; }
    // Puts what was drawn on the screen at once; used before a message box holds the frame.
    void set_flush(std::function<void()> flush) { flush_ = std::move(flush); }

    // Keyboard and mouse while the prompt is up; none of it counts as input to the scene.
    void key(SDL_Keycode key, Uint16 modifiers);
    void text_input(std::string_view utf8);
    void click(int x, int y);

    // What has been typed, in the code page the password is kept in.
    const std::string& typed() const { return typed_.text; }
    // How many typed characters the code page lacks (each held as a stand-in that matches nothing).
    std::size_t unconvertible() const { return typed_.unconvertible.size(); }
    PromptFocus focus() const { return focus_; }
    // Geometry on the window, for tests and pointer hits.
    SDL_Rect box_rect() const;
    SDL_Rect ok_rect() const;
    SDL_Rect cancel_rect() const;
    SDL_Rect entry_rect() const;

private:
    void check();
    void cancel();
    void render();
    int scaled(int pixels_at_96_dpi) const;

    Scene& scene_;
    ScreenLayers& layers_;
    TextPainter title_painter_;
    TextPainter text_painter_;
    double scale_;
    bool visible_ = false;
    TypedPassword typed_;
    std::u32string scratch_;
    PromptFocus focus_ = PromptFocus::entry;
    std::function<void()> flush_;
};

}  // namespace kolvane::sdl
