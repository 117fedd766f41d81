// Process entry: one instance per desktop, then the main window, the engine
// and the program's only top-level message loop. DPI awareness (per monitor)
// comes from the manifest (resources/velotide.manifest), before any window.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/placement.h"
#include "app/tray.h"
#include "settings/config_store.h"
#include "webview/startup.h"

static std::wstring DataDirectory() {
    wchar_t base[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)))
        lstrcpyW(base, L".");
    return std::wstring(base) + L"\\Velotide";
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    g_app.instance = instance;

    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Velotide.Desktop.SingleInstance");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND first = FindWindowW(kMainWindowClass, nullptr)) {
            // A window kept in the notification area comes back; only a
            // minimised window is restored: a maximised one stays so.
            if (!IsWindowVisible(first)) ShowWindow(first, SW_SHOW);
            if (IsIconic(first)) ShowWindow(first, SW_RESTORE);
            SetForegroundWindow(first);
        }
        return 0;  // the mutex handle goes with the process
    }

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    g_app.dataDir = DataDirectory();
    CreateDirectoryW(g_app.dataDir.c_str(), nullptr);
    LoadConfig();  // before the menu: "Block ad domains" starts from blockAds

    RegisterMainWindowClass();
    g_app.menuBar = BuildMenuBar();
    g_app.mainWindow = CreateMainWindow();
    ShowWindow(g_app.mainWindow, RestoreWindowPlace(g_app.mainWindow, showCommand));
    UpdateWindow(g_app.mainWindow);
    UpdateTrayIcon();
    StartWebView();

    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        // Tab, Enter and Esc among the site bar's buttons.
        if (g_app.siteBar && IsDialogMessageW(g_app.siteBar, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    ReleaseWebView();
    CoUninitialize();
    CloseHandle(mutex);
    return static_cast<int>(msg.wParam);
}
