// The scene window: full-screen popup, DIB-section copies with BitBlt, repaints, input and the two boxes.
#include "platform/win32/scene_view.h"

#include <algorithm>
#include <cstring>

#include "app/app.h"
#include "app/main_dispatch.h"
#include "scene/render/overlays.h"
#include "scene/render/surface.h"
#include "scene/scene_window.h"
#include "startup/numeric.h"

namespace kolvane::win32 {

namespace {

constexpr const char* scene_class = "KolvaneScene";
constexpr const char* box_class = "KolvaneTextBox";
constexpr const char* cover_class = "KolvaneCover";

COLORREF to_colorref(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFFu, (rgb >> 8) & 0xFFu, rgb & 0xFFu);
}

BOOL CALLBACK add_monitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

void register_classes(HINSTANCE instance, WNDPROC scene, WNDPROC box, WNDPROC cover) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    if (!GetClassInfoExA(instance, scene_class, &wc)) {
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = scene;
        wc.lpszClassName = scene_class;
        wc.hbrBackground = nullptr;
        RegisterClassExA(&wc);
    }
    if (!GetClassInfoExA(instance, box_class, &wc)) {
        wc.style = 0;
        wc.lpfnWndProc = box;
        wc.lpszClassName = box_class;
        wc.hbrBackground = nullptr;
        RegisterClassExA(&wc);
    }
    if (!GetClassInfoExA(instance, cover_class, &wc)) {
        wc.style = 0;
        wc.lpfnWndProc = cover;
        wc.lpszClassName = cover_class;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        RegisterClassExA(&wc);
    }
}

int font_height(float points) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return -static_cast<int>(round_half_even(static_cast<double>(points) * dpi / 72.0));
}

}  // namespace

std::vector<RECT> monitor_rects() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::vector<RECT> other_monitor_rects(const std::vector<RECT>& monitors) {
    std::vector<RECT> others;
    for (const RECT& r : monitors) {
        const bool primary = r.left <= 0 && 0 < r.right && r.top <= 0 && 0 < r.bottom;
        if (!primary && r.right > r.left && r.bottom > r.top) others.push_back(r);
    }
    return others;
}

// DibCanvas

DibCanvas::~DibCanvas() {
    if (dc_) {
        SelectObject(dc_, old_bitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
}

bool DibCanvas::create(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the engine's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) return false;
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) return false;
    old_bitmap_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

RECT DibCanvas::put(const std::uint32_t* pixels, int pixels_width, int pixels_height, int x, int y, int width,
                    int height) {
    const int left = std::max({x, 0});
    const int top = std::max({y, 0});
    const int right = std::min({x + width, pixels_width, width_});
    const int bottom = std::min({y + height, pixels_height, height_});
    if (!bits_ || !pixels || right <= left || bottom <= top) return RECT{0, 0, 0, 0};
    GdiFlush();  // GDI must be done with the bits before they change
    const std::size_t bytes = static_cast<std::size_t>(right - left) * sizeof(std::uint32_t);
    for (int row = top; row < bottom; ++row)
        std::memcpy(this->row(row) + left,
                    pixels + static_cast<std::size_t>(row) * static_cast<std::size_t>(pixels_width) +
                        static_cast<std::size_t>(left),
                    bytes);
    return RECT{left, top, right, bottom};
}

// SceneView

SceneView::SceneView(Win32System& system, HINSTANCE instance)
    : system_(system), instance_(instance), prompt_(system, instance) {}

SceneView::~SceneView() {
    destroy();
    for (TextBox* box : {&caption_, &clock_}) {
        if (box->font) DeleteObject(box->font);
        if (box->background) DeleteObject(box->background);
    }
}

bool SceneView::create_box(TextBox& box, std::uint32_t background, std::uint32_t text, const char* font,
                           float points, bool bold) {
    box.background = CreateSolidBrush(to_colorref(background));
    box.text_colour = to_colorref(text);
    box.font = CreateFontA(font_height(points), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, font);
    box.window = CreateWindowExA(0, box_class, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, window_, nullptr,
                                 instance_, this);
    if (box.window) SetWindowLongPtrA(box.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
    return box.window != nullptr;
}

bool SceneView::create(App& app) {
    app_ = &app;
    register_classes(instance_, scene_proc, box_proc, cover_proc);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (!canvas_.create(width, height)) return false;
    window_ = CreateWindowExA(0, scene_class, scene_window_title, WS_POPUP | WS_CLIPCHILDREN, 0, 0, width, height,
                              nullptr, nullptr, instance_, this);
    if (!window_) return false;
    window_dc_ = GetDC(window_);  // the class's own device context, kept for the window's life
    return create_box(caption_, caption_style.background, caption_style.text, caption_style.font,
                      caption_style.points, caption_style.bold) &&
           create_box(clock_, clock_style.background, clock_style.text, clock_style.font, clock_style.points,
                      clock_style.bold);
}

void SceneView::show() {
    if (!window_) return;
    for (const RECT& r : other_monitor_rects(monitor_rects())) {
        HWND cover = CreateWindowExA(WS_EX_TOOLWINDOW, cover_class, "", WS_POPUP, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, nullptr, nullptr, instance_, this);
        if (!cover) continue;
        SetWindowLongPtrA(cover, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(cover, SW_SHOWNOACTIVATE);
        covers_.push_back(cover);
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(window_);
}

void SceneView::destroy_covers() {
    for (HWND cover : covers_) DestroyWindow(cover);
    covers_.clear();
}

void SceneView::destroy() {
    prompt_.close();
    destroy_covers();
    if (window_) {
        HWND window = window_;
        window_ = nullptr;
        window_dc_ = nullptr;
        caption_.window = nullptr;
        clock_.window = nullptr;
        DestroyWindow(window);
    }
}

void SceneView::present(const Surface& shown, int x, int y, int width, int height) {
    if (!window_dc_) return;
    const RECT r = canvas_.put(shown.data(), shown.width(), shown.height(), x, y, width, height);
    if (r.right <= r.left) return;
    BitBlt(window_dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas_.dc(), r.left, r.top, SRCCOPY);
}

void SceneView::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    const RECT& area = ps.rcPaint;
    const Surface* picture = repaint_picture_;
    RECT r{0, 0, 0, 0};
    if (picture && !picture->empty())
        r = canvas_.put(picture->data(), picture->width(), picture->height(), area.left, area.top,
                        area.right - area.left, area.bottom - area.top);
    if (r.right > r.left)
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas_.dc(), r.left, r.top, SRCCOPY);
    // Whatever the picture does not cover stays black.
    HRGN rest = CreateRectRgnIndirect(&area);
    HRGN drawn = CreateRectRgnIndirect(&r);
    CombineRgn(rest, rest, drawn, RGN_DIFF);
    FillRgn(dc, rest, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(drawn);
    DeleteObject(rest);
    EndPaint(window_, &ps);
}

void SceneView::paint_box(TextBox& box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box.window, &ps);
    RECT client{};
    GetClientRect(box.window, &client);
    FillRect(dc, &client, box.background);
    HGDIOBJ old_font = SelectObject(dc, box.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, box.text_colour);
    DrawTextA(dc, box.text.c_str(), static_cast<int>(box.text.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old_font);
    EndPaint(box.window, &ps);
}

int SceneView::to_pixels_x(float twips) const {
    return static_cast<int>(round_half_even(static_cast<double>(twips) / system_.twips_per_pixel_x()));
}

int SceneView::to_pixels_y(float twips) const {
    return static_cast<int>(round_half_even(static_cast<double>(twips) / system_.twips_per_pixel_y()));
}

void SceneView::set_text(OverlayBox which, std::string_view text) {
    TextBox& box = box_of(which);
    if (box.text == text) return;
    box.text.assign(text);
    if (box.window) InvalidateRect(box.window, nullptr, FALSE);
}

void SceneView::place(OverlayBox which, float left, float top, float width, float height) {
    TextBox& box = box_of(which);
    const RECT r{to_pixels_x(left), to_pixels_y(top), to_pixels_x(left) + to_pixels_x(width),
                 to_pixels_y(top) + to_pixels_y(height)};
    if (EqualRect(&r, &box.place)) return;
    box.place = r;
    if (box.window)
        SetWindowPos(box.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void SceneView::move(OverlayBox which, float left, float top) {
    TextBox& box = box_of(which);
    const int x = to_pixels_x(left);
    const int y = to_pixels_y(top);
    if (x == box.place.left && y == box.place.top) return;
    OffsetRect(&box.place, x - box.place.left, y - box.place.top);
    if (box.window) SetWindowPos(box.window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SceneView::set_visible(OverlayBox which, bool visible) {
    TextBox& box = box_of(which);
    if (box.visible == visible) return;
    box.visible = visible;
    if (box.window) ShowWindow(box.window, visible ? SW_SHOWNA : SW_HIDE);
}

void SceneView::set_mouse_position(int x, int y) {
    POINT p{x, y};
    if (window_) ClientToScreen(window_, &p);
    SetCursorPos(p.x, p.y);
}

void SceneView::make_topmost(int left, int top, int width, int height) {
    if (!window_) return;
    SetWindowPos(window_, HWND_TOPMOST, left, top, width, height, 0);
    for (HWND cover : covers_)
        SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SceneView::redraw() {
    if (window_) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void SceneView::show_password_prompt() {
    if (app_) prompt_.show(*app_);
}

void SceneView::close_password_prompt() {
    prompt_.close();
    // The scene takes the keys again.
    if (window_) SetForegroundWindow(window_);
}

LRESULT CALLBACK SceneView::scene_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SceneView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || self->window_ != window || !self->app_) return DefWindowProcA(window, message, wparam, lparam);
    return self->handle(message, wparam, lparam);
}

LRESULT SceneView::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    App& app = *app_;
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_MOUSEMOVE:
            ascreen_MouseMove(app.scene);
            return 0;
        case WM_CHAR:
            do_keypress(app.scene);
            return 0;
        case WM_MOUSEACTIVATE:
            // A click on the scene must not raise it over the password prompt.
            if (prompt_.window()) return MA_NOACTIVATE;
            break;
        case WM_SYSCOMMAND:
            switch (wparam & 0xFFF0u) {
                case SC_CLOSE:
                    // Alt+F4 is a key press like any other: with a password it brings up the prompt.
                    do_keypress(app.scene);
                    return 0;
                case SC_SCREENSAVE:
                case SC_MONITORPOWER:
                    return 0;
                default:
                    break;
            }
            break;
        case WM_CLOSE:
            // Another program closes the window: with a password that is asked for first, else the
            // loop stops in order.
            scene_close_request(app.scene);
            return 0;
        case WM_QUERYENDSESSION:
            scene_end_request(app.scene);
            return TRUE;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT CALLBACK SceneView::box_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        SetPropA(window, "KolvaneView", create->lpCreateParams);
    }
    auto* self = static_cast<SceneView*>(GetPropA(window, "KolvaneView"));
    auto* box = reinterpret_cast<TextBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // the pointer over a box still moves over the scene
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (self && box) {
                self->paint_box(*box);
                return 0;
            }
            break;
        case WM_NCDESTROY:
            RemovePropA(window, "KolvaneView");
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK SceneView::cover_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<SceneView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && self->app_) {
        if (message == WM_MOUSEMOVE) {
            ascreen_MouseMove(self->app_->scene);
            return 0;
        }
        if (message == WM_CHAR) {
            do_keypress(self->app_->scene);
            return 0;
        }
        if (message == WM_CLOSE) return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace kolvane::win32
