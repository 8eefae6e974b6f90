// The Windows scene window, password dialogs, preview window and embedded pictures, in-process under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_dispatch.h"
#include "password/password_codec.h"
#include "platform/headless/headless_platform.h"
#include "platform/win32/password_dialogs.h"
#include "platform/win32/preview_window.h"
#include "platform/win32/resource.h"
#include "platform/win32/resource_pictures.h"
#include "platform/win32/scene_view.h"
#include "platform/win32/win32_platform.h"
#include "preview/preview.h"
#include "scene/render/overlays.h"
#include "scene/render/picture_codec.h"
#include "scene/render/surface.h"

namespace kolvane::win32 {
namespace {

// An App on the real Windows services with its settings in memory.
struct WinApp {
    Win32System system;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    std::unique_ptr<App> app = std::make_unique<App>(Platform{system, store, registry});
};

void pump() {
    for (int i = 0; i < 5; ++i) deliver_pending_messages();
}

std::uint32_t pixel_of(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}

std::string window_text(HWND window) {
    char buffer[256] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// Each larger picture the build found is embedded as stored (PNG sheets, JPEG backgrounds) at its size.
TEST(ResourcePictures, TheLargerPicturesAreEmbeddedCompressed) {
    ResourcePictures pictures;
    std::string list = KOLVANE_LARGER_PICTURES;
    int checked = 0;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        start = comma + 1;
        const auto bytes = pictures.encoded(name);
        const auto size = picture_size(bytes);
        ASSERT_TRUE(size.has_value()) << name;
        const bool sheet = name.find("-2x") != std::string::npos || name.find("-3x") != std::string::npos;
        const int scale = name.find("-3x") != std::string::npos ? 3 : 2;
        EXPECT_EQ(picture_format(bytes), sheet ? PictureFormat::png : PictureFormat::jpeg) << name;
        EXPECT_EQ(size->width, sheet ? 720 * scale : 1920) << name;
        EXPECT_EQ(size->height, sheet ? 606 * scale : 1080) << name;
        ++checked;
    }
    EXPECT_TRUE(pictures.encoded("large-bg10").empty());
    std::printf("%d larger pictures embedded\n", checked);
}

TEST(ResourcePictures, EveryPictureIsEmbeddedWithItsSize) {
    ResourcePictures pictures;
    for (int i = 0; i < 10; ++i) {
        const auto bg = pictures.picture("bg" + std::to_string(i));
        ASSERT_TRUE(bg.has_value()) << "bg" << i;
        EXPECT_EQ(bg->width, 640);
        EXPECT_EQ(bg->height, 480);
    }
    for (const char* sheet : {"sprite", "mask"}) {
        const auto p = pictures.picture(sheet);
        ASSERT_TRUE(p.has_value()) << sheet;
        EXPECT_EQ(p->width, 720);
        EXPECT_EQ(p->height, 606);
    }
    const auto preview = pictures.picture("preview");
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ(preview->width, 150);
    EXPECT_EQ(preview->height, 112);
    const auto title = pictures.picture("title");
    ASSERT_TRUE(title.has_value());
    EXPECT_EQ(title->width, 320);
    EXPECT_EQ(title->height, 240);
    EXPECT_FALSE(pictures.picture("no such picture").has_value());
}

TEST(Manifest, TheProcessIsAwareOfEachMonitorsDpi) {
    // The manifest's declaration: the scene covers physical pixels on every monitor.
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
}

TEST(MonitorCovers, EveryMonitorButThePrimaryIsCovered) {
    const RECT primary{0, 0, 1920, 1080};
    const RECT right{1920, 0, 3200, 1024};
    const RECT left{-1280, 100, 0, 1124};
    EXPECT_TRUE(other_monitor_rects({primary}).empty());
    const auto others = other_monitor_rects({left, primary, right});
    ASSERT_EQ(others.size(), 2u);
    EXPECT_EQ(others[0].left, -1280);
    EXPECT_EQ(others[1].left, 1920);
    // The test display has one monitor: nothing to cover.
    EXPECT_TRUE(other_monitor_rects(monitor_rects()).empty());
}

TEST(DibCanvas, CopiesOnlyTheClippedRectangle) {
    DibCanvas canvas;
    ASSERT_TRUE(canvas.create(8, 6));
    const std::uint32_t pixels[4 * 3] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const RECT r = canvas.put(pixels, 4, 3, -1, 1, 3, 5);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.right, 2);
    EXPECT_EQ(r.bottom, 3);
    EXPECT_EQ(canvas.row(1)[0], 5u);
    EXPECT_EQ(canvas.row(1)[1], 6u);
    EXPECT_EQ(canvas.row(2)[1], 10u);
    EXPECT_EQ(canvas.row(1)[2], 0u);  // outside the copied rectangle
    EXPECT_EQ(canvas.row(0)[0], 0u);
    const RECT none = canvas.put(pixels, 4, 3, 10, 10, 2, 2);
    EXPECT_EQ(none.right - none.left, 0);
}

class SceneViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.create(*w.app));
        w.app->platform.display = &view;
        w.app->platform.overlays = &view;
        w.app->platform.scene_window = &view;
        w.app->scene.run.saver_running = true;
        w.app->scene.run.unload_locked = 1;
        view.show();
        pump();
    }
    void TearDown() override { view.destroy(); }

    WinApp w;
    SceneView view{w.system, GetModuleHandleA(nullptr)};
};

TEST_F(SceneViewTest, FullScreenWindowThatASecondStartFinds) {
    EXPECT_EQ(FindWindowA(nullptr, scene_window_title), view.window());
    RECT r{};
    GetWindowRect(view.window(), &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetWindowLongPtrA(view.window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    view.make_topmost(0, 0, r.right - r.left, r.bottom - r.top);
    EXPECT_NE(GetWindowLongPtrA(view.window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(GetWindowLongPtrA(view.window(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
}

TEST_F(SceneViewTest, PresentedRectanglesReachTheWindowAndRepaintsUseThePersistentPicture) {
    Surface shown(64, 48, 0x102030u);
    for (int y = 10; y < 20; ++y)
        for (int x = 5; x < 25; ++x) shown.at(x, y) = 0xC08040u;
    view.present(shown, 5, 10, 20, 10);
    pump();
    EXPECT_EQ(pixel_of(view.window(), 5, 10), 0xC08040u);
    EXPECT_EQ(pixel_of(view.window(), 24, 19), 0xC08040u);
    // Only the presented rectangle changed.
    EXPECT_NE(pixel_of(view.window(), 30, 30), 0x102030u);

    Surface persistent(64, 48, 0x00FF00u);
    view.set_repaint_picture(persistent);
    RECT area{0, 0, 40, 40};
    InvalidateRect(view.window(), &area, FALSE);
    UpdateWindow(view.window());
    EXPECT_EQ(pixel_of(view.window(), 10, 15), 0x00FF00u);
    EXPECT_EQ(pixel_of(view.window(), 39, 39), 0x00FF00u);
    // Beyond the picture a repaint gives black.
    RECT beyond{100, 100, 120, 120};
    InvalidateRect(view.window(), &beyond, FALSE);
    UpdateWindow(view.window());
    EXPECT_EQ(pixel_of(view.window(), 110, 110), 0x000000u);
}

TEST_F(SceneViewTest, BoxesAreChildWindowsAtTheirTwipsGeometry) {
    const double tx = w.system.twips_per_pixel_x();
    const double ty = w.system.twips_per_pixel_y();
    HWND caption = view.box_window(OverlayBox::caption);
    HWND clock = view.box_window(OverlayBox::clock);
    ASSERT_TRUE(caption && clock);
    EXPECT_EQ(GetParent(caption), view.window());
    EXPECT_FALSE(IsWindowVisible(caption));

    view.place(OverlayBox::caption, 0.0f, static_cast<float>(100 * ty), static_cast<float>(640 * tx), 420.0f);
    view.set_text(OverlayBox::caption, "A caption");
    view.set_visible(OverlayBox::caption, true);
    pump();
    EXPECT_TRUE(IsWindowVisible(caption));
    EXPECT_EQ(window_text(caption), "");  // the text is drawn, not a window title
    RECT r{};
    GetWindowRect(caption, &r);
    MapWindowPoints(nullptr, view.window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right, 640);
    EXPECT_EQ(r.bottom - r.top, static_cast<int>(420.0 / ty + 0.5));
    view.move(OverlayBox::caption, 0.0f, static_cast<float>(90 * ty));
    GetWindowRect(caption, &r);
    MapWindowPoints(nullptr, view.window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 90);

    // The copies to the scene never paint over a box: its own colour stays.
    EXPECT_EQ(pixel_of(caption, 3, 3), caption_style.background);
    Surface shown(1024, 400, 0xFF00FFu);
    view.present(shown, 0, 0, 1024, 400);
    pump();
    EXPECT_EQ(pixel_of(caption, 3, 3), caption_style.background);

    view.place(OverlayBox::clock, static_cast<float>(800 * tx), 0.0f, clock_box_width, clock_box_height);
    view.set_text(OverlayBox::clock, "12:00:00 PM");
    view.set_visible(OverlayBox::clock, true);
    pump();
    GetClientRect(clock, &r);
    EXPECT_EQ(r.right, static_cast<int>(clock_box_width / tx + 0.5));
    EXPECT_EQ(r.bottom, static_cast<int>(clock_box_height / ty + 0.5));
    EXPECT_EQ(pixel_of(clock, 0, 0), clock_style.background);
    view.set_visible(OverlayBox::clock, false);
    EXPECT_FALSE(IsWindowVisible(clock));
}

TEST_F(SceneViewTest, InputIsCountedAndAnOutsideCloseBecomesAnOrderlyStop) {
    App& app = *w.app;
    app.scene.run.input_count = 0;
    SendMessageA(view.window(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageA(view.window(), WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
    EXPECT_EQ(app.scene.run.input_count, 2);
    SendMessageA(view.window(), WM_CHAR, 'x', 0);
    EXPECT_EQ(app.scene.run.input_count, app.scene.run.input_limit + 1);
    app.scene.run.input_count = 0;
    SendMessageA(view.window(), WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
    EXPECT_EQ(app.scene.run.input_count, app.scene.run.input_limit + 1);
    EXPECT_TRUE(IsWindow(view.window()));

    SendMessageA(view.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(view.window()));       // refused
    EXPECT_FALSE(app.scene.run.saver_running);  // and the loop will stop at its next step
}

TEST_F(SceneViewTest, PasswordPromptIsTopMostChecksWithoutCaseAndCancelLeavesTheSceneRunning) {
    App& app = *w.app;
    app.settings.plain_password = "ABC";
    view.make_topmost(0, 0, 200, 200);
    app.scene.run.password_prompt_up = 1;
    view.show_password_prompt();
    HWND prompt = FindWindowA(nullptr, "Screen Saver Password");
    ASSERT_EQ(prompt, view.prompt().window());
    EXPECT_NE(GetWindowLongPtrA(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(window_text(GetDlgItem(prompt, IDC_CHECK_LABEL1)), "Type your screen saver password:");
    EXPECT_EQ(window_text(GetDlgItem(prompt, IDC_CHECK_COMMAND1)), "Ok");
    EXPECT_EQ(window_text(GetDlgItem(prompt, IDC_CHECK_COMMAND2)), "Cancel");
    EXPECT_EQ(SendDlgItemMessageA(prompt, IDC_CHECK_TEXT1, EM_GETPASSWORDCHAR, 0, 0), '*');
    HWND text = GetDlgItem(prompt, IDC_CHECK_TEXT1);
    EXPECT_EQ(GetNextDlgTabItem(prompt, text, FALSE), GetDlgItem(prompt, IDC_CHECK_COMMAND1));
    EXPECT_EQ(GetNextDlgTabItem(prompt, GetDlgItem(prompt, IDC_CHECK_COMMAND1), FALSE),
              GetDlgItem(prompt, IDC_CHECK_COMMAND2));
    EXPECT_EQ(GetNextDlgTabItem(prompt, GetDlgItem(prompt, IDC_CHECK_COMMAND2), FALSE), text);

    // A click on the scene leaves the prompt above it.
    EXPECT_EQ(SendMessageA(view.window(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(view.window()),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);

    // Escape does nothing; Cancel closes the prompt and the scene goes on.
    SendMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(prompt));
    SendMessageA(prompt, WM_COMMAND, MAKEWPARAM(IDC_CHECK_COMMAND2, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(prompt));
    EXPECT_EQ(app.scene.run.password_prompt_up, 0);
    EXPECT_EQ(app.scene.run.exit_requested, 0);
    EXPECT_EQ(app.scene.run.repaint_request, 1);

    // Enter in the box with the password in other letter case ends the scene.
    app.scene.run.password_prompt_up = 1;
    view.show_password_prompt();
    prompt = view.prompt().window();
    ASSERT_TRUE(prompt);
    SetDlgItemTextA(prompt, IDC_CHECK_TEXT1, "aBc");
    SetFocus(GetDlgItem(prompt, IDC_CHECK_TEXT1));
    SendMessageA(prompt, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(prompt));
    EXPECT_EQ(app.scene.run.exit_requested, 1);
    EXPECT_EQ(app.scene.run.password_prompt_up, 0);
}

TEST(NewPasswordDialog, TextsTabOrderAndTheStoreOfTheUnshiftedForm) {
    WinApp w;
    w.app->settings.plain_password = "OLD";
    Win32KeyboardLayout layout;
    HWND dialog = create_new_password_dialog(*w.app, layout, GetModuleHandleA(nullptr));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(window_text(dialog), "Change  Password");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDC_NEW_LABEL1)), "Change password for Kolvane");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDC_NEW_LABEL2)), "New Password:");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDC_NEW_LABEL3)), "Confirm new password:");
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_NEW_PASSWORD2, EM_GETPASSWORDCHAR, 0, 0), '*');
    const int order[] = {IDC_NEW_PASSWORD, IDC_NEW_PASSWORD2, IDC_NEW_OK, IDC_NEW_CANCEL};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, order[i]), FALSE), GetDlgItem(dialog, order[(i + 1) % 4]));

    // Enter and Escape do nothing.
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(w.store.has("misc"));

    SetDlgItemTextA(dialog, IDC_NEW_PASSWORD, "abc");
    SetDlgItemTextA(dialog, IDC_NEW_PASSWORD2, "ABC");
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NEW_OK, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(w.app->settings.plain_password, "ABC");
    EXPECT_EQ(w.store.value("misc"), encode_password_text("ABC"));
}

TEST(NewPasswordDialog, CancelLeavesThePasswordAlone) {
    WinApp w;
    w.app->settings.plain_password = "OLD";
    Win32KeyboardLayout layout;
    HWND dialog = create_new_password_dialog(*w.app, layout, GetModuleHandleA(nullptr));
    ASSERT_TRUE(dialog);
    SetDlgItemTextA(dialog, IDC_NEW_PASSWORD, "new");
    SetDlgItemTextA(dialog, IDC_NEW_PASSWORD2, "new");
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NEW_CANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(w.app->settings.plain_password, "OLD");
    EXPECT_FALSE(w.store.has("misc"));
}

// A box read wide: what the Western code page lacks is listed, never taken for the "?" a narrow read gives
// (on a Russian layout every Cyrillic letter was "?", which Shift+7 types, so any word was kept as "777777").
TEST(NewPasswordDialog, CharactersTheWesternCodePageLacksAreListedNotReadAsQuestionMarks) {
    struct Row {
        const wchar_t* typed;
        std::string text;
        std::vector<std::size_t> lost;
    };
    const std::vector<Row> rows = {
        {L"\x043F\x0430\x0440\x043E\x043B\x044C", "??????", {0, 1, 2, 3, 4, 5}},
        {L"caf\x00E9\x20AC?", "caf\xE9\x80?", {}},
        {L"\x0142", "?", {0}},  // the code page would only approximate it as "l"
        {L"a\xD83D\xDE00" L"b", "a?b", {1}},  // beyond the basic plane: one character
    };
    for (const Row& row : rows) {
        const TypedPassword typed = western_password(row.typed);
        EXPECT_EQ(typed.text, row.text);
        EXPECT_EQ(typed.unconvertible, row.lost) << row.text;
    }
    WinApp w;
    Win32KeyboardLayout layout;
    HWND dialog = create_new_password_dialog(*w.app, layout, GetModuleHandleA(nullptr));
    ASSERT_TRUE(dialog);
    SetDlgItemTextW(dialog, IDC_NEW_PASSWORD, rows[0].typed);
    EXPECT_EQ(password_text(dialog, IDC_NEW_PASSWORD).unconvertible.size(), 6u);
    DestroyWindow(dialog);
}

TEST(KeyboardLayout, LettersComeOutUpperCaseOnTheActiveLayout) {
    Win32KeyboardLayout layout;
    const std::int16_t scan = layout.vk_key_scan('a');
    ASSERT_NE(scan, -1);
    EXPECT_EQ(layout.map_virtual_key(static_cast<std::uint32_t>(scan % 256), 2), static_cast<std::uint32_t>('A'));
}

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KolvaneTestHost";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassExA(&wc);
        host = CreateWindowExA(0, "KolvaneTestHost", "host", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                               nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(host);
        w.app->startup.host_window = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(host));
        w.app->startup.twips_per_pixel_x = 15;
        w.app->startup.twips_per_pixel_y = 15;
        picture = *ResourcePictures().picture("preview");
    }
    void TearDown() override {
        if (IsWindow(host)) DestroyWindow(host);
    }

    WinApp w;
    HWND host = nullptr;
    Image picture;
};

TEST_F(PreviewWindowTest, ThePictureSitsUnscaledAtTheTopLeftOfTheHostsClientArea) {
    PreviewWindow view(GetModuleHandleA(nullptr), picture, 15, 15);
    PreviewState state;
    view.hook(state);
    preview_form_load(w.app->startup, view, state);
    pump();
    EXPECT_TRUE(state.preview_attached);
    EXPECT_EQ(GetParent(view.picture_box()), host);
    EXPECT_FALSE(IsWindowVisible(view.form()));
    RECT r{};
    GetClientRect(view.picture_box(), &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);
    UpdateWindow(view.picture_box());
    for (const POINT p : {POINT{0, 0}, POINT{75, 56}, POINT{149, 111}})
        EXPECT_EQ(pixel_of(view.picture_box(), p.x, p.y), picture.at(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(pixel_of(view.picture_box(), 200, 150), 0x000000u);
}

TEST_F(PreviewWindowTest, ACloseRequestTakesThePictureBackAndTheNextTickUnloads) {
    PreviewWindow view(GetModuleHandleA(nullptr), picture, 15, 15);
    PreviewState state;
    view.hook(state);
    preview_form_load(w.app->startup, view, state);
    HWND box = view.picture_box();
    SendMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_FALSE(state.preview_attached);
    EXPECT_EQ(GetParent(box), view.form());
    EXPECT_TRUE(IsWindow(box));
    preview_timer(w.app->startup, view, state);
    EXPECT_TRUE(state.unloaded);
    EXPECT_FALSE(IsWindow(box));
}

TEST_F(PreviewWindowTest, TheRunEndsWhenTheHostGoesAway) {
    PreviewWindow view(GetModuleHandleA(nullptr), picture, 15, 15);
    PreviewState state;
    view.hook(state);
    preview_form_load(w.app->startup, view, state);
    EXPECT_TRUE(view.host_exists(w.app->startup.host_window));
    DestroyWindow(host);
    EXPECT_FALSE(view.host_exists(w.app->startup.host_window));
    run_preview(w.system, w.app->startup, view, state);  // returns at its first 50-millisecond check
    EXPECT_TRUE(state.unloaded);
}

}  // namespace
}  // namespace kolvane::win32
