#include "webview/process_recovery.h"

#include "app/app_state.h"
#include "app/fullscreen.h"
#include "webview/message_page.h"
#include "webview/navigation_policy.h"
#include "webview/startup.h"

bool RendererReloadAllowed(ULONGLONG now, ULONGLONG lastReload) {
    return lastReload == 0 || now - lastReload >= kRendererRetryWindowMs;
}

// A renderer that dies at every load would otherwise be reloaded for ever.
static void RecoverRenderer() {
    ULONGLONG now = GetTickCount64();
    if (RendererReloadAllowed(now, g_app.rendererReloadedAt)) {
        g_app.rendererReloadedAt = now;
        ReloadView();
        return;
    }
    g_app.rendererReloadedAt = 0;  // Reload on the failure page is a fresh try
    const std::wstring& address = g_app.failedAddress.empty() ? g_app.currentAddress : g_app.failedAddress;
    ShowFailurePage(kPageStoppedSentence, address.empty() ? g_app.siteUrl : address);
}

// A browser process that exited takes the view with it: only a new engine
// shows anything again. A renderer that exited or hangs is reloaded.
HRESULT OnProcessFailed(ICoreWebView2ProcessFailedEventArgs* args) {
    COREWEBVIEW2_PROCESS_FAILED_KIND kind = COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED;
    args->get_ProcessFailedKind(&kind);
    switch (kind) {
    case COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED:
        // Once the engine's callback has returned: it still uses the view.
        PostMessageW(g_app.mainWindow, kRestartEngineMessage, 0, 0);
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

void RestartWebView() {
    if (g_app.engineRestarted) {
        ReportRuntimeMissing();
        return;
    }
    g_app.engineRestarted = true;
    // The page that was fullscreen is gone: nothing would ever end it.
    if (g_app.pageFullscreen) {
        g_app.pageFullscreen = false;
        SetFullscreen(false);
    }
    ReleaseWebView();  // the old controller is closed for good
    StartEngine();
}
