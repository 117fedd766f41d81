#include "app/fullscreen.h"

#include "app/app_state.h"
#include "app/placement.h"
#include "app/site_bar.h"

// Puts the window over the whole of area, in front.
static void CoverArea(const RECT& area) {
    SetWindowPos(g_app.mainWindow, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

// The whole monitor, not its work area, so the taskbar is covered too.
static bool MonitorArea(HMONITOR on, RECT* area) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(on, &monitor)) return false;
    *area = monitor.rcMonitor;
    return true;
}

bool CoverMonitor(HMONITOR on) {
    RECT area;
    if (!MonitorArea(on, &area)) return false;
    CoverArea(area);
    return true;
}

void SetFullscreen(bool on) {
    // A kiosk covers its monitor for as long as it runs: F11, Esc or the page
    // leaving its own fullscreen don't end it.
    if (!on && g_app.kiosk.on) return;
    HWND window = g_app.mainWindow;
    LONG style = GetWindowLongW(window, GWL_STYLE);
    if (on) {
        GetWindowPlacement(window, &g_app.savedPlacement);
        RECT area;
        if (MonitorArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &area)) {
            SetWindowLongW(window, GWL_STYLE, style & ~WS_OVERLAPPEDWINDOW);
            SetMenu(window, nullptr);
            CoverArea(area);
        }
    } else {
        // Windowed before the placement moves it: a change of monitor on the
        // way is a framed window's, and the placement was taken at the scale
        // of the monitor it goes back to.
        g_app.isFullscreen = false;
        SetWindowLongW(window, GWL_STYLE, style | WS_OVERLAPPEDWINDOW);
        SetMenu(window, g_app.menuBar);
        // Position, size and show state: a maximised window comes back maximised.
        ApplyPlacement(window, g_app.savedPlacement);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    }
    g_app.isFullscreen = on;
    g_app.fullscreenByPage = false;  // the page's handler says otherwise when it was the page
    FitViewToWindow();
}

HRESULT OnPageFullscreenChanged(ICoreWebView2* sender) {
    BOOL contains = FALSE;
    sender->get_ContainsFullScreenElement(&contains);
    bool page = contains != FALSE;
    g_app.pageFullscreen = page;
    // Fullscreen belongs to whoever entered it: a video leaving its own
    // fullscreen ends only the fullscreen it began, not the person's (F11).
    if (page && !g_app.isFullscreen) {
        SetFullscreen(true);
        g_app.fullscreenByPage = true;
    } else if (!page && g_app.isFullscreen && g_app.fullscreenByPage) {
        SetFullscreen(false);
    }
    return S_OK;
}
