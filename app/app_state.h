// The one process-wide state record. Touched only on the main thread; engine
// handlers read it afresh at every event, so a command's change applies to
// the next event.
#pragma once

#include <windows.h>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "webview/engine.h"
#include "webview/other_sites.h"

struct AppState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HMENU menuBar = nullptr;  // kept so it can be put back after fullscreen
    std::wstring dataDir;     // no trailing separator
    std::wstring siteUrl;     // empty, or valid and normalised
    std::wstring homeOrigin;  // always SiteOrigin(siteUrl)
    std::vector<std::wstring> allowedOrigins;  // sites allowed for sign-in, each a SiteOrigin
    bool blockAds = true;
    static constexpr const wchar_t* adDomain = L"doubleclick.net";
    bool isFullscreen = false;
    bool pageFullscreen = false;
    WINDOWPLACEMENT savedPlacement = {sizeof(WINDOWPLACEMENT), 0, 0, {}, {}, {}};
    ICoreWebView2Environment* environment = nullptr;
    ICoreWebView2Controller* controller = nullptr;
    ICoreWebView2* webview = nullptr;
    bool promptClassRegistered = false;
    HWND promptWindow = nullptr;  // the site address prompt while it is open
    HWND siteBar = nullptr;       // the bar naming a stopped link to another site, once made
    std::wstring stoppedAddress;  // the address it names; empty while it is closed
    std::deque<std::pair<StoppedLink, std::wstring>> stoppedLinks;  // clicked links to act on from the loop

    // Navigation bookkeeping, kept by the navigation policy's handlers:
    UINT64 startedId = 0;        // the latest top-level navigation let through,
    std::wstring startedUri;     //   and its address
    std::wstring currentAddress; // the last web page that loaded
    std::wstring failedAddress;  // while the failure page shows: the address that failed
    bool openingSite = false;    // the program asked for siteUrl; its navigation has not started
    UINT64 siteNavigationId = 0; // that navigation, under way (0: none)
    std::wstring siteSentTo;     // where its redirect left the site, when it was cancelled there
    bool engineRestarted = false;  // the engine was started again after its browser process exited
};

extern AppState g_app;
