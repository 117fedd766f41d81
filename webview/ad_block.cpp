#include "webview/ad_block.h"

#include "app/app_state.h"
#include "settings/site_address.h"

bool IsBlockedHost(const std::wstring& host, const std::wstring& adDomain) {
    // Exact code units: the host comes lower-cased from SiteHost and the ad
    // domain is a lower-case constant. The "." keeps "xdoubleclick.net" out.
    size_t hostLength = host.size(), domainLength = adDomain.size();
    if (hostLength == domainLength) return host == adDomain;
    if (hostLength < domainLength) return false;
    return host[hostLength - domainLength - 1] == L'.' &&
           host.compare(hostLength - domainLength, domainLength, adDomain) == 0;
}

std::wstring AdDomainFilter() { return L"*://" + std::wstring(g_app.adDomain) + L"/*"; }

std::wstring AdSubdomainFilter() { return L"*://*." + std::wstring(g_app.adDomain) + L"/*"; }

void AddAdDomainFilters(ICoreWebView2* view) {
    auto view22 = AsNewer<ICoreWebView2_22>(view, IID_ICoreWebView2_22);
    for (const std::wstring& filter : {AdDomainFilter(), AdSubdomainFilter()}) {
        if (view22)
            view22->AddWebResourceRequestedFilterWithRequestSourceKinds(
                filter.c_str(), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL);
        else
            view->AddWebResourceRequestedFilter(filter.c_str(), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
    }
    if (view22) view22->Release();
}

// The request's host; empty, which matches nothing, when there is no request
// or no address to read.
static std::wstring RequestHost(ICoreWebView2WebResourceRequestedEventArgs* args) {
    ICoreWebView2WebResourceRequest* request = nullptr;
    if (FAILED(args->get_Request(&request)) || !request) return {};
    LPWSTR uri = nullptr;
    request->get_Uri(&uri);
    std::wstring host = SiteHost(TakeEngineString(uri));
    request->Release();
    return host;
}

HRESULT OnWebResourceRequested(ICoreWebView2WebResourceRequestedEventArgs* args) {
    // While blocking is off the event is not touched at all.
    if (!g_app.blockAds || !g_app.environment) return S_OK;
    if (!IsBlockedHost(RequestHost(args), g_app.adDomain)) return S_OK;

    // An empty answer of our own; the request never reaches the network.
    ICoreWebView2WebResourceResponse* response = nullptr;
    if (SUCCEEDED(g_app.environment->CreateWebResourceResponse(nullptr, 403, L"Blocked", L"", &response)) &&
        response) {
        args->put_Response(response);
        response->Release();
    }
    return S_OK;
}
