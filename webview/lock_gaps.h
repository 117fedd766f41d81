// Holds the view on the site where a cancel in NavigationStarting is not
// final: the runtime lets an address through when it answers with a sign-in
// challenge or shows its warning page for a bad certificate. Each such gap is
// closed where the runtime offers an event for it, and a last gate, which
// needs no knowledge of any gap, replaces a document of another site as soon
// as it begins to load.
#pragma once

#include <string>
#include <vector>

#include "webview/engine.h"

// Whether a sign-in challenge for uri is cancelled: only the site's own
// addresses (and those of the sites allowed for sign-in) may ask, and theirs
// are left to the runtime's login dialog.
bool RefusesSignIn(const std::wstring& uri, const std::wstring& homeOrigin,
                   const std::vector<std::wstring>& allowedOrigins = {});
// What a certificate error of uri calls for: CANCEL off the site; on it the
// runtime's DEFAULT, its warning page, which the failure page explains. A
// certificate is never accepted for the person.
COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION CertificateErrorAction(
    const std::wstring& uri, const std::wstring& homeOrigin, const std::vector<std::wstring>& allowedOrigins = {});
// Whether the view's document, at source, must not be shown: neither a page
// of the site nor one of the program's own. An empty source (the engine did
// not say) is left alone.
bool IsStrayDocument(const std::wstring& source, const std::wstring& homeOrigin,
                     const std::vector<std::wstring>& allowedOrigins = {});

// The last gate, for the ContentLoading body: replaces the view's new
// document with the message that kept the view on the site when it is stray,
// and says whether it did (nothing else need then be done for the document).
bool GateNewDocument(ICoreWebView2* view);

// Body of ContentLoading: the last gate, then the failure page's note of an
// error page the engine committed. Returns S_OK.
HRESULT OnContentLoading(ICoreWebView2* view, ICoreWebView2ContentLoadingEventArgs* args);
// Body of SourceChanged: a document that took another address without a new
// load is judged as a new one is. Returns S_OK.
HRESULT OnSourceChanged(ICoreWebView2* view, ICoreWebView2SourceChangedEventArgs* args);
// Registers SourceChanged, and the sign-in and certificate events where the
// view offers their interfaces (an older runtime goes on without them).
void AddLockGapHandlers(ICoreWebView2* view);
