#include "tests/support/app_site_bar.h"

#include "app/site_bar.h"

HWND SiteBar(const AppSession& app) { return FindWindowExW(app.mainWindow(), nullptr, kSiteBarClass, nullptr); }

std::string SiteBarText(const AppSession& app) {
    HWND bar = SiteBar(app);
    if (!bar || !IsWindowVisible(bar)) return "";
    wchar_t text[256] = L"";
    GetWindowTextW(FindWindowExW(bar, nullptr, L"Static", nullptr), text, 256);
    return std::string(text, text + lstrlenW(text));
}

bool PressSiteBarButton(const AppSession& app, const wchar_t* text) {
    HWND button = FindWindowExW(SiteBar(app), nullptr, L"Button", text);
    if (!button) return false;
    SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}
