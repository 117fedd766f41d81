// The one process-wide state record. Touched only on the main thread; engine
// handlers read it afresh at every event, so a command's change applies to
// the next event.
#pragma once

#include <windows.h>
#include <string>

#include "webview/engine.h"

struct AppState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HMENU menuBar = nullptr;  // kept so it can be put back after fullscreen
    std::wstring dataDir;     // no trailing separator
    std::wstring siteUrl;     // empty, or valid and normalised
    std::wstring homeOrigin;  // always SiteOrigin(siteUrl)
    bool blockAds = true;
    static constexpr const wchar_t* adDomain = L"doubleclick.net";
    bool isFullscreen = false;
    bool pageFullscreen = false;
    WINDOWPLACEMENT savedPlacement = {sizeof(WINDOWPLACEMENT), 0, 0, {}, {}, {}};
    ICoreWebView2Environment* environment = nullptr;
    ICoreWebView2Controller* controller = nullptr;
    ICoreWebView2* webview = nullptr;
    bool promptClassRegistered = false;
};

extern AppState g_app;
