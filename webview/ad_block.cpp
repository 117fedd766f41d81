#include "webview/ad_block.h"
// placeholder until ad blocking lands
bool IsBlockedHost(const std::wstring&, const std::wstring&) { return false; }
std::wstring AdDomainFilter() { return {}; }
std::wstring AdSubdomainFilter() { return {}; }
HRESULT OnWebResourceRequested(ICoreWebView2WebResourceRequestedEventArgs*) { return S_OK; }
