#include "app/fullscreen.h"

#include "app/app_state.h"
#include "app/main_window.h"

void SetFullscreen(bool on) {
    HWND window = g_app.mainWindow;
    LONG style = GetWindowLongW(window, GWL_STYLE);
    if (on) {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        GetWindowPlacement(window, &g_app.savedPlacement);
        // The whole monitor, not its work area, so the taskbar is covered too.
        if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& area = monitor.rcMonitor;
            SetWindowLongW(window, GWL_STYLE, style & ~WS_OVERLAPPEDWINDOW);
            SetMenu(window, nullptr);
            SetWindowPos(window, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
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
    FitViewToWindow();
}

HRESULT OnPageFullscreenChanged(ICoreWebView2* sender) {
    BOOL contains = FALSE;
    sender->get_ContainsFullScreenElement(&contains);
    bool page = contains != FALSE;
    bool differs = page != g_app.isFullscreen;
    g_app.pageFullscreen = page;
    if (differs) SetFullscreen(page);
    return S_OK;
}
