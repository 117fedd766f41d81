// Drives a running velotide.exe from outside, for `make run` without a
// display and for screenshots:
//   velotide_driver wait CLASS [MS]   wait for a visible top-level window of CLASS
//   velotide_driver command ID [CLASS] post WM_COMMAND ID to the main window (or a window of CLASS)
//   velotide_driver ok CLASS          press OK on a window of CLASS (a prompt)
//   velotide_driver move CLASS X Y W H  put a window of CLASS there
//   velotide_driver show CLASS SW     ShowWindow with SW (6 minimises, 9 restores)
//   velotide_driver engine TEXT...    send a control command to the engine's view
//   velotide_driver rect CLASS        print the window's outer rectangle as WxH+X+Y
// Exit code 0 on success, 1 when the window was not found in time.
#include <windows.h>

#include <cwchar>
#include <string>

#include "engines/common/engine_protocol.h"

static HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 50) {
        HWND window = FindWindowW(className, nullptr);
        if (window && IsWindowVisible(window)) return window;
        if (waited >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    std::wstring verb = argv[1];
    if (verb == L"wait") return WaitForWindow(argv[2], argc > 3 ? _wtoi(argv[3]) : 30000) ? 0 : 1;
    if (verb == L"rect") {
        HWND window = WaitForWindow(argv[2], 30000);
        RECT r;
        if (!window || !GetWindowRect(window, &r)) return 1;
        wprintf(L"%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }

    if (verb == L"ok") {
        HWND window = WaitForWindow(argv[2], 30000);
        return window && PostMessageW(window, WM_COMMAND, IDOK, 0) ? 0 : 1;
    }
    if (verb == L"show" && argc > 3) {
        HWND window = WaitForWindow(argv[2], 30000);
        if (window) ShowWindow(window, _wtoi(argv[3]));
        return window ? 0 : 1;
    }
    if (verb == L"move" && argc > 6) {
        HWND window = WaitForWindow(argv[2], 30000);
        return window && SetWindowPos(window, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]),
                                      SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    }

    HWND main = WaitForWindow(argc > 3 && verb == L"command" ? argv[3] : L"VelotideMain", 30000);
    if (!main) return 1;
    if (verb == L"command") return PostMessageW(main, WM_COMMAND, _wtoi(argv[2]), 0) ? 0 : 1;
    if (verb == L"engine") {
        std::wstring text = argv[2];
        for (int i = 3; i < argc; ++i) text += std::wstring(L" ") + argv[i];
        HWND view = FindWindowExW(main, nullptr, kEngineViewClass, nullptr);
        if (!view) return 1;
        COPYDATASTRUCT data = {kEngineCopyDataId, static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
        return SendMessageW(view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) ? 0 : 1;
    }
    return 2;
}
