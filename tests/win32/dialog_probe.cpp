// Reads a control of another program's dialog for the Wine scripts: its text, a scroll bar's position, a check
// box's state, a list box's lines or the control's place. Usage: dialog_probe TITLE CONTROL_ID text|pos|check|lines|place
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: dialog_probe TITLE CONTROL_ID text|pos|check|lines|place\n");
        return 2;
    }
    HWND dialog = FindWindowA(nullptr, argv[1]);
    HWND control = dialog ? GetDlgItem(dialog, std::atoi(argv[2])) : nullptr;
    if (!control) {
        std::fprintf(stderr, "no control %s in a window titled '%s'\n", argv[2], argv[1]);
        return 1;
    }
    const char* what = argv[3];
    if (std::strcmp(what, "text") == 0) {
        // Sent, not read with GetWindowText, which does not ask another process's edit box for its text.
        wchar_t text[1024] = {};
        SendMessageW(control, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text));
        char ansi[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
        std::printf("%s\n", ansi);
    } else if (std::strcmp(what, "pos") == 0) {
        std::printf("%d\n", static_cast<int>(SendMessageA(control, SBM_GETPOS, 0, 0)));
    } else if (std::strcmp(what, "check") == 0) {
        std::printf("%d\n", static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0)));
    } else if (std::strcmp(what, "lines") == 0) {
        // Asked in UTF-16, the form Wine passes between processes.
        const auto count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const auto length = SendMessageW(control, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
            if (length < 0) return 1;
            std::vector<wchar_t> line(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
            char text[2048] = {};
            WideCharToMultiByte(CP_ACP, 0, line.data(), -1, text, sizeof text, nullptr, nullptr);
            std::printf("%s\n", text);
        }
    } else if (std::strcmp(what, "place") == 0) {
        // Shell assignments of the control's offset from the window's top left corner, in pixels.
        RECT window{}, place{};
        GetWindowRect(dialog, &window);
        GetWindowRect(control, &place);
        std::printf("LEFT=%ld\nTOP=%ld\n", place.left - window.left, place.top - window.top);
    } else {
        std::fprintf(stderr, "unknown query '%s'\n", what);
        return 2;
    }
    return 0;
}
