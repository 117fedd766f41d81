// The one process-wide state record. Touched only on the main thread; engine
// handlers read it afresh at every event, so a command's change applies to
// the next event.
#pragma once

#include <windows.h>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "settings/window_place.h"
#include "webview/engine.h"
#include "webview/navigation_record.h"
#include "webview/other_sites.h"

// The person's answer to the site's wish to show notifications ("notifications=").
enum class NotificationsAnswer { kAsk, kAllow, kBlock };

// Kiosk mode: the site on a screen nobody sits at (--kiosk). Fixed for the run;
// nothing of it is kept in config.ini.
struct KioskMode {
    bool on = false;
    bool allowSleep = false;  // --kiosk-allow-sleep: Windows may turn the display off
    unsigned idleMinutes = 0; // --kiosk-idle-minutes: the session is cleared after this long without input; 0 never
    bool inPrivate = false;   // --kiosk-public: the view keeps nothing of a visitor on disk
};

// What a site's own program was made with (the preset in its resources).
// Its site and name are fixed; config.ini adds to its allowed sites and may
// answer notifications otherwise. An empty id: plain Velotide or a site app.
struct ProgramPreset {
    std::wstring id, name, siteUrl;  // siteUrl valid and normalised
    std::vector<std::wstring> allowedOrigins;
    NotificationsAnswer notifications = NotificationsAnswer::kAsk;
};

// Settings the person can't change, fixed by the organisation's policies
// (settings/organisation_policies) or, the site, by a site's own program:
// their menu items show the value, greyed, and config.ini keeps the person's
// own lines for them, for when the policy goes.
struct FixedSettings {
    bool site = false, allowedSites = false, blockAds = false, notifications = false, keepInTray = false;
};

// Where the view keeps the site's sign-in, storage, cache and permissions:
// a user-data folder of the runtime's and a profile in it.
struct ViewProfile {
    std::wstring userDataFolder;
    std::wstring profileName;  // "" for the folder's default profile
};

struct AppState {
    HINSTANCE instance = nullptr;
    std::wstring appId;    // the site app this program runs as (--app); empty for plain Velotide
    std::wstring appName;  // its name ("name=")
    ProgramPreset program;  // the site's own program this exe is, if it is one
    HWND mainWindow = nullptr;
    HMENU menuBar = nullptr;  // kept so it can be put back after fullscreen
    std::wstring dataDir;     // no trailing separator
    ViewProfile profile;      // the view's (app/site_app's ProfileOf); the data folder's own where it can't be made
    std::wstring siteUrl;     // empty, or valid and normalised
    std::wstring homeOrigin;  // always SiteOrigin(siteUrl)
    std::vector<std::wstring> allowedOrigins;  // sites allowed for sign-in, each a SiteOrigin
    bool blockAds = true;
    NotificationsAnswer notifications = NotificationsAnswer::kAsk;
    bool keepInTray = false;       // "tray=1": the close box hides the window to the notification area
    // "sleepAfter=": minutes out of sight before a site that may not notify is suspended; 0 never.
    static constexpr unsigned kDefaultSleepAfter = 10;
    unsigned sleepAfterMinutes = kDefaultSleepAfter;
    bool startedInBackground = false;  // started with --background (by Windows at sign-in)
    KioskMode kiosk;
    static constexpr const wchar_t* adDomain = L"doubleclick.net";
    bool isFullscreen = false;
    bool pageFullscreen = false;
    bool fullscreenByPage = false;  // the page's fullscreen element, not the person, entered fullscreen
    WINDOWPLACEMENT savedPlacement = {sizeof(WINDOWPLACEMENT), 0, 0, {}, {}, {}};
    bool placing = false;  // a placement taken at its own scale is being put back: no DPI change rescales it
    WindowPlace place;     // the "window=" line of config.ini
    bool maximiseWhenShown = false;  // kept hidden since the start, and left maximised at the last quit
    bool configUnread = false;  // config.ini exists but could not be read at start
    std::vector<std::string> linesAsRead;  // config.ini's lines of known keys, as read at start
    FixedSettings fixed;
    // What the organisation turned off: the command, site apps, the bar for links to other sites.
    bool startWithWindowsOff = false, createAppsOff = false, otherSitesBarOff = false;
    ICoreWebView2Environment* environment = nullptr;
    ICoreWebView2Controller* controller = nullptr;
    ICoreWebView2* webview = nullptr;
    bool promptClassRegistered = false;
    HWND promptWindow = nullptr;  // the site address prompt while it is open
    HWND siteBar = nullptr;       // the bar across the top of the window, once made
    std::wstring barSubject;      // what the bar's buttons act on (a link's address, say)
    std::deque<std::pair<StoppedLink, std::wstring>> stoppedLinks;  // clicked links to act on from the loop

    NavigationRecord nav;  // the current view's; a new view starts a new one
    std::wstring pageTitle;  // the start of the page's title
    int unreadCount = 0;     // the count the title begins with; 0 for none
    std::wstring newAppName;  // the name of the site app being made, while its icon is fetched
    std::string siteIconPng;  // the site's icon, fetched for it
    // Process recovery:
    bool engineRestarted = false;  // the engine was started again and has not shown a page since
    std::wstring reopenAddress;    // the page a restarted engine opens again
};

extern AppState g_app;
