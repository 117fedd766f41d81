#include "webview/other_sites.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "app/site_bar.h"
#include "settings/allowed_origins.h"
#include "settings/config_store.h"
#include "settings/site_address.h"

StoppedLink ClassifyStoppedLink(const std::wstring& address, bool userInitiated) {
    // A page may not launch programs or raise the bar without the person's click.
    if (!userInitiated) return StoppedLink::kDrop;
    if (StartsWithScheme(address, L"mailto:") || StartsWithScheme(address, L"tel:")) return StoppedLink::kHandToWindows;
    if (StartsWithScheme(address, L"http://") || StartsWithScheme(address, L"https://")) return StoppedLink::kOfferInBar;
    return StoppedLink::kDrop;  // no other scheme is handed on
}

void OnStoppedLink(const std::wstring& address, BOOL userInitiated) {
    StoppedLink action = ClassifyStoppedLink(address, userInitiated != FALSE);
    if (action == StoppedLink::kDrop) return;
    g_app.stoppedLinks.emplace_back(action, address);
    PostMessageW(g_app.mainWindow, kStoppedLinkMessage, 0, 0);
}

void ActOnStoppedLinks() {
    while (!g_app.stoppedLinks.empty()) {
        auto [action, address] = g_app.stoppedLinks.front();
        g_app.stoppedLinks.pop_front();
        if (action == StoppedLink::kHandToWindows)
            OpenWithWindows(address);
        else
            ShowSiteBar(address);
    }
}

void OpenWithWindows(const std::wstring& address) {
    ShellExecuteW(g_app.mainWindow, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void AllowSiteOf(const std::wstring& address) {
    CloseSiteBar();
    AddAllowedOrigin(g_app.allowedOrigins, address);  // false when it is listed already: it loads all the same
    SaveConfig();
    if (g_app.webview) g_app.webview->Navigate(address.c_str());
}
