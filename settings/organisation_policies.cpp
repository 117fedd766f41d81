#include "settings/organisation_policies.h"

#include <cstring>

#include "app/app_state.h"
#include "settings/allowed_origins.h"
#include "settings/site_address.h"

namespace {

// A REG_SZ's text as Windows reads it: up to its first NUL (the terminator,
// or none when the value lacks it). False for another type, or text longer
// than an address can be.
bool TextOf(const RawPolicyValue& raw, std::wstring& text) {
    if (raw.type != REG_SZ || raw.tooLong) return false;
    text.assign(raw.data.size() / sizeof(wchar_t), L'\0');
    memcpy(text.data(), raw.data.data(), text.size() * sizeof(wchar_t));
    text.resize(wcslen(text.c_str()));
    return text.size() <= kMaxAddressLength;
}

// Nothing after the host and port but, at most, a "/": no path, query,
// fragment or user name.
bool IsOriginOnly(const std::wstring& address) {
    size_t authority = address.find(L"://") + 3;
    size_t end = address.find_first_of(L"/?#\\", authority);
    if (address.find(L'@', authority) < end) return false;
    return end == std::wstring::npos || (end == address.size() - 1 && address[end] == L'/');
}

// What one root's value comes to; false when it is not taken (absent or
// ignored), so the other root's may count.
bool Decide(const PolicyValue& policy, const RawPolicyValue& raw, PolicySetting& setting) {
    switch (policy.kind) {
    case PolicyKind::kAddress:
        if (!TextOf(raw, setting.address)) return false;
        setting.refused = !NormalizeSiteAddress(setting.address);
        break;
    case PolicyKind::kOrigins:
        if (raw.entries.empty()) return false;
        for (const RawPolicyValue& entry : raw.entries) {
            std::wstring origin;
            if (TextOf(entry, origin) && NormalizeSiteAddress(origin) && IsOriginOnly(origin))
                AddAllowedOrigin(setting.origins, origin);  // a repeat is left out
        }
        break;
    case PolicyKind::kNumber:
        if (raw.type != REG_DWORD || raw.data.size() != sizeof(DWORD)) return false;
        memcpy(&setting.number, raw.data.data(), sizeof(DWORD));
        if (setting.number < policy.lowest || setting.number > policy.highest) return false;
        break;
    }
    setting.set = true;
    return true;
}

}  // namespace

Policies DecidePolicies(const RawPolicies& machine, const RawPolicies& user, const RawPolicyValue& installedUrl) {
    Policies policies;
    for (size_t i = 0; i < std::size(kPolicyValues); ++i) {
        const PolicyValue& policy = kPolicyValues[i];
        PolicySetting& setting = policies.*policy.setting;
        if (!Decide(policy, machine.values[i], setting)) {
            setting = PolicySetting();  // what an ignored value left behind
            if (!Decide(policy, user.values[i], setting)) setting = PolicySetting();
        }
    }
    PolicySetting& url = policies.url;
    if (!url.set && installedUrl.type == REG_SZ) {
        url.set = policies.urlInstalled = true;
        url.refused = !TextOf(installedUrl, url.address) || !NormalizeSiteAddress(url.address);
    }
    return policies;
}

void PutPoliciesInForce(const Policies& policies) {
    FixedSettings& fixed = g_app.fixed;
    if (policies.url.set && !policies.url.refused && g_app.appId.empty() && g_app.program.id.empty()) {
        g_app.siteUrl = policies.url.address;
        g_app.homeOrigin = SiteOrigin(g_app.siteUrl);
        fixed.site = true;
    }
    // The organisation's list instead of the person's; a site's own program
    // keeps the sites it was made with, which its sign-in may need.
    if ((fixed.allowedSites = policies.allowedSites.set)) {
        g_app.allowedOrigins = g_app.program.allowedOrigins;
        for (const std::wstring& origin : policies.allowedSites.origins) AddAllowedOrigin(g_app.allowedOrigins, origin);
    }
    if ((fixed.blockAds = policies.blockAds.set)) g_app.blockAds = policies.blockAds.number == 1;
    if ((fixed.notifications = policies.notifications.set))
        g_app.notifications =
            policies.notifications.number == 1 ? NotificationsAnswer::kAllow : NotificationsAnswer::kBlock;
    if ((fixed.keepInTray = policies.keepInNotificationArea.set))
        g_app.keepInTray = policies.keepInNotificationArea.number == 1;
    g_app.startWithWindowsOff = policies.startWithWindows.set;
    g_app.createAppsOff = policies.createApps.set;
    g_app.otherSitesBarOff = policies.otherSitesBar.set;
}
