// The preview's form and picture box, the picture box's hook and its place in the host window.
#include "platform/win32/preview_window.h"

#include "startup/numeric.h"

namespace kolvane::win32 {

namespace {

constexpr const char* form_class = "KolvanePreviewForm";
constexpr const char* picture_class = "KolvanePicture";

HWND as_window(unsigned long host) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(host)); }

int twips_to_pixels(float twips, int twips_per_pixel) {
    return static_cast<int>(round_half_even(static_cast<double>(twips) / (twips_per_pixel > 0 ? twips_per_pixel : 15)));
}

}  // namespace

PreviewWindow::PreviewWindow(HINSTANCE instance, const Image& picture, int twips_per_pixel_x, int twips_per_pixel_y)
    : instance_(instance), twips_x_(twips_per_pixel_x), twips_y_(twips_per_pixel_y) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, form_class, &wc)) {
        wc.lpfnWndProc = form_proc;
        wc.hInstance = instance;
        wc.lpszClassName = form_class;
        RegisterClassExA(&wc);
    }
    if (!GetClassInfoExA(instance, picture_class, &wc)) {
        wc.lpfnWndProc = picture_proc;
        wc.hInstance = instance;
        wc.lpszClassName = picture_class;
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        RegisterClassExA(&wc);
    }
    if (!picture.empty() && canvas_.create(picture.width, picture.height))
        canvas_.put(picture.pixels.data(), picture.width, picture.height, 0, 0, picture.width, picture.height);
    // The form is loaded but never shown.
    form_ = CreateWindowExA(WS_EX_TOOLWINDOW, form_class, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    picture_ = CreateWindowExA(0, picture_class, "", WS_CHILD | WS_VISIBLE, 0, 0, picture.width, picture.height,
                               form_, nullptr, instance, nullptr);
    if (picture_) SetWindowLongPtrA(picture_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PreviewWindow::~PreviewWindow() { unload(); }

void PreviewWindow::hook(PreviewState& state) {
    state_ = &state;
    if (picture_ && !original_proc_)
        original_proc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(picture_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook_proc)));
}

LRESULT CALLBACK PreviewWindow::hook_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || !self->original_proc_) return DefWindowProcA(window, message, wparam, lparam);
    const WNDPROC original = self->original_proc_;
    if (self->state_) preview_message(*self, *self->state_, message);
    // The hook reports; the message goes on to the picture box unchanged.
    return CallWindowProcA(original, window, message, wparam, lparam);
}

LRESULT CALLBACK PreviewWindow::picture_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            RECT client{};
            GetClientRect(window, &client);
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            if (self && self->canvas_.dc())
                BitBlt(dc, 0, 0, self->canvas_.width(), self->canvas_.height(), self->canvas_.dc(), 0, 0, SRCCOPY);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_CLOSE:
            return 0;  // a picture box does not close itself
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

LRESULT CALLBACK PreviewWindow::form_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

HostRect PreviewWindow::host_client_rect(unsigned long host) {
    RECT r{};
    HWND window = as_window(host);
    if (host == 0 || !IsWindow(window) || !GetClientRect(window, &r)) return HostRect{};
    return HostRect{r.left, r.top, r.right, r.bottom};
}

void PreviewWindow::size_picture_twips(float width, float height) {
    if (!picture_) return;
    SetWindowPos(picture_, nullptr, 0, 0, twips_to_pixels(width, twips_x_), twips_to_pixels(height, twips_y_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewWindow::attach_to_host(unsigned long host) {
    if (!picture_ || host == 0) return;
    SetParent(picture_, as_window(host));
    InvalidateRect(picture_, nullptr, FALSE);
}

void PreviewWindow::detach_from_host() {
    if (picture_) SetParent(picture_, form_);
}

bool PreviewWindow::host_exists(unsigned long host) { return host != 0 && IsWindow(as_window(host)); }

void PreviewWindow::unload() {
    if (picture_) {
        HWND picture = picture_;
        picture_ = nullptr;
        SetWindowLongPtrA(picture, GWLP_USERDATA, 0);
        DestroyWindow(picture);
    }
    if (form_) {
        HWND form = form_;
        form_ = nullptr;
        DestroyWindow(form);
    }
}

}  // namespace kolvane::win32
