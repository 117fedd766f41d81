#include "webview/lock_gaps.h"

#include "app/app_state.h"
#include "webview/handler.h"
#include "webview/message_page.h"
#include "webview/navigation_policy.h"

bool RefusesSignIn(const std::wstring& uri, const std::wstring& homeOrigin,
                   const std::vector<std::wstring>& allowedOrigins) {
    return !IsAllowedNavigation(uri, homeOrigin, allowedOrigins);
}

COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION CertificateErrorAction(const std::wstring& uri,
                                                                  const std::wstring& homeOrigin,
                                                                  const std::vector<std::wstring>& allowedOrigins) {
    return IsAllowedNavigation(uri, homeOrigin, allowedOrigins) ? COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT
                                                : COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL;
}

bool IsStrayDocument(const std::wstring& source, const std::wstring& homeOrigin,
                     const std::vector<std::wstring>& allowedOrigins) {
    // The program's own pages pass IsAllowedNavigation whatever the site.
    return !source.empty() && !IsAllowedNavigation(source, homeOrigin, allowedOrigins);
}

// Shows, instead of the other site's document, why the view stayed; Reload
// then loads the last page of the site again and Home its address.
static void KeepViewOnSite(const std::wstring& address) {
    const std::wstring& lastPage = g_app.nav.currentAddress;
    bool lastPageOnSite = !lastPage.empty() && IsAllowedNavigation(lastPage, g_app.homeOrigin, g_app.allowedOrigins);
    g_app.nav.failedAddress = lastPageOnSite ? lastPage : g_app.siteUrl;
    ShowInsteadOfSite(L"Velotide kept the view on the site",
                      ShownAddress(address) + L" is outside " +
                          (g_app.siteUrl.empty() ? std::wstring(L"the site") : ShownAddress(g_app.siteUrl)) +
                          L", so it is not shown.",
                      L" Reload (Ctrl+R) goes back to the last page of the site, Home (Alt+Home) to its address.");
}

static std::wstring SourceOf(ICoreWebView2* view) {
    LPWSTR uri = nullptr;  // a failed call leaves it null: the document is left alone
    view->get_Source(&uri);
    return TakeEngineString(uri);
}

bool GateNewDocument(ICoreWebView2* view) {
    std::wstring source = SourceOf(view);
    if (!IsStrayDocument(source, g_app.homeOrigin, g_app.allowedOrigins)) return false;
    KeepViewOnSite(source);
    return true;
}

HRESULT OnContentLoading(ICoreWebView2* view, ICoreWebView2ContentLoadingEventArgs* args) {
    // A document of another site is replaced at once: its error page, if it
    // is one, is no failure of the site's.
    if (!GateNewDocument(view)) NoteErrorPage(args);
    return S_OK;
}

// A new document is judged as it begins to load; here only a document that
// takes another address without a new load (a fragment or pushState of a
// page of the site keeps its origin, so it passes).
HRESULT OnSourceChanged(ICoreWebView2* view, ICoreWebView2SourceChangedEventArgs* args) {
    BOOL isNewDocument = TRUE;  // a failed call leaves the document to ContentLoading
    args->get_IsNewDocument(&isNewDocument);
    if (!isNewDocument) GateNewDocument(view);
    return S_OK;
}

static HRESULT OnBasicAuthenticationRequested(ICoreWebView2BasicAuthenticationRequestedEventArgs* args) {
    LPWSTR uri = nullptr;  // a failed call leaves it null: the challenge is refused
    args->get_Uri(&uri);
    if (RefusesSignIn(TakeEngineString(uri), g_app.homeOrigin, g_app.allowedOrigins)) args->put_Cancel(TRUE);
    return S_OK;
}

static HRESULT OnServerCertificateErrorDetected(ICoreWebView2ServerCertificateErrorDetectedEventArgs* args) {
    LPWSTR uri = nullptr;  // a failed call leaves it null: the request is cancelled
    args->get_RequestUri(&uri);
    args->put_Action(CertificateErrorAction(TakeEngineString(uri), g_app.homeOrigin, g_app.allowedOrigins));
    return S_OK;
}

void AddLockGapHandlers(ICoreWebView2* view) {
    EventRegistrationToken token;
    view->add_SourceChanged(Give(new OnSource_([](ICoreWebView2* sender, ICoreWebView2SourceChangedEventArgs* args) {
                                return OnSourceChanged(sender, args);
                            })),
                            &token);
    if (auto view10 = AsNewer<ICoreWebView2_10>(view, IID_ICoreWebView2_10)) {
        view10->add_BasicAuthenticationRequested(
            Give(new OnAuth_([](ICoreWebView2*, ICoreWebView2BasicAuthenticationRequestedEventArgs* args) {
                return OnBasicAuthenticationRequested(args);
            })),
            &token);
        view10->Release();
    }
    if (auto view14 = AsNewer<ICoreWebView2_14>(view, IID_ICoreWebView2_14)) {
        view14->add_ServerCertificateErrorDetected(
            Give(new OnCertError_([](ICoreWebView2*, ICoreWebView2ServerCertificateErrorDetectedEventArgs* args) {
                return OnServerCertificateErrorDetected(args);
            })),
            &token);
        view14->Release();
    }
}
