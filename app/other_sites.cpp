#include "app/other_sites.h"

#include <windows.h>
#include <shellapi.h>

#include "app/app_state.h"
#include "app/settings_notice.h"
#include "app/site_bar.h"
#include "settings/allowed_origins.h"
#include "settings/site_address.h"

// "HOST is another site", with Open in browser and Allow in Velotide (unless
// the organisation fixes the allowed sites).
static void OfferInBar(const std::wstring& address) {
    std::vector<BarButton> buttons = {{L"Open in browser", 120, OpenWithWindows}};
    if (!g_app.fixed.allowedSites) buttons.push_back({L"Allow in Velotide", 130, AllowSiteOf});
    ShowBar(BarTopic::kOtherSite, SiteHost(address) + L" is another site", address, buttons);
}

void ActOnStoppedLinks() {
    while (!g_app.stoppedLinks.empty()) {
        auto [action, address] = g_app.stoppedLinks.front();
        g_app.stoppedLinks.pop_front();
        if (action == StoppedLink::kHandToWindows)
            OpenWithWindows(address);
        else
            OfferInBar(address);
    }
}

void OpenWithWindows(const std::wstring& address) {
    ShellExecuteW(g_app.mainWindow, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void AllowSiteOf(const std::wstring& address) {
    CloseBar();
    AddAllowedOrigin(g_app.allowedOrigins, address);  // false when it is listed already: it loads all the same
    SaveSettings();
    if (g_app.webview) g_app.webview->Navigate(address.c_str());
}
