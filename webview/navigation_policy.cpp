#include "webview/navigation_policy.h"
// placeholder until the policy lands
bool IsAllowedNavigation(const std::wstring&, const std::wstring&) { return false; }
bool NeedsFailurePage(BOOL, COREWEBVIEW2_WEB_ERROR_STATUS) { return false; }
HRESULT OnNewWindowRequested(ICoreWebView2NewWindowRequestedEventArgs*) { return S_OK; }
HRESULT OnNavigationStarting(ICoreWebView2NavigationStartingEventArgs*) { return S_OK; }
HRESULT OnNavigationCompleted(ICoreWebView2NavigationCompletedEventArgs*) { return S_OK; }
