// Keeps the view on the configured site: pop-ups are swallowed, top-level
// navigations off the site's origin are cancelled, failed loads get a page.
#pragma once

#include <string>
#include <vector>

#include "webview/engine.h"


// True for "data:" and "about:" addresses (any case, at position 0) and for
// addresses whose SiteOrigin equals homeOrigin or one of allowedOrigins (the
// sites allowed for sign-in) exactly.
bool IsAllowedNavigation(const std::wstring& address, const std::wstring& homeOrigin,
                         const std::vector<std::wstring>& allowedOrigins = {});

// True when a failed navigation calls for the failure page: it failed for a
// reason other than being cancelled, no server answered it (httpStatusCode 0:
// a server's own error page stays), and either it committed the engine's own
// error page or no web page has loaded in the view yet. Every other failure
// (a download, a launched mail link, a 204 answer, a stopped or superseded
// load) leaves the page as it is.
bool NeedsFailurePage(BOOL isSuccess, COREWEBVIEW2_WEB_ERROR_STATUS status, int httpStatusCode,
                      bool committedErrorPage, bool webPageLoaded);

// Loads the configured address (start-up, Home, a new address): its
// navigation is watched for a redirect that leaves the site.
void OpenSite();
// Reloads the page; while the failure page shows, loads the address that
// failed again instead.
void ReloadView();

// The failure page's part of ContentLoading: notes the navigation that
// committed the engine's own error page. The event's one body calls it.
void NoteErrorPage(ICoreWebView2ContentLoadingEventArgs* args);

// Bodies of the NewWindowRequested, NavigationStarting and
// NavigationCompleted events. Each returns S_OK.
HRESULT OnNewWindowRequested(ICoreWebView2NewWindowRequestedEventArgs* args);
HRESULT OnNavigationStarting(ICoreWebView2NavigationStartingEventArgs* args);
HRESULT OnNavigationCompleted(ICoreWebView2NavigationCompletedEventArgs* args);
