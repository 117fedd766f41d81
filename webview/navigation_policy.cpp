#include "webview/navigation_policy.h"

#include <algorithm>

#include "app/app_state.h"
#include "settings/site_address.h"
#include "webview/message_page.h"
#include "webview/other_sites.h"
#include "webview/page_close.h"
#include "webview/sleeping.h"
#include "webview/view_notices.h"

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
    if (!g_app.webview || g_app.siteUrl.empty()) return;
    g_app.nav.openingSite = true;
    g_app.webview->Navigate(g_app.siteUrl.c_str());
}

void ReloadView() {
    if (!g_app.webview) return;
    const std::wstring& failed = g_app.nav.failedAddress;
    if (failed.empty())
        g_app.webview->Reload();  // a reload of the failure page would only show it again
    else if (failed == g_app.siteUrl)
        OpenSite();
    else
        g_app.webview->Navigate(failed.c_str());
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
    UINT64 id = 0;
    args->get_NavigationId(&id);
    bool closing = TakeCloseNavigation(args, address);
    if (id > g_app.nav.lastSeenId) g_app.nav.lastSeenId = id;
    if (closing) return S_OK;
    BOOL redirected = FALSE;
    BOOL userInitiated = FALSE;
    args->get_IsRedirected(&redirected);
    args->get_IsUserInitiated(&userInitiated);
    // The program's own load of the site is the first navigation to start
    // after it asked: the engine reports the address in its own form, which
    // need not be the text as typed.
    NavigationRecord& nav = g_app.nav;
    if (nav.openingSite && !redirected) {
        nav.openingSite = false;
        nav.siteNavigationId = id;
    }
    if (!IsAllowedNavigation(address, g_app.homeOrigin, g_app.allowedOrigins)) {
        args->put_Cancel(TRUE);
        if (id && id == nav.siteNavigationId) nav.siteSentTo = address;
        OnStoppedLink(address, userInitiated);
        return S_OK;
    }
    nav.startedId = id;
    nav.startedUri = address;
    return S_OK;
}

void NoteErrorPage(ICoreWebView2ContentLoadingEventArgs* args) {
    UINT64 id = 0;
    BOOL isErrorPage = FALSE;  // unreadable: the completion's own values decide
    args->get_NavigationId(&id);
    args->get_IsErrorPage(&isErrorPage);
    if (isErrorPage) g_app.nav.errorPageId = id;
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
    NavigationRecord& nav = g_app.nav;
    UINT64 id = 0;
    args->get_NavigationId(&id);
    BOOL isSuccess = TRUE;  // a failed call must not put up the failure page
    args->get_IsSuccess(&isSuccess);
    // If the status cannot be had, say so rather than leave the view on a
    // half-loaded page.
    COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    if (!isSuccess) args->get_WebErrorStatus(&status);
    NoteCloseNavigationCompleted(id, isSuccess, status);
    if (ViewWoke()) PostViewNotice(kNoticeWoken);
    // The address the navigation was for, when it is the latest one let through.
    std::wstring address = id && id == nav.startedId ? nav.startedUri : L"";
    std::wstring sentTo;
    bool siteNavigation = id && id == nav.siteNavigationId;
    if (siteNavigation) {
        nav.siteNavigationId = 0;
        sentTo.swap(nav.siteSentTo);
    }
    int httpStatus = isSuccess ? 0 : HttpStatusCode(args);
    bool committedErrorPage = id && id == nav.errorPageId;
    if (committedErrorPage) nav.errorPageId = 0;
    if (!sentTo.empty() && status == COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED) {
        // The configured address itself sends the view away: the everyday
        // case of a site that lives at its "www." name.
        nav.failedAddress = g_app.siteUrl;
        ShowInsteadOfSite(L"The site sent Velotide to another address",
                          ShownAddress(g_app.siteUrl) + L" sends its visitors on to " + ShownAddress(sentTo) +
                              L", which is outside the site.",
                          g_app.fixed.site ? L""
                                           : L" If that is the site's address now, use Site &rsaquo; Change site address.");
        // If the other address is where the site signs its visitors in, it can be allowed from here;
        // an address of another program's scheme is only named.
        if (ClassifyStoppedLink(sentTo, true) == StoppedLink::kOfferInBar) OfferStoppedLink(sentTo);
    } else if (NeedsFailurePage(isSuccess, status, httpStatus, committedErrorPage, nav.webPageLoaded)) {
        // A failed load of the site is tried again as the program's own,
        // so that a redirect away from it is told again.
        ShowFailurePage(FailureSentence(status), siteNavigation || address.empty() ? g_app.siteUrl : address);
        ScheduleNextTry();
    } else if ((isSuccess || httpStatus) && !address.empty() && !IsMessageAddress(address)) {
        nav.currentAddress = address;
        nav.webPageLoaded = true;
        nav.failedAddress.clear();
        nav.failureTries = 0;
        g_app.engineRestarted = false;  // the restarted engine shows pages: a later loss is a new first loss
        if (SiteOrigin(address) == g_app.homeOrigin) PostViewNotice(kNoticeOnSite);  // the person is back on the site
    }
    return S_OK;
}
