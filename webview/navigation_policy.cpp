#include "webview/navigation_policy.h"

#include "app/app_state.h"
#include "settings/site_address.h"
#include "webview/startup.h"

// Whether address starts with scheme (lower-case) in any letter case. Only
// the prefix is lowered: the answer is the same as for the whole address, and
// this runs for every navigation.
static bool StartsWithScheme(const std::wstring& address, const std::wstring& scheme) {
    return LowerCase(address.substr(0, scheme.size())) == scheme;
}

bool IsAllowedNavigation(const std::wstring& address, const std::wstring& homeOrigin) {
    // Pages loaded from a string (the welcome and failure pages) arrive with
    // such addresses and must pass whichever site is configured.
    if (StartsWithScheme(address, L"data:") || StartsWithScheme(address, L"about:")) return true;
    return SiteOrigin(address) == homeOrigin;
}

bool NeedsFailurePage(BOOL isSuccess, COREWEBVIEW2_WEB_ERROR_STATUS status) {
    // A navigation we cancelled ends as "operation canceled": the page that
    // was shown stays.
    return !isSuccess && status != COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED;
}

HRESULT OnNewWindowRequested(ICoreWebView2NewWindowRequestedEventArgs* args) {
    // Handled without a new window: nothing opens and nothing loads.
    args->put_Handled(TRUE);
    return S_OK;
}

HRESULT OnNavigationStarting(ICoreWebView2NavigationStartingEventArgs* args) {
    LPWSTR uri = nullptr;  // a failed call leaves it null: the empty address
    args->get_Uri(&uri);
    std::wstring address = uri ? uri : L"";
    if (uri) CoTaskMemFree(uri);
    if (!IsAllowedNavigation(address, g_app.homeOrigin)) args->put_Cancel(TRUE);
    return S_OK;
}

HRESULT OnNavigationCompleted(ICoreWebView2NavigationCompletedEventArgs* args) {
    BOOL isSuccess = TRUE;  // a failed call must not put up the failure page
    args->get_IsSuccess(&isSuccess);
    if (isSuccess) return S_OK;
    // The navigation did fail; if its status cannot be had, say so rather
    // than leave the view on a half-loaded page.
    COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    args->get_WebErrorStatus(&status);
    if (NeedsFailurePage(isSuccess, status))
        ShowMessagePage(L"Can't reach the site",
                        L"Check your connection, or use Site &rsaquo; Change site address.");
    return S_OK;
}
