#include "app/main_window.h"

#include "app/allowed_sites.h"
#include "app/app_state.h"
#include "app/close.h"
#include "app/commands.h"
#include "app/create_site_app.h"
#include "app/dpi.h"
#include "app/fullscreen.h"
#include "app/kiosk.h"
#include "app/make_program.h"
#include "app/notifications.h"
#include "app/organisation_policies.h"
#include "app/other_sites.h"
#include "app/out_of_sight.h"
#include "app/page_dialogs.h"
#include "app/placement.h"
#include "app/prompt.h"
#include "app/remove_site_app.h"
#include "app/settings_notice.h"
#include "app/site_app.h"
#include "app/site_bar.h"
#include "app/tray.h"
#include "app/try_again.h"
#include "app/unread_badge.h"
#include "app/start_with_windows.h"
#include "settings/config_store.h"
#include "webview/navigation_policy.h"
#include "webview/page_dialogs.h"
#include "webview/kiosk.h"
#include "webview/startup.h"
#include "webview/view_notices.h"

void RegisterMainWindowClass() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = g_app.instance;
    wc.hIcon = LoadIconW(g_app.instance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(14, 15, 22));
    std::wstring className = MainWindowClass(g_app.appId);
    wc.lpszClassName = className.c_str();
    RegisterClassW(&wc);
}

HMENU BuildMenuBar() {
    HMENU bar = CreateMenu();
    HMENU site = CreatePopupMenu();
    HMENU view = CreatePopupMenu();
    AppendMenuW(site, MF_STRING, ID_SITE_CHANGE, L"Change site address\u2026\tCtrl+L");
    AppendMenuW(site, MF_STRING, ID_SITE_RELOAD, L"Reload\tCtrl+R");
    AppendMenuW(site, MF_STRING, ID_SITE_HOME, L"Home\tAlt+Home");
    AppendMenuW(site, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(site, MF_STRING | (g_app.blockAds ? MF_CHECKED : MF_UNCHECKED), ID_SITE_BLOCK_ADS,
                L"Block ad domains");
    AppendMenuW(site, MF_STRING, ID_SITE_ALLOWED_SITES, L"Allowed sites\u2026");
    AppendMenuW(site, MF_STRING | (g_app.notifications == NotificationsAnswer::kAllow ? MF_CHECKED : MF_UNCHECKED),
                ID_SITE_NOTIFICATIONS, L"Show notifications");
    // Plain Velotide makes site apps; an app removes itself, or is saved as a
    // program file to hand on; a site's own program is the app already.
    if (g_app.program.id.empty() && g_app.appId.empty()) {
        AppendMenuW(site, MF_STRING, ID_SITE_CREATE_APP, L"Create an app for this site\u2026");
    } else if (g_app.program.id.empty()) {
        AppendMenuW(site, MF_STRING, ID_SITE_REMOVE_APP, L"Remove this app\u2026");
        AppendMenuW(site, MF_STRING, ID_SITE_SAVE_PROGRAM, L"Save as a program file\u2026");
    }
    AppendMenuW(site, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(site, MF_STRING, ID_SITE_QUIT, L"Quit");
    AppendMenuW(view, MF_STRING, ID_VIEW_FULLSCREEN, L"Fullscreen\tF11");
    AppendMenuW(view, MF_STRING, ID_VIEW_BACK, L"Back");
    AppendMenuW(view, MF_STRING, ID_VIEW_FORWARD, L"Forward");
    AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(view, MF_STRING | (g_app.keepInTray ? MF_CHECKED : MF_UNCHECKED), ID_VIEW_KEEP_IN_TRAY,
                L"Keep running in the notification area");
    AppendMenuW(view, MF_STRING | (StartsWithWindows(g_app.appId) ? MF_CHECKED : MF_UNCHECKED),
                ID_VIEW_START_WITH_WINDOWS, L"Start with Windows");
    // What the organisation fixes shows its state, greyed.
    for (HMENU menu : {site, view})
        for (int i = GetMenuItemCount(menu); i-- > 0;)
            if (!CommandAvailable(GetMenuItemID(menu, i))) EnableMenuItem(menu, i, MF_BYPOSITION | MF_GRAYED);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(site), L"Site");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"View");
    return bar;
}

HWND CreateMainWindow() {
    HWND window = CreateWindowExW(0, MainWindowClass(g_app.appId).c_str(), ProgramName().c_str(),
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, kMainWidth, kMainHeight, nullptr,
                                  g_app.menuBar, g_app.instance, nullptr);
    // The default size at the DPI of the monitor it opened on, kept inside
    // that monitor's work area. Nothing moves at 96 DPI on a large enough screen.
    UINT dpi = WindowDpi(window);
    RECT rect;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (window && GetWindowRect(window, &rect) &&
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        rect.right = rect.left + ScaleForDpi(kMainWidth, dpi);
        rect.bottom = rect.top + ScaleForDpi(kMainHeight, dpi);
        rect = KeepInside(rect, monitor.rcWork);
        SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetAppWindowIcon(window);
    return window;
}

static void ToggleBlockAds() {
    g_app.blockAds = !g_app.blockAds;
    CheckMenuItem(g_app.menuBar, ID_SITE_BLOCK_ADS, MF_BYCOMMAND | (g_app.blockAds ? MF_CHECKED : MF_UNCHECKED));
    SaveSettings();
    // Load the current page again so all of its requests meet the new setting.
    ReloadView();
}

static void ToggleKeepInTray() {
    g_app.keepInTray = !g_app.keepInTray;
    CheckMenuItem(g_app.menuBar, ID_VIEW_KEEP_IN_TRAY, MF_BYCOMMAND | (g_app.keepInTray ? MF_CHECKED : MF_UNCHECKED));
    SaveSettings();
    UpdateTrayIcon();
}

// The check mark says what the registry holds now, so a value that could not
// be written or removed shows as it is.
static void ToggleStartWithWindows() {
    SetStartWithWindows(g_app.appId, !StartsWithWindows(g_app.appId));
    CheckMenuItem(g_app.menuBar, ID_VIEW_START_WITH_WINDOWS,
                  MF_BYCOMMAND | (StartsWithWindows(g_app.appId) ? MF_CHECKED : MF_UNCHECKED));
}

// Runs menu command id; false when id is not one of ours.
static bool RunCommand(int id) {
    if (!CommandAvailable(id)) return true;
    // A kiosk has no menu; what is posted to it that leads away is dropped.
    if (g_app.kiosk.on && !KioskAllowsCommand(id)) return true;
    switch (id) {
    case ID_SITE_CHANGE:
        PromptForSiteAddress();
        return true;
    case ID_SITE_RELOAD:
        ReloadView();
        return true;
    case ID_SITE_HOME:
        CloseBar(BarTopic::kOtherSite);  // what was stopped before no longer matters
        OpenSite();
        return true;
    case ID_SITE_BLOCK_ADS:
        ToggleBlockAds();
        return true;
    case ID_VIEW_FULLSCREEN:
        SetFullscreen(!g_app.isFullscreen);
        return true;
    case ID_SITE_QUIT:
        RequestClose();
        return true;
    case ID_VIEW_BACK:
        if (g_app.webview) g_app.webview->GoBack();
        return true;
    case ID_VIEW_FORWARD:
        if (g_app.webview) g_app.webview->GoForward();
        return true;
    case ID_SITE_ALLOWED_SITES:
        ShowAllowedSites();
        return true;
    case ID_SITE_NOTIFICATIONS:
        ToggleNotifications();
        return true;
    case ID_VIEW_KEEP_IN_TRAY:
        ToggleKeepInTray();
        return true;
    case ID_SITE_CREATE_APP:
        CreateSiteApp();
        return true;
    case ID_SITE_REMOVE_APP:
        AskToRemoveThisApp();
        return true;
    case ID_SITE_SAVE_PROGRAM:
        SaveAsProgramFile();
        return true;
    case ID_VIEW_START_WITH_WINDOWS:
        ToggleStartWithWindows();
        return true;
    }
    return false;
}

// The engine could not be started: said from the message loop, then the
// program ends with exit code 1.
static void ReportStartupFailure(const wchar_t* message) {
    MessageBoxW(MessageBoxOwner(), message, ProgramName().c_str(), MB_ICONERROR);
    PostQuitMessage(1);
}

// What the view's events want of the window, each to the file of its concern.
static void OnViewNotice(WPARAM notice, LPARAM detail) {
    switch (notice) {
    case kNoticeStoppedLinks:
        ActOnStoppedLinks();
        break;
    case kNoticeOnSite:
        CloseBar(BarTopic::kOtherSite);
        StopTryingAgain();
        break;
    case kNoticeFocusBar:
        FocusSiteBar();
        break;
    case kNoticeCloseNow:
        CloseNow();
        break;
    case kNoticePageDialog:
        ShowPageDialogs();
        break;
    case kNoticeRestartEngine:
        BringBackEngine();
        break;
    case kNoticeTryAgainLater:
        TryAgainLater(static_cast<DWORD>(detail));
        break;
    case kNoticeSessionCleared:
        OnKioskSessionCleared();
        break;
    case kNoticeWoken:
        SleepRuleChanged();
        break;
    case kNoticeAskNotifications:
        AskAboutNotifications();
        break;
    case kNoticeShowNotification:
        ShowSiteNotification();
        break;
    case kNoticeUnreadChanged:
        ShowUnreadCount();
        UpdateTrayIcon();  // its tooltip says the count too
        break;
    case kNoticeSiteIcon:
        FinishCreatingSiteApp();
        break;
    case kNoticeStartupFailed:
        ReportStartupFailure(reinterpret_cast<const wchar_t*>(detail));
        break;
    }
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        // The close box and Alt+F4; Quit always ends the program.
        if (g_app.keepInTray)
            HideToTray();
        else
            RequestClose();
        return 0;
    case WM_SHOWWINDOW:
        FollowWindowSight(!wParam ? Sight::kHidden : IsIconic(window) ? Sight::kMinimised : Sight::kShown);
        if (wParam) MaximiseIfLeftSo(window);
        break;
    case WM_ENDSESSION:
        // Windows ends the session: the window goes as at a quit, without
        // asking the page (nobody could answer); the only end of a kiosk.
        if (wParam) CloseNow();
        return 0;
    case WM_TIMER:
        if (wParam == kTrayRetryTimer)
            RetryTrayIcon();
        else if (wParam == kSiteIconTimer)
            FinishCreatingSiteApp();
        else if (wParam == kTimerSleep)
            OnSleepTimer();
        else if (!OnTryAgainTimer(wParam))
            OnKioskTimer(wParam);
        return 0;
    case WM_DISPLAYCHANGE:
        // The monitor's resolution changed: fullscreen covers it anew.
        if (g_app.isFullscreen) CoverMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
        break;
    case kCloseUnderWayMessage:
        return CloseIsUnderWay();
    case kTrayMessage:
        switch (OnTrayMessage(wParam, lParam)) {
        case TrayEvent::kNotificationClicked:
            NotificationEnded(true);
            break;
        case TrayEvent::kNotificationClosed:
            NotificationEnded(false);
            break;
        case TrayEvent::kNone:
            break;
        }
        return 0;
    case WM_DESTROY:
        // Where the window was, for the next start; but a settings file that
        // could not be read is never overwritten with defaults on the way out.
        TakeWindowPlace(window);
        SaveConfig();
        RemoveTrayIcon();
        EndPageDialogs();  // the view goes: what its page waits for ends as Cancel
        if (g_app.controller) g_app.controller->Close();
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        FollowWindowSight(wParam == SIZE_MINIMIZED ? Sight::kMinimised : WindowSight(window));
        FitViewToWindow();
        return 0;
    case WM_MOVE:
    case WM_MOVING:
        // The page's drop-down lists and input method windows open relative
        // to where the runtime believes the window is.
        if (g_app.controller) g_app.controller->NotifyParentWindowPositionChanged();
        break;
    case kDpiChangedMessage:
        // On a monitor of another scale: the rectangle Windows suggests, or in
        // fullscreen the whole of the new monitor. A placement being put back
        // was taken at the scale of the monitor it is going to: scaled again,
        // it would grow or shrink by the ratio of the two.
        if (g_app.isFullscreen)
            CoverMonitor(MonitorFromRect(reinterpret_cast<const RECT*>(lParam), MONITOR_DEFAULTTONEAREST));
        else if (!g_app.placing)
            TakeSuggestedRect(window, lParam);
        FitViewToWindow();
        if (g_app.unreadCount) ShowUnreadCount();  // the badge drawn for the new DPI
        SetAppWindowIcon(window);
        return 0;
    case WM_SETFOCUS:
        if (g_app.controller) g_app.controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
        return 0;
    case kViewNoticeMessage:
        OnViewNotice(wParam, lParam);
        return 0;
    case WM_GETMINMAXINFO: {
        // Fullscreen (no frame) covers the monitor exactly, however small it
        // is for the scale; framed, the least size at the DPI of its monitor.
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME)) break;
        UINT dpi = WindowDpi(window);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {ScaleForDpi(800, dpi), ScaleForDpi(520, dpi)};
        return 0;
    }
    case WM_COMMAND:
        if (RunCommand(LOWORD(wParam))) return 0;
        break;
    }
    if (IsTaskbarCreatedMessage(message)) AddTrayIconAgain();
    if (IsTaskbarButtonCreatedMessage(message) && g_app.unreadCount) ShowUnreadCount();
    return DefWindowProcW(window, message, wParam, lParam);
}
