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
    RECT rect = OnScreen(g_app.place.normal);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    HMONITOR on = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    if (!on || !GetMonitorInfoW(on, &monitor) || !PlaceShowsOn(rect, monitor.rcWork)) return showCommand;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    placement.showCmd = SW_HIDE;  // shown by the caller
    placement.rcNormalPosition = g_app.place.normal;
    ApplyPlacement(window, placement);
    // A start asked for as usual opens maximised again; one asked to open
    // minimised or hidden keeps that.
    bool usual = showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT || showCommand == SW_SHOW;
    return g_app.place.maximised && usual ? SW_SHOWMAXIMIZED : showCommand;
}

void TakeWindowPlace(HWND window) {
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
