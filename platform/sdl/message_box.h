// A modal message box drawn inside the scene window, above the scene and the password prompt.
#pragma once
#include <SDL_rect.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sdl/linux_system.h"
#include "platform/sdl/screen_layers.h"
#include "platform/sdl/text_painter.h"

namespace kolvane::sdl {

// Splits message text into lines: at carriage returns and line feeds, and between words where a
// line is wider than `max_width` as `measure` tells.
std::vector<std::u32string> message_lines(std::string_view text, int max_width,
                                          const std::function<int(std::u32string_view)>& measure);

// Shown over the scene with its title, a stop or warning icon by the message's kind, the text
// and an OK button; closed by Enter, Space, Escape or a click on OK. While it is up the frame that
// opened it waits, as a message box holds its caller; a quit request closes it and is kept for later.
class SceneMessageBox : public MessageView {
public:
    SceneMessageBox(ScreenLayers& layers, const SceneFonts& fonts, double dpi_y, std::function<void()> flush);
    bool show_message(const std::string& text, const std::string& title, MessageKind kind) override;

    // Geometry of the last box on the window.
    SDL_Rect box_rect() const { return layers_.layer_rect(Layer::message); }
    SDL_Rect ok_rect() const;
    int shown() const { return shown_; }

private:
    bool render(const std::string& text, const std::string& title, MessageKind kind);
    int scaled(int pixels_at_96_dpi) const;

    ScreenLayers& layers_;
    TextPainter title_painter_;
    TextPainter text_painter_;
    double scale_;
    std::function<void()> flush_;
    SDL_Rect ok_at_{0, 0, 0, 0};  // inside the box
    int shown_ = 0;
};

}  // namespace kolvane::sdl
