// What the policy values read under HKLM and HKCU come to: types, ranges,
// lengths, the machine's over the user's, entries that aren't origins, and
// the package's installed site under both.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "settings/organisation_policies.h"

namespace {

RawPolicyValue Raw(DWORD type, const void* data, size_t size) {
    return {type, std::string(static_cast<const char*>(data), size), false, {}};
}
RawPolicyValue Sz(const std::wstring& text, DWORD type = REG_SZ) {
    return Raw(type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}
RawPolicyValue Dword(DWORD number, DWORD type = REG_DWORD, size_t size = sizeof(DWORD)) { return Raw(type, &number, size); }
RawPolicyValue List(std::vector<RawPolicyValue> entries) { return {REG_NONE, "", false, entries}; }
const RawPolicyValue kTooLong = {REG_SZ, "", true, {}};

using Values = std::vector<std::pair<std::wstring, RawPolicyValue>>;

// The policies that values of the machine and of the user, and the package's site, come to:
// "BlockAds=1 Url=<address> AllowedSites=a,b," ("Url!<address>" when refused, "Installed..." for the package's).
std::wstring Decided(const Values& machine, const Values& user, const RawPolicyValue& installed = {}) {
    RawPolicies roots[2];
    for (int r = 0; r < 2; ++r)
        for (const auto& [name, raw] : r ? user : machine)
            for (size_t i = 0; i < std::size(kPolicyValues); ++i)
                if (name == kPolicyValues[i].name) roots[r].values[i] = raw;
    Policies policies = DecidePolicies(roots[0], roots[1], installed);
    std::wstring text;
    for (const PolicyValue& value : kPolicyValues) {
        const PolicySetting& s = policies.*value.setting;
        if (!s.set) continue;
        const bool installedUrl = &s == &policies.url && policies.urlInstalled;
        text += std::wstring(text.empty() ? L"" : L" ") + (installedUrl ? L"Installed" : value.name) +
                (s.refused ? L"!" : L"=") +
                (value.kind == PolicyKind::kNumber ? std::to_wstring(s.number) : s.address);
        for (const std::wstring& origin : s.origins) text += origin + L",";
    }
    return text;
}

const std::wstring kLongest = L"https://a.example/" + std::wstring(2047 - 18, L'p');  // the most an address takes

TEST(OrganisationPoliciesTest, ValuesReadComeToThePolicies) {
    const struct {
        Values machine, user;
        std::wstring expected;
    } kCases[] = {
        {{}, {}, L""},
        {{{L"BlockAds", Dword(0)}, {L"Notifications", Dword(1)}}, {{L"CreateApps", Dword(0)}},
         L"BlockAds=0 Notifications=1 CreateApps=0"},
        {{{L"BlockAds", Dword(1)}}, {{L"BlockAds", Dword(0)}}, L"BlockAds=1"},  // the machine's wins
        {{{L"Kiosk", Dword(0)}}, {{L"Kiosk", Dword(1)}}, L"Kiosk=1"},  // it only turns the kiosk on
        // Out of range, or of the wrong type or size: ignored, and the user's counts.
        {{{L"KeepInNotificationArea", Dword(2)}, {L"StartWithWindows", Dword(1)}, {L"BlockAds", Sz(L"1")},
          {L"Notifications", Dword(1, REG_QWORD)}, {L"CreateApps", Dword(0, REG_DWORD, 2)},
          {L"OtherSitesBar", Dword(0, REG_DWORD_BIG_ENDIAN)}},
         {{L"KeepInNotificationArea", Dword(0)}}, L"KeepInNotificationArea=0"},
        {{{L"Url", Sz(L"  intranet.example ")}}, {}, L"Url=https://intranet.example"},
        {{{L"Url", Sz(L"ftp://files.example")}}, {{L"Url", Sz(L"https://ok.example")}}, L"Url!ftp://files.example"},
        {{}, {{L"Url", Sz(L"")}}, L"Url!"},
        {{{L"Url", kTooLong}}, {{L"Url", Sz(L"https://user.example")}}, L"Url=https://user.example"},
        {{{L"Url", Sz(L"https://a.example", REG_EXPAND_SZ)}}, {}, L""},
        {{{L"Url", Sz(kLongest + L"p")}}, {{L"Url", Sz(kLongest)}}, L"Url=" + kLongest},
        {{{L"AllowedSites", List({Sz(L"https://login.example.com"), Sz(L"login.example.org"), Sz(L"https://x.example/path"),
                                  Sz(L"https://me@x.example"), Dword(1), Sz(L"HTTPS://Login.Example.com:443/"),
                                  Sz(L"http://[::1]:8080"), kTooLong, Sz(L"https://x.example?q")})}},
         {}, L"AllowedSites=https://login.example.com,https://login.example.org,http://[::1]:8080,"},
        // The machine's list even with nothing left in it; an empty key is none.
        {{{L"AllowedSites", List({Sz(L"not an origin/")})}}, {{L"AllowedSites", List({Sz(L"https://u.example")})}},
         L"AllowedSites="},
        {{{L"AllowedSites", List({})}}, {{L"AllowedSites", List({Sz(L"https://u.example")})}},
         L"AllowedSites=https://u.example,"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Decided(c.machine, c.user), c.expected);
}

// The site the machine package was installed with counts only where no
// policy names one, and is fixed as theirs is; one that can't be a site is
// refused, too long included, since the package was given it.
TEST(OrganisationPoliciesTest, TheInstalledSiteCountsAfterThePolicies) {
    const struct {
        Values machine, user;
        RawPolicyValue installed;
        std::wstring expected;
    } kCases[] = {
        {{}, {}, Sz(L" intranet.example "), L"Installed=https://intranet.example"},
        {{{L"Url", Sz(L"https://gp.example")}}, {}, Sz(L"https://package.example"), L"Url=https://gp.example"},
        {{}, {{L"Url", Sz(L"https://user.example")}}, Sz(L"https://package.example"), L"Url=https://user.example"},
        // A policy's fault is the policy's, said as such; an ignored policy leaves the package's.
        {{{L"Url", Sz(L"ftp://gp.example")}}, {}, Sz(L"https://package.example"), L"Url!ftp://gp.example"},
        {{{L"Url", kTooLong}}, {{L"Url", Dword(1)}}, Sz(L"https://package.example"),
         L"Installed=https://package.example"},
        {{}, {}, Sz(L"ftp://package.example"), L"Installed!ftp://package.example"},
        {{}, {}, kTooLong, L"Installed!"},
        {{}, {}, Sz(kLongest), L"Installed=" + kLongest},
        {{}, {}, Sz(L"https://package.example", REG_EXPAND_SZ), L""},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Decided(c.machine, c.user, c.installed), c.expected);
}

// The organisation's list replaces the person's allowed sites; a site's own
// program keeps those it was made with, as part of its site.
TEST(OrganisationPoliciesTest, AllowedSitesReplaceThePersonsButNotAProgramsOwn) {
    using Origins = std::vector<std::wstring>;
    const struct {
        Origins preset, expected;
    } kCases[] = {
        {{}, {L"https://sso.corp.example"}},
        {{L"https://login.acme.example"}, {L"https://login.acme.example", L"https://sso.corp.example"}},
    };
    for (const auto& c : kCases) {
        g_app.program.allowedOrigins = c.preset;
        g_app.allowedOrigins = c.preset;
        g_app.allowedOrigins.push_back(L"https://mine.example");
        Policies policies;
        policies.allowedSites = {true, false, 0, L"", {L"https://sso.corp.example"}};
        PutPoliciesInForce(policies);
        EXPECT_EQ(g_app.allowedOrigins, c.expected);
    }
}

}  // namespace
