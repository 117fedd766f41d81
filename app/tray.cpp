#include "app/tray.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "app/close.h"
#include "app/dpi.h"
#include "app/site_app.h"
#include "app/unread_badge.h"

namespace {

const UINT kIconId = 1;
enum : UINT { kOpenItem = 1, kQuitItem = 2 };
// Adding the icon fails now and then (commonly a time-out while the taskbar
// is busy at sign-in): tried again every few seconds, for two minutes.
const UINT kRetryMs = 3000;
const int kRetries = 40;

bool iconAdded = false;
bool balloonShowing = false;  // a notification shows from the icon
int retriesLeft = 0;          // while the retry timer runs

NOTIFYICONDATAW IconData(UINT flags) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = g_app.mainWindow;
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

// The program's own icon (a site app's its own) at the window's DPI; the
// shell keeps a copy, so the caller destroys it.
HICON OwnIcon(int size96) { return LoadOwnIcon(ScaleForDpi(size96, WindowDpi(g_app.mainWindow))); }

void ShowTrayMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kOpenItem, (L"Open " + ProgramName()).c_str());
    AppendMenuW(menu, MF_STRING, kQuitItem, L"Quit");
    SetMenuDefaultItem(menu, kOpenItem, FALSE);
    POINT at;
    GetCursorPos(&at);
    // The menu closes as soon as the person clicks elsewhere only while the
    // window is in front.
    SetForegroundWindow(g_app.mainWindow);
    UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                 g_app.mainWindow, nullptr);
    PostMessageW(g_app.mainWindow, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == kOpenItem) BringWindowBack();
    if (chosen == kQuitItem) RequestClose();
}

}  // namespace

std::wstring TrayTooltip(int unreadCount) {
    return unreadCount > 0 ? ProgramName() + L" \u2013 " + CountText(unreadCount) + L" unread" : ProgramName();
}

void UpdateTrayIcon() {
    bool wanted = g_app.keepInTray || balloonShowing;
    if (!wanted) return RemoveTrayIcon();
    // With version 4 Windows shows the tooltip only when asked to.
    NOTIFYICONDATAW data = IconData(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = OwnIcon(16);
    lstrcpynW(data.szTip, TrayTooltip(g_app.unreadCount).c_str(), ARRAYSIZE(data.szTip));
    if (iconAdded) {
        Shell_NotifyIconW(NIM_MODIFY, &data);
    } else if ((iconAdded = Shell_NotifyIconW(NIM_ADD, &data) != FALSE)) {
        data.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconW(NIM_SETVERSION, &data);
    } else if (!retriesLeft) {
        retriesLeft = kRetries;
        SetTimer(g_app.mainWindow, kTrayRetryTimer, kRetryMs, nullptr);
    }
    DestroyIcon(data.hIcon);
}

void RetryTrayIcon() {
    --retriesLeft;
    UpdateTrayIcon();
    if (iconAdded || retriesLeft <= 0 || !(g_app.keepInTray || balloonShowing)) {
        KillTimer(g_app.mainWindow, kTrayRetryTimer);
        retriesLeft = 0;
    }
}

bool ShowTrayBalloon(const std::wstring& title, const std::wstring& body) {
    balloonShowing = true;
    UpdateTrayIcon();
    NOTIFYICONDATAW data = IconData(NIF_INFO);
    lstrcpynW(data.szInfoTitle, title.c_str(), ARRAYSIZE(data.szInfoTitle));
    lstrcpynW(data.szInfo, body.empty() ? L" " : body.c_str(), ARRAYSIZE(data.szInfo));  // empty: no balloon
    data.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON;
    data.hBalloonIcon = OwnIcon(32);
    balloonShowing = iconAdded && Shell_NotifyIconW(NIM_MODIFY, &data);
    DestroyIcon(data.hBalloonIcon);
    if (!balloonShowing) UpdateTrayIcon();
    return balloonShowing;
}

TrayEvent OnTrayMessage(WPARAM, LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case NIN_SELECT:
    case NIN_KEYSELECT:
        BringWindowBack();
        break;
    case WM_CONTEXTMENU:
        ShowTrayMenu();
        break;
    case NIN_BALLOONUSERCLICK:
    case NIN_BALLOONTIMEOUT:
    case NIN_BALLOONHIDE: {
        bool clicked = LOWORD(lParam) == NIN_BALLOONUSERCLICK;
        balloonShowing = false;
        if (clicked) BringWindowBack();
        UpdateTrayIcon();  // gone again unless it is kept
        return clicked ? TrayEvent::kNotificationClicked : TrayEvent::kNotificationClosed;
    }
    }
    return TrayEvent::kNone;
}

bool IsTaskbarCreatedMessage(UINT message) {
    static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    return message == taskbarCreated;
}

void AddTrayIconAgain() {
    iconAdded = false;  // the new taskbar has none of the old icons
    UpdateTrayIcon();
    // A hidden window without its icon could never be brought back.
    if (!iconAdded && !IsWindowVisible(g_app.mainWindow)) ShowWindow(g_app.mainWindow, SW_SHOWMINNOACTIVE);
}

void RemoveTrayIcon() {
    if (!iconAdded) return;
    NOTIFYICONDATAW data = IconData(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
    iconAdded = false;
}

bool TrayIconShown() { return iconAdded; }

void HideToTray() {
    if (!iconAdded) UpdateTrayIcon();
    // Without the icon there would be no way back: on the taskbar meanwhile.
    ShowWindow(g_app.mainWindow, iconAdded ? SW_HIDE : SW_MINIMIZE);
}

void BringWindowBack() {
    HWND window = g_app.mainWindow;
    if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}
