#include "webview/startup.h"
// placeholder until engine start-up lands
void StartWebView() {}
void ShowMessagePage(const wchar_t*, const wchar_t*) {}
