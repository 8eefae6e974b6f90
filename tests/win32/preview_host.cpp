// A stand-in for the display settings' preview area: starts kolvane.scr /P <its window>, checks the child
// it receives, then ends the preview by destroying itself ("destroy") or closing the child ("close").
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int host_width = 320;
constexpr int host_height = 240;

void pump_for(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Wine runs this program with Unix paths from the build; Windows wants them on drive Z.
std::string windows_path(std::string path) {
    if (!path.empty() && path[0] == '/') path.insert(0, "Z:");
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

int fail(const char* what, PROCESS_INFORMATION* process = nullptr) {
    std::printf("FAIL: %s\n", what);
    if (process) TerminateProcess(process->hProcess, 9);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: preview_host <kolvane.scr> destroy|close\n");
        return 2;
    }
    const std::string how = argv[2];
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KolvanePreviewHost";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    RegisterClassExA(&wc);
    RECT frame{0, 0, host_width, host_height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND host = CreateWindowExA(0, wc.lpszClassName, "Kolvane Preview Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, wc.hInstance,
                                nullptr);
    if (!host) return fail("no host window");

    std::string command = "\"" + windows_path(argv[1]) + "\" /P " +
                          std::to_string(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(host)));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return fail("kolvane.scr did not start");

    HWND child = nullptr;
    for (int i = 0; i < 200 && !child; ++i) {
        pump_for(50);
        child = GetWindow(host, GW_CHILD);
    }
    if (!child) return fail("no child window arrived in the host", &process);
    DWORD child_process = 0;
    GetWindowThreadProcessId(child, &child_process);
    if (child_process != process.dwProcessId) return fail("the child is not kolvane.scr's", &process);
    RECT r{};
    GetClientRect(child, &r);
    std::printf("attached %ldx%ld\n", r.right, r.bottom);
    if (r.right != host_width || r.bottom != host_height) return fail("the child does not fill the host", &process);
    pump_for(300);
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT) return fail("the preview ended by itself");

    const DWORD start = GetTickCount();
    if (how == "destroy") {
        DestroyWindow(host);
    } else {
        PostMessageA(child, WM_CLOSE, 0, 0);
    }
    DWORD waited = WAIT_TIMEOUT;
    while (waited == WAIT_TIMEOUT && GetTickCount() - start < 5000) {
        pump_for(10);
        waited = WaitForSingleObject(process.hProcess, 0);
    }
    if (waited != WAIT_OBJECT_0) return fail("the preview did not end", &process);
    if (how == "close" && IsWindow(host) && GetWindow(host, GW_CHILD)) return fail("the picture stayed in the host");
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("ended after %lu ms with exit code %lu\n", GetTickCount() - start, code);
    return code == 0 ? 0 : 1;
}
