// What the site may do beyond showing pages. Notifications are the person's
// to allow, once, for the site's own origin: the answer is kept as
// "notifications=" in the settings file, the one truth, and the view's
// profile is made to say the same (so that the site's next documents, after
// a reload or a restart, find the answer the runtime keeps), never by an
// answer to a request of its own. Every other kind (camera, microphone,
// location, ...) of the site is left to the runtime's own prompt; nothing is
// granted to a frame of another site.
#pragma once

#include "app/app_state.h"
#include "webview/engine.h"

enum class PermissionDecision { kRuntimeDefault, kAllow, kDeny, kAskPerson };

// The answer for a request of kind from the site's own origin (fromSite) or
// another, with the stored answer about notifications.
PermissionDecision DecidePermission(COREWEBVIEW2_PERMISSION_KIND kind, bool fromSite, NotificationsAnswer stored);

// Whether origin, a string the engine handed out (freed here in every case),
// is the site's own.
bool IsSiteOrigin(LPWSTR origin);

// Body of PermissionRequested. A request the person must answer waits (its
// deferral held) and the window is asked to show the question
// (kNoticeAskNotifications). Returns S_OK.
HRESULT OnPermissionRequested(ICoreWebView2PermissionRequestedEventArgs* args);

// Answers every request that waits for the person: allowed or not. Not
// allowed and not answered (the bar was closed) is the same for the page:
// refused, this time.
void AnswerWaitingPermissions(bool allow);

// Makes the view's profile keep, for the site's notifications, what the
// settings say: allowed, blocked, or nothing (asked again). othersToo, for a
// new view or a new site: every other origin the profile keeps an answer for
// (a site before, in this run or an earlier one) goes back to asking, once
// the profile has listed them; no other origin gains one while the site
// stays. Where the runtime has no ICoreWebView2Profile4 each request is
// answered on its own, as before.
void SetSiteNotificationState(bool othersToo);

// Registers PermissionRequested on the view.
void AddPermissionHandler(ICoreWebView2* view);
