// frm_screensaver on Windows: the full-screen window, its DIB-section screen, the caption and clock boxes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/password_dialogs.h"
#include "platform/win32/win32_platform.h"
#include "ports/display.h"
#include "ports/full_screen_window.h"
#include "ports/overlay_view.h"

namespace kolvane {
struct App;
}

namespace kolvane::win32 {

// The rectangles of every monitor but the primary one (the one that holds the point (0, 0)).
std::vector<RECT> other_monitor_rects(const std::vector<RECT>& monitors);
// Every monitor's rectangle in virtual-screen pixels.
std::vector<RECT> monitor_rects();

// A memory device context holding a 32-bit top-down DIB section whose pixels are 0x00RRGGBB, as the
// engine's surfaces are; copies from it to a window are BitBlt calls.
class DibCanvas {
public:
    DibCanvas() = default;
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    bool create(int width, int height);
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t* row(int y) { return bits_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    // Copies the rectangle of `pixels` (width x height, row-major) at (x, y) into the canvas, clipped to both.
    RECT put(const std::uint32_t* pixels, int pixels_width, int pixels_height, int x, int y, int width, int height);

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// One text box above the scene: a child window that paints its own colours and font.
struct TextBox {
    HWND window = nullptr;
    HFONT font = nullptr;
    HBRUSH background = nullptr;
    COLORREF text_colour = 0;
    std::string text;
    RECT place{};  // client pixels of the scene window
    bool visible = false;
};

class SceneView final : public Display, public OverlayView, public FullScreenWindow {
public:
    SceneView(Win32System& system, HINSTANCE instance);
    ~SceneView() override;
    SceneView(const SceneView&) = delete;
    SceneView& operator=(const SceneView&) = delete;

    // Creates the hidden full-screen window titled "screen saver running" and its two boxes.
    bool create(App& app);
    // Shows and activates the window and covers the other monitors with black.
    void show();
    HWND window() const { return window_; }
    HWND box_window(OverlayBox box) const { return box_of(box).window; }

    // Display: each changed rectangle goes from the DIB section to the window with BitBlt.
    void present(const Surface& shown, int x, int y, int width, int height) override;
    void set_repaint_picture(const Surface& picture) override { repaint_picture_ = &picture; }

    // OverlayView: geometry in twips.
    void set_text(OverlayBox box, std::string_view text) override;
    void place(OverlayBox box, float left, float top, float width, float height) override;
    void move(OverlayBox box, float left, float top) override;
    void set_visible(OverlayBox box, bool visible) override;

    // FullScreenWindow
    void set_mouse_position(int x, int y) override;
    void make_topmost(int left, int top, int width, int height) override;
    void redraw() override;
    void show_password_prompt() override;
    void close_password_prompt() override;
    void destroy() override;

    PasswordPrompt& prompt() { return prompt_; }

private:
    static LRESULT CALLBACK scene_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK box_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK cover_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void paint();
    void paint_box(TextBox& box);
    bool create_box(TextBox& box, std::uint32_t background, std::uint32_t text, const char* font, float points,
                    bool bold);
    TextBox& box_of(OverlayBox box) { return box == OverlayBox::caption ? caption_ : clock_; }
    const TextBox& box_of(OverlayBox box) const { return box == OverlayBox::caption ? caption_ : clock_; }
    int to_pixels_x(float twips) const;
    int to_pixels_y(float twips) const;
    void destroy_covers();

    Win32System& system_;
    HINSTANCE instance_;
    App* app_ = nullptr;
    HWND window_ = nullptr;
    HDC window_dc_ = nullptr;
    DibCanvas canvas_;
    const Surface* repaint_picture_ = nullptr;
    TextBox caption_;
    TextBox clock_;
    std::vector<HWND> covers_;
    PasswordPrompt prompt_;
};

}  // namespace kolvane::win32
