#include "app/try_again.h"

#include "app/app_state.h"
#include "app/network_watch.h"
#include "app/timers.h"
#include "webview/navigation_policy.h"
#include "webview/retry_schedule.h"
#include "webview/startup.h"

namespace {

bool tryDue = false;        // a try fell due while the window was hidden or minimised
unsigned restartTries = 0;  // browsers lost again since one last showed a page

bool WindowShown() { return IsWindowVisible(g_app.mainWindow) && !IsIconic(g_app.mainWindow); }

// The address that failed, when the failure page still shows it.
bool FailurePageShows() { return !g_app.nav.failedAddress.empty(); }

void TryNow() {
    KillTimer(g_app.mainWindow, kTimerTryAgain);
    tryDue = false;
    if (!FailurePageShows()) return StopTryingAgain();  // a page loaded meanwhile (Reload, say)
    if (!WindowShown()) {
        tryDue = true;
        return;
    }
    ReloadView();
}

}  // namespace

void TryAgainLater(DWORD waitMs) {
    SetTimer(g_app.mainWindow, kTimerTryAgain, waitMs, nullptr);
    // The network came back: the try falls due now, from the message loop
    // (not inside Windows' call, which the watch may end).
    WatchNetwork(true, [] { SetTimer(g_app.mainWindow, kTimerTryAgain, 0, nullptr); });
}

void StopTryingAgain() {
    KillTimer(g_app.mainWindow, kTimerTryAgain);
    tryDue = false;
    WatchNetwork(false, nullptr);
}

void TryAgainIfDue() {
    if (tryDue) TryNow();
}

void BringBackEngine() {
    if (!g_app.kiosk.on || !g_app.engineRestarted) {
        restartTries = 0;
        RestartWebView();
        return;
    }
    SetTimer(g_app.mainWindow, kTimerRestartEngine, ScaledWait(RecoveryDelayMs(++restartTries)), nullptr);
}

bool OnTryAgainTimer(UINT_PTR id) {
    if (id == kTimerTryAgain) {
        TryNow();
    } else if (id == kTimerRestartEngine) {
        KillTimer(g_app.mainWindow, kTimerRestartEngine);
        RestartWebView();
    } else {
        return false;
    }
    return true;
}
