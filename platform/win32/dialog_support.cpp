// Dialog templates run modally or modeless, tool tips, owner-drawn picture buttons and list boxes as line lists.
#include "platform/win32/dialog_support.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/win32/resource_pictures.h"

namespace kolvane::win32 {

// DialogWindow

DialogWindow::~DialogWindow() {
    if (!dialog_ || modal_) return;
    // The subclass is gone by now: the window's last messages must not reach handle().
    SetWindowLongPtrA(dialog_, DWLP_USER, 0);
    DestroyWindow(dialog_);
}

INT_PTR DialogWindow::run_modal(HWND owner) {
    modal_ = true;
    return DialogBoxParamA(instance_, MAKEINTRESOURCEA(template_id_), owner, dialog_proc,
                           reinterpret_cast<LPARAM>(this));
}

HWND DialogWindow::create_modeless(HWND owner) {
    modal_ = false;
    return CreateDialogParamA(instance_, MAKEINTRESOURCEA(template_id_), owner, dialog_proc,
                              reinterpret_cast<LPARAM>(this));
}

void DialogWindow::end(INT_PTR result) {
    if (!dialog_) return;
    if (modal_) EndDialog(dialog_, result);
    else DestroyWindow(dialog_);
}

INT_PTR CALLBACK DialogWindow::dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lparam);
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        self->dialog_ = dialog;
        return self->on_init() ? TRUE : FALSE;
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self || self->dialog_ != dialog) return FALSE;
    const INT_PTR result = self->handle(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        self->dialog_ = nullptr;
    }
    return result;
}

// Tool tips

HWND add_tool_tips(HWND dialog, std::span<const ToolTip> tips) {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
    // No prefix handling: the texts are shown exactly as given, blanks and all.
    HWND window = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (!window) return nullptr;
    for (const ToolTip& tip : tips) {
        HWND control = GetDlgItem(dialog, tip.control_id);
        if (!control) continue;
        TTTOOLINFOA info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = dialog;
        info.uId = reinterpret_cast<UINT_PTR>(control);
        info.lpszText = const_cast<char*>(tip.text);
        SendMessageA(window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    return window;
}

std::optional<std::string> tool_tip_text(HWND tool_tips, HWND dialog, HWND control) {
    // Asked in UTF-16: the ANSI query cuts a tip at 80 characters.
    wchar_t buffer[512] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    if (!SendMessageW(tool_tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) return std::nullopt;
    info.lpszText = buffer;
    SendMessageW(tool_tips, TTM_GETTEXTW, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(&info));
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, buffer, -1, text, sizeof text, nullptr, nullptr);
    return std::string(text);
}

// Pictures

std::optional<Image> button_picture(std::string_view name) {
    ResourcePictures pictures;
    std::optional<Image> picture = pictures.picture(name);
    if (!picture) return std::nullopt;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t face_rgb = (static_cast<std::uint32_t>(GetRValue(face)) << 16) |
                                   (static_cast<std::uint32_t>(GetGValue(face)) << 8) | GetBValue(face);
    std::replace(picture->pixels.begin(), picture->pixels.end(), std::uint32_t{0xFF00FF}, face_rgb);
    return picture;
}

void draw_picture(HDC dc, const Image& picture, const RECT& target) {
    if (picture.empty()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top row first, as the picture keeps its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int old_mode = SetStretchBltMode(dc, HALFTONE);
    POINT old_origin{};
    SetBrushOrgEx(dc, 0, 0, &old_origin);
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                  picture.width, picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetBrushOrgEx(dc, old_origin.x, old_origin.y, nullptr);
    SetStretchBltMode(dc, old_mode);
}

int scaled_to_screen(int pixels) {
    // The screen's resolution, as the window geometry's twips use it; a window's own device context may
    // report the unscaled 96 here.
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi > 0 ? dpi : 96, 96);
}

void draw_picture_button(const DRAWITEMSTRUCT& item, const Image* picture) {
    HDC dc = item.hDC;
    RECT frame = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0u));

    RECT inside = frame;
    InflateRect(&inside, -4, -4);
    if (pushed) OffsetRect(&inside, 1, 1);

    const int length = GetWindowTextLengthA(item.hwndItem);
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(item.hwndItem, text.data(), length + 1);
    HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    UINT format = DT_CENTER | DT_WORDBREAK;
    if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    RECT text_rect = inside;
    DrawTextA(dc, text.data(), length, &text_rect, format | DT_CALCRECT);
    const LONG text_height = text_rect.bottom - text_rect.top;

    const int gap = scaled_to_screen(3);  // between the picture and the caption
    const LONG width = picture ? scaled_to_screen(picture->width) : 0;
    const LONG height = picture ? scaled_to_screen(picture->height) : 0;
    const LONG picture_height = picture ? height + gap : 0;
    const LONG top = inside.top + std::max(LONG{0}, ((inside.bottom - inside.top) - picture_height - text_height) / 2);
    if (picture) {
        const LONG left = inside.left + ((inside.right - inside.left) - width) / 2;
        draw_picture(dc, *picture, RECT{left, top, left + width, top + height});
    }
    text_rect = RECT{inside.left, top + picture_height, inside.right, top + picture_height + text_height};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextA(dc, text.data(), length, &text_rect, format);
    SelectObject(dc, old_font);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = frame;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

// ListBoxView

int ListBoxView::count() {
    const LRESULT n = SendMessageA(list_, LB_GETCOUNT, 0, 0);
    return n == LB_ERR ? 0 : static_cast<int>(n);
}

std::string ListBoxView::line(int index) {
    const LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return "";
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
}

bool ListBoxView::several_selectable() const {
    return (GetWindowLongPtrA(list_, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

bool ListBoxView::selected(int index) {
    if (several_selectable()) return SendMessageA(list_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    return index >= 0 && SendMessageA(list_, LB_GETCURSEL, 0, 0) == index;
}

int ListBoxView::current() {
    if (!several_selectable()) {
        const LRESULT index = SendMessageA(list_, LB_GETCURSEL, 0, 0);
        return index == LB_ERR ? -1 : static_cast<int>(index);
    }
    // A list of several selectable lines always has a caret; it names a line only while that line is selected.
    const LRESULT caret = SendMessageA(list_, LB_GETCARETINDEX, 0, 0);
    if (caret < 0 || caret >= count() || !selected(static_cast<int>(caret))) return -1;
    return static_cast<int>(caret);
}

namespace {

int text_width(HWND list, const std::string& text) {
    HDC dc = GetDC(list);
    HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old_font);
    ReleaseDC(list, dc);
    return size.cx + 6;  // the list box's own margin at each side
}

}  // namespace

void ListBoxView::add(const std::string& text) {
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // The extent is kept whether or not the box has its scroll bar now: the list box shows the bar as needed.
    const int width = text_width(list_, text);
    if (width > SendMessageA(list_, LB_GETHORIZONTALEXTENT, 0, 0))
        SendMessageA(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

void ListBoxView::remove(int index) {
    SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    update_extent();
}

void ListBoxView::clear() {
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    update_extent();
}

void ListBoxView::clear_selection() {
    if (several_selectable()) SendMessageA(list_, LB_SETSEL, FALSE, -1);
    else SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void ListBoxView::update_extent() {
    int widest = 0;
    const int n = count();
    for (int i = 0; i < n; ++i) widest = std::max(widest, text_width(list_, line(i)));
    SendMessageA(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);
}

}  // namespace kolvane::win32
