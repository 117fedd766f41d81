#include "app/fullscreen.h"

#include "app/app_state.h"
#include "app/main_window.h"

bool CoverMonitor(HMONITOR on) {
    HWND window = g_app.mainWindow;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    // The whole monitor, not its work area, so the taskbar is covered too.
    if (!GetMonitorInfoW(on, &monitor)) return false;
    const RECT& area = monitor.rcMonitor;
    SetWindowPos(window, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    return true;
}

void SetFullscreen(bool on) {
    HWND window = g_app.mainWindow;
    LONG style = GetWindowLongW(window, GWL_STYLE);
    if (on) {
        GetWindowPlacement(window, &g_app.savedPlacement);
        HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoW(monitor, &info)) {
            SetWindowLongW(window, GWL_STYLE, style & ~WS_OVERLAPPEDWINDOW);
            SetMenu(window, nullptr);
            CoverMonitor(monitor);
        }
    } else {
        SetWindowLongW(window, GWL_STYLE, style | WS_OVERLAPPEDWINDOW);
        SetMenu(window, g_app.menuBar);
        // Position, size and show state: a maximised window comes back maximised.
        SetWindowPlacement(window, &g_app.savedPlacement);
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
