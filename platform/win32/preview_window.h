// frm_preview on Windows: the picture box put into the display settings' preview area.
#pragma once
#include <windows.h>

#include <optional>

#include "platform/win32/scene_view.h"
#include "ports/preview_view.h"
#include "preview/preview.h"
#include "scene/render/bmp.h"

namespace kolvane::win32 {

class PreviewWindow : public PreviewView {
public:
    // The form and its picture box (Picture1) are created hidden; twips per pixel as Main recorded them.
    PreviewWindow(HINSTANCE instance, const Image& picture, int twips_per_pixel_x, int twips_per_pixel_y);
    ~PreviewWindow() override;
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    // The message hook: Picture1 is subclassed and reports WM_CLOSE to the preview's logic.
    void hook(PreviewState& state);

    HostRect host_client_rect(unsigned long host) override;
    void size_picture_twips(float width, float height) override;
    void attach_to_host(unsigned long host) override;
    void detach_from_host() override;
    bool host_exists(unsigned long host) override;
    void unload() override;

    HWND form() const { return form_; }
    HWND picture_box() const { return picture_; }

private:
    static LRESULT CALLBACK picture_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK hook_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK form_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HINSTANCE instance_;
    DibCanvas canvas_;
    int twips_x_;
    int twips_y_;
    HWND form_ = nullptr;
    HWND picture_ = nullptr;
    WNDPROC original_proc_ = nullptr;
    PreviewState* state_ = nullptr;
};

}  // namespace kolvane::win32
