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

bool iconAdded = false;
bool balloonShowing = false;  // a notification shows from the icon

NOTIFYICONDATAW IconData(UINT flags) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = g_app.mainWindow;
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

HICON ProgramIcon(int size96) {
    int size = ScaleForDpi(size96, WindowDpi(g_app.mainWindow));
    return static_cast<HICON>(LoadImageW(g_app.instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_SHARED));
}

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
    NOTIFYICONDATAW data = IconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = ProgramIcon(16);
    lstrcpynW(data.szTip, TrayTooltip(g_app.unreadCount).c_str(), ARRAYSIZE(data.szTip));
    if (iconAdded) {
        Shell_NotifyIconW(NIM_MODIFY, &data);
        return;
    }
    iconAdded = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    data.uVersion = NOTIFYICON_VERSION_4;
    if (iconAdded) Shell_NotifyIconW(NIM_SETVERSION, &data);
}

bool ShowTrayBalloon(const std::wstring& title, const std::wstring& body) {
    balloonShowing = true;
    UpdateTrayIcon();
    NOTIFYICONDATAW data = IconData(NIF_INFO);
    lstrcpynW(data.szInfoTitle, title.c_str(), ARRAYSIZE(data.szInfoTitle));
    lstrcpynW(data.szInfo, body.empty() ? L" " : body.c_str(), ARRAYSIZE(data.szInfo));  // empty: no balloon
    data.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON;
    data.hBalloonIcon = ProgramIcon(32);
    balloonShowing = iconAdded && Shell_NotifyIconW(NIM_MODIFY, &data);
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
    if (message != taskbarCreated) return false;
    iconAdded = false;  // the new taskbar has none of the old icons
    return true;
}

void RemoveTrayIcon() {
    if (!iconAdded) return;
    NOTIFYICONDATAW data = IconData(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
    iconAdded = false;
}

void HideToTray() { ShowWindow(g_app.mainWindow, SW_HIDE); }

void BringWindowBack() {
    HWND window = g_app.mainWindow;
    if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}
