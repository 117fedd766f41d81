// The site's notifications, shown by Windows from the program's icon in the
// notification area while the person allows them (where the runtime lets the
// program show them: ICoreWebView2_24; an older one shows its own). Another
// site's, or the site's while they are blocked, are taken and never shown.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "webview/engine.h"

// At most this many shown a minute; the rest are reported closed at once.
inline constexpr size_t kNotificationsPerMinute = 10;
// What Windows shows of a notification's title and body, in characters.
inline constexpr size_t kNotificationTitleLength = 63, kNotificationBodyLength = 255;

// Whether one more may be shown at now (milliseconds), given when the last
// ones were (kept to the last minute's; now is added when it may).
bool MayShowNotification(std::vector<ULONGLONG>& shownAt, ULONGLONG now);
// text as one plain line: control characters as spaces, cut to at most
// length characters with an ellipsis.
std::wstring NotificationText(const std::wstring& text, size_t length);

// Body of NotificationReceived. One to show waits in g_app.nav, behind any
// others (kNoticeShowNotification, one for each). Returns S_OK.
HRESULT OnNotificationReceived(ICoreWebView2NotificationReceivedEventArgs* args);
// The oldest waiting becomes the one the window shows, its text in title and
// body; the one shown before is closed. False when none waits.
bool NextNotification(std::wstring* title, std::wstring* body);

enum class NotificationOutcome { kShown, kClicked, kClosed };
// What became of the notification the window shows: the page hears of it.
// Clicked or closed, it is done with.
void ReportNotification(NotificationOutcome outcome);
// The view goes: the one shown and those waiting are closed.
void DropNotifications();

// Registers NotificationReceived where the view offers it.
void AddNotificationHandler(ICoreWebView2* view);
