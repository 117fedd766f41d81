// What the view's events want of the window. The events run inside the
// engine's callbacks; what they want of the window is posted to it, and the
// window's own file for that concern acts once the callback has returned.
#pragma once

#include <windows.h>

#include "app/app_state.h"

// The one message: wParam a ViewNotice, lParam its detail.
inline constexpr UINT kViewNoticeMessage = WM_APP + 1;

enum ViewNotice : WPARAM {
    kNoticeStoppedLinks,   // clicked links wait in g_app.stoppedLinks
    kNoticeOnSite,         // a page of the site loaded: a link the bar names no longer matters
    kNoticeFocusBar,       // F6: the keyboard focus into the bar
    kNoticeCloseNow,       // the page agreed to be left: the window goes
    kNoticePageDialog,     // a dialog of the page waits in g_app.nav.waitingDialogs
    kNoticeRestartEngine,  // the browser process exited: the view is gone for good
    kNoticeAskNotifications,  // the site asks to show notifications: the bar asks the person
    kNoticeShowNotification,  // a notification of the site waits in g_app.nav.notification
    kNoticeUnreadChanged,     // the page's title gives another unread count (g_app.unreadCount)
    kNoticeSiteIcon,          // the site's icon asked for is in g_app.siteIconPng (or isn't to be had)
    kNoticeTryAgainLater,     // the failure page shows; detail: how long to wait before it loads its address again (ms)
    kNoticeSessionCleared,    // a kiosk's profile forgot the last visitor: the site starts afresh
    kNoticeWoken,             // a navigation woke the view put to sleep: it may be put to sleep again
    kNoticeStartupFailed,  // the engine could not be started; detail: the message (a static string)
};

inline void PostViewNotice(ViewNotice notice, LPARAM detail = 0) {
    PostMessageW(g_app.mainWindow, kViewNoticeMessage, notice, detail);
}
