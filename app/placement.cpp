#include "app/placement.h"

bool PlaceShowsOn(const RECT& rect, const RECT& workArea) {
    LONG left = rect.left > workArea.left ? rect.left : workArea.left;
    LONG right = rect.right < workArea.right ? rect.right : workArea.right;
    LONG needed = rect.right - rect.left < 100 ? rect.right - rect.left : 100;
    return rect.top >= workArea.top && rect.top < workArea.bottom && right - left >= needed;
}

// A window's normal place is kept in workspace coordinates: screen
// coordinates less a taskbar at the top or left of the primary monitor.
static RECT OnScreen(RECT rect) {
    MONITORINFO primary = {};
    primary.cbSize = sizeof(primary);
    if (GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary))
        OffsetRect(&rect, primary.rcWork.left - primary.rcMonitor.left, primary.rcWork.top - primary.rcMonitor.top);
    return rect;
}

void ApplyPlacement(HWND window, const WINDOWPLACEMENT& placement) {
    g_app.placing = true;
    SetWindowPlacement(window, &placement);
    g_app.placing = false;
}

int RestoreWindowPlace(HWND window, int showCommand) {
    if (!g_app.place.known) return showCommand;
    // Larger than any window may be (an edited line), the window would be
    // cut to that size at the rectangle's corner: off every monitor.
    const RECT& normal = g_app.place.normal;
    if (LONGLONG(normal.right) - normal.left > GetSystemMetrics(SM_CXMAXTRACK) ||
        LONGLONG(normal.bottom) - normal.top > GetSystemMetrics(SM_CYMAXTRACK))
        return showCommand;
    RECT rect = OnScreen(normal);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    HMONITOR on = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    if (!on || !GetMonitorInfoW(on, &monitor) || !PlaceShowsOn(rect, monitor.rcWork)) return showCommand;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    placement.showCmd = SW_HIDE;  // shown by the caller
    placement.rcNormalPosition = g_app.place.normal;
    // Out of the way at the start (in the background, say), a window left
    // maximised comes back maximised: from the taskbar as Windows restores
    // it, and from hiding when it is first shown.
    bool minimised = showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE;
    if (g_app.place.maximised && minimised) {
        placement.showCmd = showCommand;
        placement.flags = WPF_RESTORETOMAXIMIZED;
    }
    g_app.maximiseWhenShown = g_app.place.maximised && showCommand == SW_HIDE;
    ApplyPlacement(window, placement);
    // A start asked for as usual opens maximised again; one asked to open
    // minimised or hidden keeps that.
    bool usual = showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT || showCommand == SW_SHOW;
    return g_app.place.maximised && usual ? SW_SHOWMAXIMIZED : showCommand;
}

void MaximiseIfLeftSo(HWND window) {
    if (!g_app.maximiseWhenShown) return;
    g_app.maximiseWhenShown = false;
    ShowWindowAsync(window, SW_SHOWMAXIMIZED);  // once this show is over
}

void TakeWindowPlace(HWND window) {
    if (g_app.maximiseWhenShown) return;  // never shown: the place it was given stays
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (g_app.isFullscreen)
        placement = g_app.savedPlacement;
    else if (!GetWindowPlacement(window, &placement))
        return;
    // A minimised window comes back as it was before: maximised or not.
    bool maximised = placement.showCmd == SW_SHOWMAXIMIZED ||
                     (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED));
    RECT normal = placement.rcNormalPosition;
    if (normal.right > normal.left && normal.bottom > normal.top) g_app.place = {normal, maximised, true};
}
