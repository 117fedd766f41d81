#include "webview/sleeping.h"

#include "webview/handler.h"

bool MaySleep(Sight sight, NotificationsAnswer notifications, unsigned sleepAfterMinutes, bool runtimeRefused) {
    return sight != Sight::kShown && notifications != NotificationsAnswer::kAllow && sleepAfterMinutes > 0 &&
           !runtimeRefused;
}

// The view as interface I, or null where the runtime has no such interface.
template <typename I>
static I* ViewAs(const IID& iid) {
    return AsNewer<I>(g_app.webview, iid);
}

void SetViewMemoryTarget(bool outOfSight) {
    if (auto* view = ViewAs<ICoreWebView2_19>(IID_ICoreWebView2_19)) {
        view->put_MemoryUsageTargetLevel(outOfSight ? COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL_LOW
                                                    : COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL_NORMAL);
        view->Release();
    }
}

void SuspendView() {
    auto* view = ViewAs<ICoreWebView2_3>(IID_ICoreWebView2_3);
    if (!view) return;
    g_app.nav.asleep = true;
    // A refusal (or a failure: the view was shown meanwhile) counts only
    // while the view has not been woken since it was asked.
    HRESULT asked = view->TrySuspend(Give(new OnSuspend_([](HRESULT error, BOOL isSuccessful) {
        if ((FAILED(error) || !isSuccessful) && g_app.nav.asleep) {
            g_app.nav.asleep = false;
            g_app.nav.sleepRefused = true;
        }
        return S_OK;
    })));
    if (FAILED(asked)) {
        g_app.nav.asleep = false;
        g_app.nav.sleepRefused = true;
    }
    view->Release();
}

bool ViewWoke() {
    BOOL suspended = TRUE;
    auto* view = g_app.nav.asleep ? ViewAs<ICoreWebView2_3>(IID_ICoreWebView2_3) : nullptr;
    if (!view) return false;
    g_app.nav.asleep = FAILED(view->get_IsSuspended(&suspended)) || suspended;
    view->Release();
    return !g_app.nav.asleep;
}

void WakeView() {
    if (!g_app.nav.asleep) return;
    g_app.nav.asleep = false;
    if (auto* view = ViewAs<ICoreWebView2_3>(IID_ICoreWebView2_3)) {
        view->Resume();
        view->Release();
    }
}
