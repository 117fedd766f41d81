// Answers every request to the ad domain and its subdomains with an empty
// 403 "Blocked" while ad blocking is on.
#pragma once

#include <string>

#include "webview/engine.h"

// True when host is adDomain itself or ends with "." + adDomain.
bool IsBlockedHost(const std::wstring& host, const std::wstring& adDomain);

// The two request filters that make the engine report ad-domain requests.
std::wstring AdDomainFilter();     // "*://" + adDomain + "/*"
std::wstring AdSubdomainFilter();  // "*://*." + adDomain + "/*"

// Asks the view to report requests matching both filters: from every frame
// and worker where the runtime can (ICoreWebView2_22), else from the main
// frame and its same-origin frames, which is all an older one reports.
void AddAdDomainFilters(ICoreWebView2* view);

// Body of the WebResourceRequested event. Returns S_OK.
HRESULT OnWebResourceRequested(ICoreWebView2WebResourceRequestedEventArgs* args);
