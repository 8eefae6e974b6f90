// The configuration window and its dialogs made from the resource script, in-process under Wine: texts, tab
// order, tips, layout, and what their controls do to the settings and the list files.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_platform.h"
#include "platform/win32/about_form.h"
#include "platform/win32/audio_files_form.h"
#include "platform/win32/captions_form.h"
#include "platform/win32/configuration_form.h"
#include "platform/win32/dialog_support.h"
#include "platform/win32/options_form.h"
#include "platform/win32/resource.h"
#include "platform/win32/resource_pictures.h"
#include "platform/win32/win32_platform.h"

namespace kolvane::win32 {
namespace {

namespace fs = std::filesystem;

// An App on the real Windows services with its settings in memory and its list files in a folder of its own.
struct ConfigApp {
    ConfigApp() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = fs::path(temp) / ("kolvane-config-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder / "windows");
        store.set("install_path", "C:\\Program Files\\Kolvane\\");
        app->settings.install_path = "C:\\Program Files\\Kolvane\\";
        app->startup.windows_dir = windows_dir();
        app->startup.start_folder = folder.string() + "\\";
    }
    ~ConfigApp() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    std::string windows_dir() const { return (folder / "windows").string() + "\\"; }
    std::string file(const std::string& name) const {
        std::ifstream in(folder / "windows" / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void write(const fs::path& path, const std::string& text) const {
        std::ofstream(path, std::ios::binary) << text;
    }

    fs::path folder;
    Win32System system;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    std::unique_ptr<App> app = std::make_unique<App>(Platform{system, store, registry});
    Win32KeyboardLayout layout;
};

HINSTANCE instance() { return GetModuleHandleA(nullptr); }

void pump(HWND dialog = nullptr) {
    for (int i = 0; i < 5; ++i) deliver_pending_messages(dialog);
}

std::string text_of(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string item_text(HWND dialog, int id) { return text_of(GetDlgItem(dialog, id)); }

// The control ids that Tab visits, starting at `first`, until it comes round to `first` again.
std::vector<int> tab_cycle(HWND dialog, int first) {
    std::vector<int> ids;
    HWND start = GetDlgItem(dialog, first);
    HWND at = start;
    do {
        ids.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dialog, at, FALSE);
    } while (at && at != start && ids.size() < 50);
    return ids;
}

// Every listed control lies inside the dialog's client area and overlaps none of the others.
void expect_laid_out(HWND dialog, const std::vector<int>& ids) {
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<RECT> places;
    for (const int id : ids) {
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_GE(r.left, client.left) << id;
        EXPECT_GE(r.top, client.top) << id;
        EXPECT_LE(r.right, client.right) << id;
        EXPECT_LE(r.bottom, client.bottom) << id;
        for (std::size_t i = 0; i < places.size(); ++i) {
            RECT both{};
            EXPECT_FALSE(IntersectRect(&both, &r, &places[i])) << id << " overlaps " << ids[i];
        }
        places.push_back(r);
    }
}

// Text that a static control needs fits on its lines: the text's extent in the control's font is no wider.
void expect_text_fits(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    const std::string text = text_of(control);
    RECT r{};
    GetClientRect(control, &r);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT need = r;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_LE(need.right - need.left, r.right - r.left) << "'" << text << "'";
    EXPECT_LE(need.bottom - need.top, r.bottom - r.top) << "'" << text << "'";
}

void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::vector<std::string> lines_of(HWND list) {
    ListBoxView view(list);
    std::vector<std::string> lines;
    for (int i = 0; i < view.count(); ++i) lines.push_back(view.line(i));
    return lines;
}

// The configuration window

TEST(ConfigurationForm, CaptionButtonsTipsTabOrderAndTheTitlePictureAtItsTwipsSize) {
    ConfigApp c;
    ConfigurationForm form(*c.app, c.system, c.layout, instance());
    HWND dialog = form.create_modeless(nullptr);
    ASSERT_NE(dialog, nullptr);
    pump(dialog);
    EXPECT_EQ(text_of(dialog), "Kolvane Screen Saver Configuration");
    EXPECT_EQ(FindWindowA(nullptr, "Kolvane Screen Saver Configuration"), dialog);
    EXPECT_EQ(item_text(dialog, IDC_CFG_COMMAND7), "&Options");
    EXPECT_EQ(item_text(dialog, IDC_CFG_COMMAND6), "&Preview");
    EXPECT_EQ(item_text(dialog, IDC_CFG_COMMAND3), "&Dravik Products");
    EXPECT_EQ(item_text(dialog, IDC_CFG_COMMAND2), "&About");
    EXPECT_EQ(item_text(dialog, IDC_CFG_COMMAND4), "&Exit");
    EXPECT_EQ(tab_cycle(dialog, IDC_CFG_COMMAND7),
              (std::vector<int>{IDC_CFG_COMMAND7, IDC_CFG_COMMAND6, IDC_CFG_COMMAND3, IDC_CFG_COMMAND2,
                                IDC_CFG_COMMAND4}));
    const std::vector<std::pair<int, std::string>> tips{
        {IDC_CFG_COMMAND7, " Click here to change the settings for this screen saver "},
        {IDC_CFG_COMMAND6, " Click here to preview the screen saver! "},
        {IDC_CFG_COMMAND3, " Click here to learn about other Dravik Software products "},
        {IDC_CFG_COMMAND2, " Click here to learn more about this screen saver "},
        {IDC_CFG_COMMAND4, " Click here to exit "},
    };
    for (const auto& [id, tip] : tips) EXPECT_EQ(tool_tip_text(form.tool_tips(), dialog, GetDlgItem(dialog, id)), tip);
    EXPECT_FALSE(tool_tip_text(form.tool_tips(), dialog, GetDlgItem(dialog, IDC_CFG_IMAGE1)).has_value());

    // 4800 x 3600 twips, whatever the screen's resolution; the buttons sit above and below it.
    EXPECT_TRUE(form.has_title_picture());
    RECT picture{};
    GetClientRect(GetDlgItem(dialog, IDC_CFG_IMAGE1), &picture);
    EXPECT_NEAR(picture.right, 4800.0 / c.system.twips_per_pixel_x(), 1.0);
    EXPECT_NEAR(picture.bottom, 3600.0 / c.system.twips_per_pixel_y(), 1.0);
    expect_laid_out(dialog, {IDC_CFG_COMMAND7, IDC_CFG_COMMAND6, IDC_CFG_IMAGE1, IDC_CFG_COMMAND3, IDC_CFG_COMMAND2,
                             IDC_CFG_COMMAND4});
    RECT above{}, image{}, below{};
    GetWindowRect(GetDlgItem(dialog, IDC_CFG_COMMAND7), &above);
    GetWindowRect(GetDlgItem(dialog, IDC_CFG_IMAGE1), &image);
    GetWindowRect(GetDlgItem(dialog, IDC_CFG_COMMAND4), &below);
    EXPECT_LE(above.bottom, image.top);
    EXPECT_GE(below.top, image.bottom);

    // The window is centred on the screen by its load.
    RECT window{};
    GetWindowRect(dialog, &window);
    EXPECT_NEAR((window.left + window.right) / 2.0, GetSystemMetrics(SM_CXSCREEN) / 2.0, 2.0);
    EXPECT_NEAR((window.top + window.bottom) / 2.0, GetSystemMetrics(SM_CYSCREEN) / 2.0, 2.0);
}

TEST(ConfigurationForm, TheTitlePictureIsDrawnStretchedIntoItsControl) {
    ConfigApp c;
    ConfigurationForm form(*c.app, c.system, c.layout, instance());
    HWND dialog = form.create_modeless(nullptr);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOWNOACTIVATE);
    UpdateWindow(dialog);
    pump(dialog);
    // The title picture's colours reach the control's corners: it fills the control.
    HWND picture = GetDlgItem(dialog, IDC_CFG_IMAGE1);
    RECT r{};
    GetClientRect(picture, &r);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    HDC dc = GetDC(picture);
    int face_corners = 0;
    for (const POINT p : {POINT{1, 1}, POINT{r.right - 2, 1}, POINT{1, r.bottom - 2}, POINT{r.right - 2, r.bottom - 2}})
        if (GetPixel(dc, p.x, p.y) == face) ++face_corners;
    ReleaseDC(picture, dc);
    EXPECT_EQ(face_corners, 0);
}

TEST(ConfigurationForm, TheTitleBarCloseUnloadsTheWindow) {
    ConfigApp c;
    ConfigurationForm form(*c.app, c.system, c.layout, instance());
    HWND dialog = form.create_modeless(nullptr);
    ASSERT_NE(dialog, nullptr);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(form.window(), nullptr);
}

// The options dialog

class OptionsFormTest : public ::testing::Test {
protected:
    HWND open() {
        HWND dialog = form.create_modeless(nullptr);
        pump(dialog);
        return dialog;
    }
    int position(HWND dialog, int id) { return GetScrollPos(GetDlgItem(dialog, id), SB_CTL); }
    void scroll(HWND dialog, int id, int code, int track = 0) {
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, track), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    ConfigApp c;
    OptionsForm form{*c.app, c.layout, instance()};
};

TEST_F(OptionsFormTest, FramesLabelsChecksButtonsTipsAndTabOrder) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(text_of(dialog), "Screen Saver Options");
    const std::vector<std::pair<int, std::string>> texts{
        {IDC_OPT_FRAME1, "How Long To Display Each Scene"}, {IDC_OPT_LABEL4, "Shorter"}, {IDC_OPT_LABEL5, "Longer"},
        {IDC_OPT_FRAME2, "Frequency Of Objects"},           {IDC_OPT_LABEL3, "More"},    {IDC_OPT_LABEL6, "Less"},
        {IDC_OPT_FRAME3, "Frequency Of Captions"},          {IDC_OPT_LABEL7, "More"},    {IDC_OPT_LABEL8, "Less"},
        {IDC_OPT_FRAME4, "Frequency Of Audio Files"},       {IDC_OPT_LABEL11, "More"},   {IDC_OPT_LABEL12, "Less"},
        {IDC_OPT_FRAME5, "Animation Frame Rate"},           {IDC_OPT_LABEL14, "Faster"}, {IDC_OPT_LABEL13, "Slower"},
        {IDC_OPT_CHECK1, "Play &Audio"},                    {IDC_OPT_CHECK2, "Display &Time"},
        {IDC_OPT_CHECK3, "&Display Captions"},              {IDC_OPT_CHECK4, "Save As &Wallpaper"},
        {IDC_OPT_CHECK5, "&Large Backgrounds"},             {IDC_OPT_SIZE_LABEL, "Object Si&ze:"},
        {IDC_OPT_COMMAND8, "&Edit Audio Files"},            {IDC_OPT_COMMAND7, "Edit &Captions"},
        {IDC_OPT_COMMAND2, "&Password"},                    {IDC_OPT_COMMAND1, "&Ok"},
    };
    for (const auto& [id, text] : texts) EXPECT_EQ(item_text(dialog, id), text) << id;
    for (const int id : {IDC_OPT_LABEL4, IDC_OPT_LABEL5, IDC_OPT_LABEL14, IDC_OPT_LABEL13, IDC_OPT_CHECK5,
                         IDC_OPT_SIZE_LABEL})
        expect_text_fits(dialog, id);
    EXPECT_EQ(tab_cycle(dialog, IDC_OPT_HSCROLL1),
              (std::vector<int>{IDC_OPT_HSCROLL1, IDC_OPT_HSCROLL4, IDC_OPT_HSCROLL3, IDC_OPT_HSCROLL2, IDC_OPT_HSCROLL5,
                                IDC_OPT_CHECK1, IDC_OPT_CHECK2, IDC_OPT_CHECK3, IDC_OPT_CHECK4, IDC_OPT_CHECK5,
                                IDC_OPT_SIZE, IDC_OPT_COMMAND8, IDC_OPT_COMMAND7, IDC_OPT_COMMAND2, IDC_OPT_COMMAND1}));
    const std::vector<std::pair<int, std::string>> tips{
        {IDC_OPT_CHECK1, " Place a check here to turn on any audio available during the screen saver "},
        {IDC_OPT_CHECK2, " Place a check here to display the time of day during the screen saver "},
        {IDC_OPT_CHECK3, " Place a check here to display any captions that are available during the screen saver "},
        {IDC_OPT_CHECK4, " Place a check here to save a screen copy of the screen saver as wall paper when the screen "
                         "saver exits "},
        {IDC_OPT_CHECK5, " Place a check here to show sharp backgrounds in the screen's own shape on wide screens "},
        {IDC_OPT_SIZE, " Choose how large the objects are drawn; Automatic makes them larger on larger screens "},
        {IDC_OPT_COMMAND8, " Click here to edit the list of audio files that will play during the screen saver "},
        {IDC_OPT_COMMAND7, " Click here to edit the list of captions that will be displayed during the screen saver "},
        {IDC_OPT_COMMAND2, " Click here to change the password for this screen saver "},
        {IDC_OPT_COMMAND1, " Click here to exit this menu "},
    };
    for (const auto& [id, tip] : tips) EXPECT_EQ(tool_tip_text(form.tool_tips(), dialog, GetDlgItem(dialog, id)), tip);
    expect_laid_out(dialog, {IDC_OPT_FRAME1, IDC_OPT_FRAME2, IDC_OPT_FRAME3, IDC_OPT_FRAME4, IDC_OPT_FRAME5,
                             IDC_OPT_CHECK1, IDC_OPT_CHECK2, IDC_OPT_CHECK3, IDC_OPT_CHECK4, IDC_OPT_CHECK5,
                             IDC_OPT_SIZE_LABEL, IDC_OPT_SIZE, IDC_OPT_COMMAND8, IDC_OPT_COMMAND7, IDC_OPT_COMMAND2,
                             IDC_OPT_COMMAND1});
    expect_laid_out(dialog, {IDC_OPT_LABEL4, IDC_OPT_HSCROLL1, IDC_OPT_LABEL5, IDC_OPT_LABEL14, IDC_OPT_HSCROLL5,
                             IDC_OPT_LABEL13});
    for (const int id : {IDC_OPT_COMMAND8, IDC_OPT_COMMAND7, IDC_OPT_COMMAND2, IDC_OPT_COMMAND1})
        EXPECT_TRUE(form.has_picture(id)) << id;
}

TEST_F(OptionsFormTest, SlidersShowTheStoredValuesInTheirRanges) {
    c.app->settings.cycle_speed_value = 7;
    c.app->settings.object_frequency = 3;
    c.app->settings.scroller_delay = 0;
    c.app->settings.audio_seconds = 60;
    c.app->settings.frame_rate = 45;
    c.app->settings.audio_on = "0";
    c.app->settings.show_time = "1";
    c.app->settings.scroller_active = 1;
    c.app->settings.save_as_wallpaper = 0;
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::tuple<int, int, int, int>> bars{
        {IDC_OPT_HSCROLL1, 1, 20, 7}, {IDC_OPT_HSCROLL4, 1, 20, 3}, {IDC_OPT_HSCROLL3, 1, 20, 1},
        {IDC_OPT_HSCROLL2, 1, 60, 60}, {IDC_OPT_HSCROLL5, 1, 40, 9},
    };
    for (const auto& [id, low, high, value] : bars) {
        int min = 0, max = 0;
        GetScrollRange(GetDlgItem(dialog, id), SB_CTL, &min, &max);
        EXPECT_EQ(min, low) << id;
        EXPECT_EQ(max, high) << id;
        EXPECT_EQ(position(dialog, id), value) << id;
        EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE) & SBS_VERT, 0) << id;
    }
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_OPT_CHECK1), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_OPT_CHECK2), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_OPT_CHECK3), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_OPT_CHECK4), BST_UNCHECKED);
    EXPECT_EQ(c.store.saves, 0);  // nothing is written while the dialog is open
}

TEST_F(OptionsFormTest, EveryScrollCodeMovesTheThumbOneStepOrToWhereItIsDragged) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL5), 9);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_LINERIGHT);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL5), 10);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_PAGERIGHT);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL5), 11);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_PAGELEFT);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_LINELEFT);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL5), 9);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_THUMBTRACK, 30);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL5), 30);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_THUMBPOSITION, 31);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL5), 31);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_ENDSCROLL);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL5), 31);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_RIGHT);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_LINERIGHT);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL5), 40);
    scroll(dialog, IDC_OPT_HSCROLL2, SB_LEFT);
    scroll(dialog, IDC_OPT_HSCROLL2, SB_PAGELEFT);
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL2), 1);
    // Only the bar that was moved changes.
    EXPECT_EQ(position(dialog, IDC_OPT_HSCROLL1), 13);
}

TEST_F(OptionsFormTest, TheTitleBarCloseStoresTheControlsAsOkDoes) {
    c.app->settings.frame_rate = 47;  // not a multiple of 5: shown as 9, stored as 45
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    scroll(dialog, IDC_OPT_HSCROLL1, SB_LINELEFT);
    click(dialog, IDC_OPT_CHECK4);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(c.store.value("frame_rate"), "45");
    EXPECT_EQ(c.store.value("cycle_speed_value"), "12");
    EXPECT_EQ(c.store.value("save_as_wallpaper"), "1");
    EXPECT_EQ(c.app->settings.frame_rate, 45);
}

TEST_F(OptionsFormTest, ObjectSizeListsItsFourChoicesAndLargeBackgroundsFollowTheStore) {
    c.app->settings.object_scale = 2;
    c.app->settings.large_backgrounds = "0";
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_OPT_SIZE);
    ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 4);
    const char* expected[] = {"Automatic", "Normal", "Double", "Triple"};
    for (int i = 0; i < 4; ++i) {
        char text[64] = {};
        SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, expected[i]);
    }
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_OPT_CHECK5), BST_UNCHECKED);
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    click(dialog, IDC_OPT_CHECK5);
    click(dialog, IDC_OPT_COMMAND1);
    pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(c.store.value("object_scale"), "0");
    EXPECT_EQ(c.store.value("large_backgrounds"), "1");
}

TEST_F(OptionsFormTest, OkStoresTheSlowestFrameRate) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    scroll(dialog, IDC_OPT_HSCROLL5, SB_RIGHT);
    click(dialog, IDC_OPT_CHECK1);
    click(dialog, IDC_OPT_COMMAND1);
    pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(c.store.value("frame_rate"), "200");
    EXPECT_EQ(c.store.value("audio_on"), "0");
}

// Picture buttons

struct PictureButton {
    PictureButton() {
        button = CreateWindowExA(0, "BUTTON", "&Ok", WS_POPUP | BS_OWNERDRAW, 0, 0, width, height, nullptr, nullptr,
                                 instance(), nullptr);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
    }
    ~PictureButton() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        DestroyWindow(button);
    }
    void draw(const Image* picture) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = button;
        item.hDC = dc;
        item.rcItem = RECT{0, 0, width, height};
        draw_picture_button(item, picture);
    }
    // Rows (top first) of the button's inside, away from its edges, that hold the colour.
    std::vector<int> rows_with(COLORREF colour) {
        std::vector<int> rows;
        for (int y = 6; y < height - 6; ++y)
            for (int x = 6; x < width - 6; ++x)
                if (GetPixel(dc, x, y) == colour) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }
    int count(COLORREF colour) {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (GetPixel(dc, x, y) == colour) ++n;
        return n;
    }
    static constexpr int width = 96;
    static constexpr int height = 80;
    HWND button;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

TEST(PictureButtons, ThePictureSitsWholeAboveTheCaptionOrTheCaptionStandsAlone) {
    PictureButton b;
    const Image red(32, 32, 0xFF0000);
    b.draw(&red);
    // 32 pixels at 96 dots per inch, more at a finer resolution.
    const int side = scaled_to_screen(32);
    if (side == 32) EXPECT_EQ(b.count(RGB(255, 0, 0)), 32 * 32);
    else EXPECT_GE(b.count(RGB(255, 0, 0)), (side - 2) * (side - 2));
    const auto red_rows = b.rows_with(RGB(255, 0, 0));
    const auto text_rows = b.rows_with(GetSysColor(COLOR_BTNTEXT));
    ASSERT_FALSE(red_rows.empty());
    ASSERT_FALSE(text_rows.empty());
    EXPECT_LT(red_rows.back(), text_rows.front());

    b.draw(nullptr);
    EXPECT_EQ(b.count(RGB(255, 0, 0)), 0);
    EXPECT_FALSE(b.rows_with(GetSysColor(COLOR_BTNTEXT)).empty());
}

TEST(PictureButtons, TheKeyColourBecomesTheButtonFace) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t face_rgb = (static_cast<std::uint32_t>(GetRValue(face)) << 16) |
                                   (static_cast<std::uint32_t>(GetGValue(face)) << 8) | GetBValue(face);
    ResourcePictures pictures;
    for (const char* name : {"button_audio", "button_captions", "button_password", "button_ok", "button_web", "logo"}) {
        const auto raw = pictures.picture(name);
        ASSERT_TRUE(raw.has_value()) << name;
        const auto keyed = std::count(raw->pixels.begin(), raw->pixels.end(), 0xFF00FFu);
        EXPECT_GT(keyed, 0) << name << " has no transparent pixels";
        const auto shown = button_picture(name);
        ASSERT_TRUE(shown.has_value()) << name;
        EXPECT_EQ(std::count(shown->pixels.begin(), shown->pixels.end(), 0xFF00FFu), 0) << name;
        EXPECT_GE(std::count(shown->pixels.begin(), shown->pixels.end(), face_rgb), keyed) << name;
    }
    EXPECT_EQ(pictures.picture("logo")->width, 64);
    EXPECT_EQ(pictures.picture("button_ok")->width, 32);
    EXPECT_FALSE(button_picture("no such picture").has_value());
}

// The captions dialog

class CaptionsFormTest : public ::testing::Test {
protected:
    void SetUp() override { c.write(c.folder / "windows" / "Kolvane Captions.dat", "Alpha\r\nBeta\r\n"); }
    // Enter as the dialog manager gets it from the keyboard, with the focus in the text box.
    void press_enter(HWND dialog) {
        HWND box = GetDlgItem(dialog, IDC_CAP_TEXT1);
        SetFocus(box);
        MSG msg{box, WM_KEYDOWN, VK_RETURN, 0x001C0001, GetTickCount(), {}};
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        pump(dialog);
    }

    ConfigApp c;
    CaptionsForm form{*c.app, instance()};
};

TEST_F(CaptionsFormTest, TextsTipsTabOrderAndTheListFromItsFile) {
    HWND dialog = form.create_modeless(nullptr);
    ASSERT_NE(dialog, nullptr);
    pump(dialog);
    EXPECT_EQ(text_of(dialog), "Edit Screen Saver Captions");
    EXPECT_EQ(item_text(dialog, IDC_CAP_COMMAND2), "&Add");
    EXPECT_EQ(item_text(dialog, IDC_CAP_COMMAND4), "&Remove Selected Caption");
    EXPECT_EQ(item_text(dialog, IDC_CAP_COMMAND3), "&Cancel");
    EXPECT_EQ(item_text(dialog, IDC_CAP_COMMAND1), "Save And &Exit");
    EXPECT_EQ(item_text(dialog, IDC_CAP_TEXT1), "");
    EXPECT_EQ(tab_cycle(dialog, IDC_CAP_LIST1),
              (std::vector<int>{IDC_CAP_LIST1, IDC_CAP_TEXT1, IDC_CAP_COMMAND2, IDC_CAP_COMMAND4, IDC_CAP_COMMAND3,
                                IDC_CAP_COMMAND1}));
    const std::vector<std::pair<int, std::string>> tips{
        {IDC_CAP_LIST1, " This is the list of captions that will be randomly displayed during the screen saver "},
        {IDC_CAP_TEXT1, " Enter a new caption here "},
        {IDC_CAP_COMMAND2, " Adds the entered text into the caption list "},
        {IDC_CAP_COMMAND4, " Remove currently selected caption "},
        {IDC_CAP_COMMAND3, " Exit without saving any changes "},
        {IDC_CAP_COMMAND1, " Save any changes and exit "},
    };
    for (const auto& [id, tip] : tips) EXPECT_EQ(tool_tip_text(form.tool_tips(), dialog, GetDlgItem(dialog, id)), tip);
    expect_laid_out(dialog, {IDC_CAP_LIST1, IDC_CAP_TEXT1, IDC_CAP_COMMAND2, IDC_CAP_COMMAND4, IDC_CAP_COMMAND3,
                             IDC_CAP_COMMAND1});
    HWND list = GetDlgItem(dialog, IDC_CAP_LIST1);
    EXPECT_EQ(lines_of(list), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & (LBS_SORT | LBS_EXTENDEDSEL | LBS_MULTIPLESEL), 0);
}

TEST_F(CaptionsFormTest, EnterAddsTheTypedLineWhichStaysAndSaveWritesTheListInOrder) {
    HWND dialog = form.create_modeless(nullptr);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    pump(dialog);
    SetDlgItemTextA(dialog, IDC_CAP_TEXT1, "Gamma ray");
    press_enter(dialog);
    press_enter(dialog);
    EXPECT_EQ(item_text(dialog, IDC_CAP_TEXT1), "Gamma ray");
    HWND list = GetDlgItem(dialog, IDC_CAP_LIST1);
    EXPECT_EQ(lines_of(list), (std::vector<std::string>{"Alpha", "Beta", "Gamma ray", "Gamma ray"}));
    // Remove takes the selected line only.
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    click(dialog, IDC_CAP_COMMAND4);
    EXPECT_EQ(lines_of(list), (std::vector<std::string>{"Beta", "Gamma ray", "Gamma ray"}));
    EXPECT_EQ(c.file("Kolvane Captions.dat"), "Alpha\r\nBeta\r\n");  // nothing written before Save
    click(dialog, IDC_CAP_COMMAND1);
    pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(c.file("Kolvane Captions.dat"), "Beta\r\nGamma ray\r\nGamma ray\r\n");
}

TEST_F(CaptionsFormTest, TheTitleBarCloseIsCancelAndWritesNothing) {
    HWND dialog = form.create_modeless(nullptr);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    pump(dialog);
    SetDlgItemTextA(dialog, IDC_CAP_TEXT1, "Never saved");
    press_enter(dialog);
    EXPECT_EQ(ListBoxView(GetDlgItem(dialog, IDC_CAP_LIST1)).count(), 3);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(c.file("Kolvane Captions.dat"), "Alpha\r\nBeta\r\n");
}

// The audio files dialog

class AudioFilesFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        sounds = c.folder / "sounds";
        fs::create_directories(sounds / "more");
        for (const char* name : {"b.wav", "A.WAV", "c.mid", "d.rmi", "notes.txt", "e.wave"}) c.write(sounds / name, "x");
        c.app->startup.start_folder = sounds.string() + "\\";
        c.write(c.folder / "windows" / "Kolvane Audio Files.dat", "C:\\old.wav\r\n");
    }
    HWND open() {
        HWND dialog = form.create_modeless(nullptr);
        pump(dialog);
        return dialog;
    }
    std::string in_sounds(const std::string& name) const { return sounds.string() + "\\" + name; }

    ConfigApp c;
    fs::path sounds;
    AudioFilesForm form{*c.app, instance()};
};

TEST_F(AudioFilesFormTest, TextsTipsTabOrderAndTheMatchingFilesOfTheStartFolder) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(text_of(dialog), "Edit Screen Saver Audio Files ( .wav .mid )");
    EXPECT_EQ(item_text(dialog, IDC_AUD_LABEL1), "Double Click On A File To Preview It");
    EXPECT_EQ(item_text(dialog, IDC_AUD_LABEL2), "List of audio files to play during the screen saver:");
    EXPECT_EQ(item_text(dialog, IDC_AUD_COMMAND1), "Add &Selected File(s)");
    EXPECT_EQ(item_text(dialog, IDC_AUD_COMMAND2), "Add &All File(s)");
    EXPECT_EQ(item_text(dialog, IDC_AUD_COMMAND5), "&Remove Selected File(s)");
    EXPECT_EQ(item_text(dialog, IDC_AUD_COMMAND6), "&Cancel");
    EXPECT_EQ(item_text(dialog, IDC_AUD_COMMAND3), "Save And &Exit");
    expect_text_fits(dialog, IDC_AUD_LABEL1);
    expect_text_fits(dialog, IDC_AUD_LABEL2);
    EXPECT_EQ(tab_cycle(dialog, IDC_AUD_DRIVE1),
              (std::vector<int>{IDC_AUD_DRIVE1, IDC_AUD_DIR1, IDC_AUD_FILE1, IDC_AUD_COMMAND1, IDC_AUD_COMMAND2,
                                IDC_AUD_LIST2, IDC_AUD_COMMAND5, IDC_AUD_COMMAND6, IDC_AUD_COMMAND3}));
    const std::vector<std::pair<int, std::string>> tips{
        {IDC_AUD_COMMAND1, " Add the audio files that are currently selected "},
        {IDC_AUD_COMMAND2, " Add all audio files from this directory "},
        {IDC_AUD_LIST2, "This is a list of music files to play during the screen saver "},
        {IDC_AUD_COMMAND5, " Removes the selected audio files from the playback list "},
        {IDC_AUD_COMMAND6, " Exit without saving changes "},
        {IDC_AUD_COMMAND3, " Save any changes and exit "},
    };
    for (const auto& [id, tip] : tips) EXPECT_EQ(tool_tip_text(form.tool_tips(), dialog, GetDlgItem(dialog, id)), tip);
    expect_laid_out(dialog, {IDC_AUD_DRIVE1, IDC_AUD_DIR1, IDC_AUD_LABEL1, IDC_AUD_FILE1, IDC_AUD_COMMAND1,
                             IDC_AUD_COMMAND2, IDC_AUD_LABEL2, IDC_AUD_LIST2, IDC_AUD_COMMAND5, IDC_AUD_COMMAND6,
                             IDC_AUD_COMMAND3});

    // Each part of the pattern is listed, in any letter case; other files are not.
    EXPECT_EQ(lines_of(GetDlgItem(dialog, IDC_AUD_FILE1)),
              (std::vector<std::string>{"A.WAV", "b.wav", "c.mid", "d.rmi"}));
    EXPECT_EQ(form.file_folder(), sounds.string());
    // The folder list: the ancestors down to the shown folder, then its own folder.
    const auto& entries = form.folder_entries();
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries.back(), in_sounds("more"));
    EXPECT_EQ(entries[entries.size() - 2], sounds.string());
    EXPECT_EQ(entries.front().size(), 3u);  // the drive's root, "X:\"
    HWND folders = GetDlgItem(dialog, IDC_AUD_DIR1);
    EXPECT_EQ(SendMessageA(folders, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(entries.size()));
    EXPECT_EQ(SendMessageA(folders, LB_GETCURSEL, 0, 0), static_cast<LRESULT>(entries.size() - 2));
    // The drive list shows the shown folder's drive.
    const std::string drive(1, static_cast<char>(std::tolower(static_cast<unsigned char>(sounds.string()[0]))));
    EXPECT_EQ(item_text(dialog, IDC_AUD_DRIVE1), drive + ":");
    // The audio list from its file, several lines selectable, in the order given.
    HWND list = GetDlgItem(dialog, IDC_AUD_LIST2);
    EXPECT_EQ(lines_of(list), (std::vector<std::string>{"C:\\old.wav"}));
    EXPECT_NE(GetWindowLongPtrA(list, GWL_STYLE) & LBS_EXTENDEDSEL, 0);
    EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & LBS_SORT, 0);
    EXPECT_NE(GetWindowLongPtrA(GetDlgItem(dialog, IDC_AUD_FILE1), GWL_STYLE) & LBS_EXTENDEDSEL, 0);
}

TEST_F(AudioFilesFormTest, TheSelectedFilesAreAddedWithTheirFoldersAndSaved) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    HWND files = GetDlgItem(dialog, IDC_AUD_FILE1);
    SendMessageA(files, LB_SETSEL, TRUE, 1);  // b.wav
    SendMessageA(files, LB_SETSEL, TRUE, 3);  // d.rmi
    click(dialog, IDC_AUD_COMMAND1);
    HWND list = GetDlgItem(dialog, IDC_AUD_LIST2);
    EXPECT_EQ(lines_of(list), (std::vector<std::string>{"C:\\old.wav", in_sounds("b.wav"), in_sounds("d.rmi")}));
    // A line wider than the box can be scrolled to.
    EXPECT_GT(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
    click(dialog, IDC_AUD_COMMAND2);
    EXPECT_EQ(ListBoxView(list).count(), 7);
    // Remove takes exactly the selected lines.
    SendMessageA(list, LB_SETSEL, TRUE, 0);
    SendMessageA(list, LB_SETSEL, TRUE, 2);
    SendMessageA(list, LB_SETSEL, TRUE, 6);
    click(dialog, IDC_AUD_COMMAND5);
    EXPECT_EQ(lines_of(list), (std::vector<std::string>{in_sounds("b.wav"), in_sounds("A.WAV"), in_sounds("b.wav"),
                                                        in_sounds("c.mid")}));
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 0);
    EXPECT_EQ(c.file("Kolvane Audio Files.dat"), "C:\\old.wav\r\n");
    click(dialog, IDC_AUD_COMMAND3);
    pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(c.file("Kolvane Audio Files.dat"), in_sounds("b.wav") + "\r\n" + in_sounds("A.WAV") + "\r\n" +
                                                     in_sounds("b.wav") + "\r\n" + in_sounds("c.mid") + "\r\n");
}

TEST_F(AudioFilesFormTest, FoldersAreOpenedFromTheFolderListAndTheLastOneIsKeptForTheNextOpening) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    HWND folders = GetDlgItem(dialog, IDC_AUD_DIR1);
    // One click shows the folder's files; the folder list opens it on a double click only.
    const std::vector<std::string> shown = form.folder_entries();
    SendMessageA(folders, LB_SETCURSEL, shown.size() - 1, 0);  // "more"
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_AUD_DIR1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(folders));
    EXPECT_EQ(form.file_folder(), in_sounds("more"));
    EXPECT_EQ(ListBoxView(GetDlgItem(dialog, IDC_AUD_FILE1)).count(), 0);
    EXPECT_EQ(form.folder_entries(), shown);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_AUD_DIR1, LBN_DBLCLK), reinterpret_cast<LPARAM>(folders));
    EXPECT_EQ(form.file_folder(), in_sounds("more"));
    EXPECT_EQ(ListBoxView(GetDlgItem(dialog, IDC_AUD_FILE1)).count(), 0);
    // A folder that cannot be listed leaves everything as it was.
    EXPECT_FALSE(form.browse_to(in_sounds("missing")));
    EXPECT_EQ(form.file_folder(), in_sounds("more"));
    // Up again through the ancestor entry.
    const auto& entries = form.folder_entries();
    const auto up = std::find(entries.begin(), entries.end(), sounds.string());
    ASSERT_NE(up, entries.end());
    SendMessageA(folders, LB_SETCURSEL, static_cast<WPARAM>(up - entries.begin()), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_AUD_DIR1, LBN_DBLCLK), reinterpret_cast<LPARAM>(folders));
    EXPECT_EQ(ListBoxView(GetDlgItem(dialog, IDC_AUD_FILE1)).count(), 4);
    SendMessageA(folders, LB_SETCURSEL, form.folder_entries().size() - 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_AUD_DIR1, LBN_DBLCLK), reinterpret_cast<LPARAM>(folders));
    // Cancel writes nothing; the folder shown at closing is where the next opening starts.
    click(dialog, IDC_AUD_COMMAND6);
    pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(c.file("Kolvane Audio Files.dat"), "C:\\old.wav\r\n");
    EXPECT_EQ(c.app->startup.start_folder, in_sounds("more"));
    AudioFilesForm again(*c.app, instance());
    ASSERT_NE(again.create_modeless(nullptr), nullptr);
    EXPECT_EQ(again.file_folder(), in_sounds("more"));
}

TEST(PatternParts, EachPartOfTheFilePatternInOrder) {
    EXPECT_EQ(pattern_parts("*.mid;*.rmi;*.wav"), (std::vector<std::string>{"*.mid", "*.rmi", "*.wav"}));
    EXPECT_EQ(pattern_parts("*.wav"), (std::vector<std::string>{"*.wav"}));
    EXPECT_EQ(pattern_parts(";*.a;;*.b;"), (std::vector<std::string>{"*.a", "*.b"}));
    EXPECT_TRUE(pattern_parts("").empty());
}

TEST(PatternParts, NamesMatchAPartInAnyLetterCaseButNotALongerEnding) {
    EXPECT_TRUE(matches_pattern("song.wav", "*.wav"));
    EXPECT_TRUE(matches_pattern("SONG.WAV", "*.wav"));
    EXPECT_TRUE(matches_pattern(".wav", "*.wav"));
    EXPECT_TRUE(matches_pattern("a.wav.wav", "*.wav"));
    EXPECT_FALSE(matches_pattern("song.wave", "*.wav"));
    EXPECT_FALSE(matches_pattern("song.wa", "*.wav"));
    EXPECT_FALSE(matches_pattern("songwav", "*.wav"));
    EXPECT_TRUE(matches_pattern("a1.mid", "a?.mid"));
    EXPECT_FALSE(matches_pattern("a12.mid", "a?.mid"));
    EXPECT_TRUE(matches_pattern("anything", "*"));
}

// The About box

TEST(AboutForm, CaptionTitleVersionTipTabOrderAndOkForEnterAndEscape) {
    ConfigApp c;
    for (const int key : {IDOK, IDCANCEL}) {
        AboutForm form(*c.app, instance());
        HWND dialog = form.create_modeless(nullptr);
        ASSERT_NE(dialog, nullptr);
        pump(dialog);
        EXPECT_EQ(text_of(dialog), "About Kolvane Screen Saver");
        EXPECT_EQ(item_text(dialog, IDC_ABT_TITLE), "Kolvane Screen Saver");
        EXPECT_EQ(item_text(dialog, IDC_ABT_VERSION), "Version 2.0.8");
        EXPECT_EQ(item_text(dialog, IDOK), "&OK");
        EXPECT_EQ(item_text(dialog, IDC_ABT_SYSINFO), "&System Info...");
        EXPECT_EQ(item_text(dialog, IDC_ABT_COMMAND1),
                  "&Click here to visit the Dravik Software website on the internet.");
        EXPECT_EQ(item_text(dialog, IDC_ABT_LABEL6), KOLVANE_WEBSITE_TEXT);
        EXPECT_EQ(item_text(dialog, IDC_ABT_LABEL7), "support@dravik-software.com");
        EXPECT_FALSE(item_text(dialog, IDC_ABT_DISCLAIMER).empty());
        for (const int id : {IDC_ABT_LABEL1_0, IDC_ABT_LABEL1_1, IDC_ABT_LABEL1_2, IDC_ABT_LABEL1_3, IDC_ABT_LABEL7,
                             IDC_ABT_LABEL8, IDC_ABT_LABEL9, IDC_ABT_DISCLAIMER, IDC_ABT_VERSION, IDC_ABT_TITLE})
            expect_text_fits(dialog, id);
        EXPECT_EQ(tool_tip_text(form.tool_tips(), dialog, GetDlgItem(dialog, IDC_ABT_COMMAND1)),
                  "Visit The Dravik Software Website For The Latest Screen Savers And Multimedia Tools!");
        EXPECT_EQ(tab_cycle(dialog, IDC_ABT_COMMAND1), (std::vector<int>{IDC_ABT_COMMAND1, IDOK, IDC_ABT_SYSINFO}));
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
                  DLGC_DEFPUSHBUTTON);
        expect_laid_out(dialog, {IDC_ABT_TITLE, IDC_ABT_VERSION, IDC_ABT_FRAME1, IDC_ABT_DISCLAIMER,
                                 IDC_ABT_COMMAND1, IDOK, IDC_ABT_SYSINFO});
        expect_laid_out(dialog, {IDC_ABT_IMAGE1, IDC_ABT_LABEL1_0, IDC_ABT_LABEL6, IDC_ABT_LABEL1_1, IDC_ABT_LABEL7,
                                 IDC_ABT_LABEL1_2, IDC_ABT_LABEL8, IDC_ABT_LABEL1_3, IDC_ABT_LABEL9});
        // Enter reaches the dialog as IDOK and Escape as IDCANCEL: both close it.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(key, BN_CLICKED), 0);
        pump();
        EXPECT_FALSE(IsWindow(dialog)) << key;
    }
}

TEST(AboutForm, TheWebButtonOpensAFullAddressAsItIsAndAPageInTheInstallationFolder) {
    EXPECT_EQ(website_target("C:\\Program Files\\Kolvane\\", "index.html"), "C:\\Program Files\\Kolvane\\index.html");
    EXPECT_EQ(website_target("C:\\Program Files\\Kolvane\\", "https://www.example.com/"), "https://www.example.com/");
    ConfigApp c;
    AboutForm form(*c.app, instance());
    EXPECT_EQ(form.website(), website_target("C:\\Program Files\\Kolvane\\", KOLVANE_WEBSITE_TEXT));
}

TEST(AboutForm, StartProgramRunsTheProgramAndFailsForAMissingOne) {
    ConfigApp c;
    AboutForm form(*c.app, instance());
    // The helper marks that it ran with a file beside itself; the build gives its Unix path, Wine's drive Z.
    std::string marker = "Z:" STARTED_MARKER;
    std::replace(marker.begin(), marker.end(), '/', '\\');
    const std::string started = marker + ".started";
    DeleteFileA(started.c_str());
    EXPECT_TRUE(form.start_program(marker));
    bool ran = false;
    for (int i = 0; i < 100 && !ran; ++i) {
        ran = GetFileAttributesA(started.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!ran) Sleep(50);
    }
    EXPECT_TRUE(ran);
    DeleteFileA(started.c_str());
    EXPECT_FALSE(form.start_program((c.folder / "no such program.exe").string()));
}

}  // namespace
}  // namespace kolvane::win32
