#include "webview/process_recovery.h"

#include "app/app_state.h"
#include "webview/message_page.h"
#include "webview/navigation_policy.h"
#include "webview/retry_schedule.h"
#include "webview/view_notices.h"

bool RendererReloadAllowed(ULONGLONG now, ULONGLONG lastReload) {
    return lastReload == 0 || now - lastReload >= kRendererRetryWindowMs;
}

// The page that was shown, or the one that failed to show.
static std::wstring LostPage() {
    const NavigationRecord& nav = g_app.nav;
    const std::wstring& address = nav.failedAddress.empty() ? nav.currentAddress : nav.failedAddress;
    return address.empty() ? g_app.siteUrl : address;
}

// A kiosk never gives the page up: lost again soon after it came back, the
// same page loads again after a longer wait each time, up to a minute, and
// meanwhile the failure page says what happened.
static void RecoverRendererInKiosk(ULONGLONG now) {
    NavigationRecord& nav = g_app.nav;
    if (nav.rendererLostAt && now - nav.rendererLostAt >= kRecoveredAfterMs) nav.recoveryTries = 0;
    nav.rendererLostAt = now;
    DWORD wait = ScaledWait(RecoveryDelayMs(nav.recoveryTries++));
    if (!wait) return ReloadView();
    ShowFailurePage(kPageStoppedSentence, LostPage());
    PostViewNotice(kNoticeTryAgainLater, wait);
}

// A renderer that dies at every load would otherwise be reloaded for ever.
static void RecoverRenderer() {
    NavigationRecord& nav = g_app.nav;
    ULONGLONG now = GetTickCount64();
    if (g_app.kiosk.on) return RecoverRendererInKiosk(now);
    if (RendererReloadAllowed(now, nav.rendererReloadedAt)) {
        nav.rendererReloadedAt = now;
        ReloadView();
        return;
    }
    nav.rendererReloadedAt = 0;  // Reload on the failure page is a fresh try
    ShowFailurePage(kPageStoppedSentence, LostPage());
}

// A browser process that exited takes the view with it: only a new engine
// shows anything again. A renderer that exited or hangs is reloaded.
HRESULT OnProcessFailed(ICoreWebView2ProcessFailedEventArgs* args) {
    COREWEBVIEW2_PROCESS_FAILED_KIND kind = COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED;
    args->get_ProcessFailedKind(&kind);
    switch (kind) {
    case COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED:
        // Once the engine's callback has returned: it still uses the view.
        PostViewNotice(kNoticeRestartEngine);
        break;
    case COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED:
    case COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE:
        RecoverRenderer();
        break;
    default:  // helper processes come back by themselves
        break;
    }
    return S_OK;
}
