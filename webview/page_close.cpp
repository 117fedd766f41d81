#include "webview/page_close.h"

#include "app/app_state.h"
#include "settings/site_address.h"
#include "webview/page_dialogs.h"
#include "webview/view_notices.h"

static const wchar_t kAskAddress[] = L"about:blank";

// The address the view shows; empty when it can't tell.
static std::wstring ViewSource() {
    LPWSTR source = nullptr;
    g_app.webview->get_Source(&source);
    return TakeEngineString(source);
}

bool AskPageToLeave() {
    bool askedAlready = g_app.nav.closeAsked;
    // What the page asked before is moot: its dialogs end as Cancel, and the
    // close asks its own question.
    EndPageDialogs();
    if (askedAlready || !g_app.webview || IsMessageAddress(ViewSource())) return false;
    g_app.nav.closeAsked = true;
    g_app.webview->Navigate(kAskAddress);
    return true;
}

bool TakeCloseNavigation(ICoreWebView2NavigationStartingEventArgs* args, const std::wstring& address) {
    // While the page's question is open the page can't navigate by itself,
    // so the first about:blank to start is the close's own.
    if (!g_app.nav.closeAsked || address != kAskAddress) return false;
    // The page is left as it is: the window goes once the engine's callback
    // has returned.
    args->put_Cancel(TRUE);
    PostViewNotice(kNoticeCloseNow);
    return true;
}

void NoteCloseNavigationCompleted(UINT64 id, BOOL isSuccess, COREWEBVIEW2_WEB_ERROR_STATUS status) {
    // Every navigation that starts is seen by NavigationStarting first; one
    // that completes without it is the close's, refused by the person.
    if (g_app.nav.closeAsked && !isSuccess && status == COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED &&
        id > g_app.nav.lastSeenId)
        g_app.nav.closeAsked = false;
}
