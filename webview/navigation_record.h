// What the program knows of the navigations of the one view it has. The
// engine numbers a new view's navigations from 1 again, so a new view starts
// with a fresh record: nothing of a dead view's navigations can be taken for
// one of the new view's. (What it holds of the engine is let go of first.)
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "webview/engine.h"

// A notification of the site Windows is to show, with its text as Windows shows it.
struct WaitingNotification {
    ICoreWebView2Notification* notification;
    std::wstring title, body;
};

// A page's request that waits for the person's answer, its deferral held.
struct WaitingPermission {
    ICoreWebView2PermissionRequestedEventArgs* args;
    ICoreWebView2Deferral* deferral;
};

// A dialog of the page (alert, confirm, prompt, or the question of its
// beforeunload) that waits for the person, its deferral held.
struct WaitingDialog {
    UINT64 number;  // counted over the program's life: tells a dialog from a later one in its place
    ICoreWebView2ScriptDialogOpeningEventArgs* args;
    ICoreWebView2Deferral* deferral;
    COREWEBVIEW2_SCRIPT_DIALOG_KIND kind;
    std::wstring uri, message, defaultText;
    bool forClose;  // the question the close asked the page (it came while the close waited)
};

struct NavigationRecord {
    UINT64 startedId = 0;         // the latest top-level navigation let through,
    std::wstring startedUri;      //   and its address
    UINT64 lastSeenId = 0;        // the latest navigation NavigationStarting reported, let through or not
    std::wstring currentAddress;  // the last web page that loaded
    std::wstring failedAddress;   // while the failure page shows: the address that failed
    bool webPageLoaded = false;   // a web page has loaded in this view
    UINT64 errorPageId = 0;       // the navigation that committed the engine's own error page
    bool openingSite = false;     // the program asked for siteUrl; its navigation has not started
    UINT64 siteNavigationId = 0;  // that navigation, under way (0: none)
    std::wstring siteSentTo;      // where its redirect left the site, when it was cancelled there
    bool closeAsked = false;      // the view was sent to about:blank so that the page's beforeunload runs
    std::deque<WaitingDialog> waitingDialogs;  // the first one shows; the rest wait their turn
    bool hidden = false;          // the view was made invisible as the window was minimised or hidden
    bool asleep = false;          // the view was asked to sleep (TrySuspend) and has not been woken since
    bool sleepRefused = false;    // the runtime said it can't sleep now: not asked again until it was shown
    ULONGLONG rendererReloadedAt = 0;  // when a lost renderer was last reloaded (GetTickCount64; 0: never)
    unsigned failureTries = 0;    // failure pages shown since a page last loaded: how long the next try waits
    ULONGLONG rendererLostAt = 0; // a kiosk's last lost renderer (GetTickCount64; 0: none yet)
    unsigned recoveryTries = 0;   //   and how many it lost since it last came back
    std::vector<WaitingPermission> waitingPermissions;  // notification requests the bar asks the person about
    std::deque<WaitingNotification> notificationsToShow;  // received, not shown yet, the oldest first
    ICoreWebView2Notification* notification = nullptr;   // the site's notification Windows shows
    std::vector<ULONGLONG> notificationTimes;            // when the last minute's were shown
};
