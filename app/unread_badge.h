// The unread count on the taskbar button: a small badge drawn for the number
// ("99+" above 99) at the window's DPI, the number as its description, and
// in the notification area's tooltip.
#pragma once

#include <windows.h>

#include <string>

// count in decimal digits. (std::to_wstring would bring the C library's
// whole formatting code into the program.)
std::wstring CountText(int count);
// What the badge says for count.
std::wstring BadgeText(int count);
// Draws the badge for count, size pixels square; the caller destroys it.
HICON CreateBadgeIcon(int count, int size);

// Shows g_app.unreadCount on the taskbar button (kNoticeUnreadChanged, a new
// taskbar button, a new DPI).
void ShowUnreadCount();
// Whether message is the one Windows sends once the window's taskbar button
// exists (an overlay can be put on it from then on).
bool IsTaskbarButtonCreatedMessage(UINT message);
