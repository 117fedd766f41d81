#include "app/close.h"

#include <string>

#include "app/app_state.h"
#include "webview/navigation_policy.h"

static const wchar_t kAskAddress[] = L"about:blank";

// The address the view shows; empty when it can't tell.
static std::wstring ViewSource() {
    LPWSTR source = nullptr;
    g_app.webview->get_Source(&source);
    return TakeEngineString(source);
}

void RequestClose() {
    bool waiting = g_app.closeAsked && !g_app.closeAnswered;
    if (waiting || !g_app.webview || IsMessageAddress(ViewSource())) {
        DestroyWindow(g_app.mainWindow);
        return;
    }
    g_app.closeAsked = true;
    g_app.closeAnswered = false;
    g_app.webview->Navigate(kAskAddress);
}

void OnMainWindowEnabled() {
    if (g_app.closeAsked) g_app.closeAnswered = true;
}

bool TakeCloseNavigation(ICoreWebView2NavigationStartingEventArgs* args, const std::wstring& address) {
    if (!g_app.closeAsked || address != kAskAddress) return false;
    // The page is left as it is: the window goes once the engine's callback
    // has returned.
    args->put_Cancel(TRUE);
    PostMessageW(g_app.mainWindow, kCloseNowMessage, 0, 0);
    return true;
}
