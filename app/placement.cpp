#include "app/placement.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

// Plain strtol and to_string rather than the printf family: those would
// bring mingw's own formatting code (some 60 KB) into the executable.
bool ParseWindowPlace(const std::string& value, WindowPlace* place) {
    long numbers[5];
    const char* at = value.c_str();
    for (int i = 0; i < 5; ++i) {
        char* end = nullptr;
        errno = 0;
        numbers[i] = strtol(at, &end, 10);
        // Digits with an optional sign only, each followed by a comma but the last.
        if (end == at || errno || !(isdigit(static_cast<unsigned char>(*at)) || *at == '-')) return false;
        if (*end != (i < 4 ? ',' : '\0')) return false;
        at = end + (i < 4 ? 1 : 0);
    }
    if (numbers[2] <= numbers[0] || numbers[3] <= numbers[1] || (numbers[4] != 0 && numbers[4] != 1)) return false;
    *place = {{numbers[0], numbers[1], numbers[2], numbers[3]}, numbers[4] == 1, true};
    return true;
}

std::string FormatWindowPlace(const WindowPlace& place) {
    const RECT& r = place.normal;
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + "," + (place.maximised ? "1" : "0");
}

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
    SetWindowPlacement(window, &placement);
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
