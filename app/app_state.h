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

// Where the main window was at the last quit: its normal (restored)
// rectangle and whether it was maximised; known once read or taken.
struct WindowPlace {
    RECT normal = {};
    bool maximised = false;
    bool known = false;
};

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
    bool fullscreenByPage = false;  // the page's fullscreen element, not the person, entered fullscreen
    WINDOWPLACEMENT savedPlacement = {sizeof(WINDOWPLACEMENT), 0, 0, {}, {}, {}};
    WindowPlace place;  // the "window=" line of config.ini
    bool configUnread = false;  // config.ini exists but could not be read at start
    ICoreWebView2Environment* environment = nullptr;
    ICoreWebView2Controller* controller = nullptr;
    ICoreWebView2* webview = nullptr;
    bool promptClassRegistered = false;
    HWND promptWindow = nullptr;  // the site address prompt while it is open
    bool viewHidden = false;      // the view was hidden as the window was minimised
    bool closeAsked = false;      // the view was sent away so that the page's beforeunload runs
    bool closeAnswered = false;   //   and a box over the window (the page's question) was answered since
    HWND siteBar = nullptr;       // the bar naming a stopped link to another site, once made
    std::wstring stoppedAddress;  // the address it names; empty while it is closed
    std::deque<std::pair<StoppedLink, std::wstring>> stoppedLinks;  // clicked links to act on from the loop

    // Navigation bookkeeping, kept by the navigation policy's handlers:
    UINT64 startedId = 0;        // the latest top-level navigation let through,
    std::wstring startedUri;     //   and its address
    std::wstring currentAddress; // the last web page that loaded
    std::wstring failedAddress;  // while the failure page shows: the address that failed
    bool webPageLoaded = false;  // a web page has loaded in this view (a new view has none)
    UINT64 errorPageId = 0;      // the navigation that committed the engine's own error page
    bool openingSite = false;    // the program asked for siteUrl; its navigation has not started
    UINT64 siteNavigationId = 0; // that navigation, under way (0: none)
    std::wstring siteSentTo;     // where its redirect left the site, when it was cancelled there
    // Process recovery:
    bool engineRestarted = false;      // the engine was started again and has not shown a page since
    ULONGLONG rendererReloadedAt = 0;  // when a lost renderer was last reloaded (GetTickCount64; 0: never)
};

extern AppState g_app;
