#include "webview/navigation_policy.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/close.h"
#include "app/site_bar.h"
#include "settings/site_address.h"
#include "webview/lock_gaps.h"
#include "webview/message_page.h"
#include "webview/other_sites.h"

bool IsMessageAddress(const std::wstring& address) {
    return StartsWithScheme(address, L"data:") || StartsWithScheme(address, L"about:");
}

bool IsAllowedNavigation(const std::wstring& address, const std::wstring& homeOrigin,
                         const std::vector<std::wstring>& allowedOrigins) {
    // The welcome and failure pages must pass whichever site is configured.
    if (IsMessageAddress(address)) return true;
    std::wstring origin = SiteOrigin(address);
    return origin == homeOrigin || std::find(allowedOrigins.begin(), allowedOrigins.end(), origin) != allowedOrigins.end();
}

bool NeedsFailurePage(BOOL isSuccess, COREWEBVIEW2_WEB_ERROR_STATUS status, int httpStatusCode,
                      bool committedErrorPage, bool webPageLoaded) {
    // A navigation we cancelled ends as "operation canceled": the page that
    // was shown stays. A runtime fails a 4xx answer too, but the site was
    // reached and shows its own page. A real network failure commits the
    // engine's error page first; a view with nothing in it yet would stay blank.
    return !isSuccess && status != COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED && httpStatusCode == 0 &&
           (committedErrorPage || !webPageLoaded);
}

void OpenSite() {
    CloseSiteBar();  // Home or a new address: what was stopped before no longer matters
    if (!g_app.webview || g_app.siteUrl.empty()) return;
    g_app.openingSite = true;
    g_app.webview->Navigate(g_app.siteUrl.c_str());
}

void ReloadView() {
    if (!g_app.webview) return;
    if (g_app.failedAddress.empty())
        g_app.webview->Reload();  // a reload of the failure page would only show it again
    else if (g_app.failedAddress == g_app.siteUrl)
        OpenSite();
    else
        g_app.webview->Navigate(g_app.failedAddress.c_str());
}

HRESULT OnNewWindowRequested(ICoreWebView2NewWindowRequestedEventArgs* args) {
    // Handled without a new window: nothing opens and nothing loads.
    args->put_Handled(TRUE);
    LPWSTR uri = nullptr;
    BOOL userInitiated = FALSE;
    args->get_Uri(&uri);
    args->get_IsUserInitiated(&userInitiated);
    std::wstring address = TakeEngineString(uri);
    // A pop-up of the site itself (or of a site allowed for sign-in) is only swallowed.
    if (!IsAllowedNavigation(address, g_app.homeOrigin, g_app.allowedOrigins)) OnStoppedLink(address, userInitiated);
    return S_OK;
}

HRESULT OnNavigationStarting(ICoreWebView2NavigationStartingEventArgs* args) {
    LPWSTR uri = nullptr;  // a failed call leaves it null: the empty address
    args->get_Uri(&uri);
    std::wstring address = TakeEngineString(uri);
    if (TakeCloseNavigation(args, address)) return S_OK;
    UINT64 id = 0;
    BOOL redirected = FALSE;
    BOOL userInitiated = FALSE;
    args->get_NavigationId(&id);
    args->get_IsRedirected(&redirected);
    args->get_IsUserInitiated(&userInitiated);
    // The program's own load of the site is the first navigation to start
    // after it asked: the engine reports the address in its own form, which
    // need not be the text as typed.
    if (g_app.openingSite && !redirected) {
        g_app.openingSite = false;
        g_app.siteNavigationId = id;
    }
    if (!IsAllowedNavigation(address, g_app.homeOrigin, g_app.allowedOrigins)) {
        args->put_Cancel(TRUE);
        if (id && id == g_app.siteNavigationId) g_app.siteSentTo = address;
        OnStoppedLink(address, userInitiated);
        return S_OK;
    }
    g_app.startedId = id;
    g_app.startedUri = address;
    return S_OK;
}

void NoteErrorPage(ICoreWebView2ContentLoadingEventArgs* args) {
    UINT64 id = 0;
    BOOL isErrorPage = FALSE;  // unreadable: the completion's own values decide
    args->get_NavigationId(&id);
    args->get_IsErrorPage(&isErrorPage);
    if (isErrorPage) g_app.errorPageId = id;
}

HRESULT OnContentLoading(ICoreWebView2* view, ICoreWebView2ContentLoadingEventArgs* args) {
    // A document of another site is replaced at once: its error page, if it
    // is one, is no failure of the site's.
    if (!GateNewDocument(view)) NoteErrorPage(args);
    return S_OK;
}

// The HTTP status of the navigation's answer, 0 when none came or the
// runtime is too old to tell.
static int HttpStatusCode(ICoreWebView2NavigationCompletedEventArgs* args) {
    ICoreWebView2NavigationCompletedEventArgs2* args2 = nullptr;
    int status = 0;
    if (SUCCEEDED(args->QueryInterface(IID_ICoreWebView2NavigationCompletedEventArgs2,
                                       reinterpret_cast<void**>(&args2))) &&
        args2) {
        args2->get_HttpStatusCode(&status);
        args2->Release();
    }
    return status;
}

HRESULT OnNavigationCompleted(ICoreWebView2NavigationCompletedEventArgs* args) {
    UINT64 id = 0;
    args->get_NavigationId(&id);
    // The address the navigation was for, when it is the latest one let through.
    std::wstring address = id && id == g_app.startedId ? g_app.startedUri : L"";
    std::wstring sentTo;
    bool siteNavigation = id && id == g_app.siteNavigationId;
    if (siteNavigation) {
        g_app.siteNavigationId = 0;
        sentTo.swap(g_app.siteSentTo);
    }
    BOOL isSuccess = TRUE;  // a failed call must not put up the failure page
    args->get_IsSuccess(&isSuccess);
    // If the status cannot be had, say so rather than leave the view on a
    // half-loaded page.
    COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    if (!isSuccess) args->get_WebErrorStatus(&status);
    int httpStatus = isSuccess ? 0 : HttpStatusCode(args);
    bool committedErrorPage = id && id == g_app.errorPageId;
    if (committedErrorPage) g_app.errorPageId = 0;
    if (!sentTo.empty() && status == COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED) {
        // The configured address itself sends the view away: the everyday
        // case of a site that lives at its "www." name.
        g_app.failedAddress = g_app.siteUrl;
        ShowMessagePage(L"The site sent Velotide to another address",
                        (EscapeHtml(g_app.siteUrl) + L" sends its visitors on to " + EscapeHtml(sentTo) +
                         L", which is outside the site. If that is the site's address now, use Site &rsaquo; Change "
                         L"site address.")
                            .c_str());
        // If the other address is where the site signs its visitors in, it can be allowed from here;
        // an address of another program's scheme is only named.
        if (ClassifyStoppedLink(sentTo, true) == StoppedLink::kOfferInBar) ShowSiteBar(sentTo);
    } else if (NeedsFailurePage(isSuccess, status, httpStatus, committedErrorPage, g_app.webPageLoaded)) {
        // A failed load of the site is tried again as the program's own,
        // so that a redirect away from it is told again.
        ShowFailurePage(FailureSentence(status), siteNavigation || address.empty() ? g_app.siteUrl : address);
    } else if ((isSuccess || httpStatus) && !address.empty() && !IsMessageAddress(address)) {
        g_app.currentAddress = address;
        g_app.webPageLoaded = true;
        g_app.failedAddress.clear();
        g_app.engineRestarted = false;  // the restarted engine shows pages: a later loss is a new first loss
        if (SiteOrigin(address) == g_app.homeOrigin) CloseSiteBar();  // the person is back on the site
    }
    return S_OK;
}
