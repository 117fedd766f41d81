// The program's icon in the notification area: there while the person keeps
// Velotide running there (View > Keep running in the notification area,
// "tray=1"), and for as long as a notification of the site shows. Its
// tooltip says the unread count; a click brings the window back, and its
// menu opens the window or quits.
#pragma once

#include <windows.h>

#include <string>

#include "app/timers.h"

// The icon's messages to the main window; its timer (kTrayRetryTimer) tries
// again to add an icon Windows did not take.
inline constexpr UINT kTrayMessage = WM_APP + 30;

// Adds, changes or removes the icon as things stand; an icon that could not
// be added is tried again on the timer, for a while.
void UpdateTrayIcon();
// The timer: one more try.
void RetryTrayIcon();
// Whether the icon is there now.
bool TrayIconShown();
// Shows a notification from the icon (added for it when it isn't kept);
// false when Windows took none.
bool ShowTrayBalloon(const std::wstring& title, const std::wstring& body);
// The icon's messages (kTrayMessage); what became of a notification it showed.
enum class TrayEvent { kNone, kNotificationClicked, kNotificationClosed };
TrayEvent OnTrayMessage(WPARAM wParam, LPARAM lParam);
// Whether message is the one Windows sends when the taskbar was created
// (again: Explorer restarted): the icon must be added again.
bool IsTaskbarCreatedMessage(UINT message);
void AddTrayIconAgain();
// Removes the icon, when there is one (the window goes).
void RemoveTrayIcon();

// The close box and Alt+F4 while the program is kept in the notification
// area: the window hides and the page keeps running; minimised instead
// while there is no icon to bring it back.
void HideToTray();
// A click on the icon or a notification, or a second start: the window is
// shown, restored and brought to the front.
void BringWindowBack();

// "Velotide" or "Velotide – 3 unread" (a site app's name for Velotide).
std::wstring TrayTooltip(int unreadCount);
