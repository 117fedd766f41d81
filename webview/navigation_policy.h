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

// True when a navigation failed for a reason other than being cancelled and
// no server answered it (httpStatusCode 0): a server's own error page stays.
bool NeedsFailurePage(BOOL isSuccess, COREWEBVIEW2_WEB_ERROR_STATUS status, int httpStatusCode);

// Loads the configured address (start-up, Home, a new address): its
// navigation is watched for a redirect that leaves the site.
void OpenSite();
// Reloads the page; while the failure page shows, loads the address that
// failed again instead.
void ReloadView();

// Bodies of the NewWindowRequested, NavigationStarting and
// NavigationCompleted events. Each returns S_OK.
HRESULT OnNewWindowRequested(ICoreWebView2NewWindowRequestedEventArgs* args);
HRESULT OnNavigationStarting(ICoreWebView2NavigationStartingEventArgs* args);
HRESULT OnNavigationCompleted(ICoreWebView2NavigationCompletedEventArgs* args);
