// What the organisation's policy values come to, from the values as the
// registry holds them under HKLM and HKCU: types, ranges, lengths, the
// machine's over the user's, and entries that aren't origins.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/organisation_policies.h"

namespace {

RawPolicyValue Sz(const std::wstring& text, DWORD type = REG_SZ) {
    RawPolicyValue raw;
    raw.type = type;
    raw.data.assign(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    return raw;
}
RawPolicyValue Dword(DWORD number, DWORD type = REG_DWORD, size_t size = sizeof(DWORD)) {
    RawPolicyValue raw;
    raw.type = type;
    raw.data.assign(reinterpret_cast<const char*>(&number), size);
    return raw;
}
RawPolicyValue TooLong() {
    RawPolicyValue raw;
    raw.type = REG_SZ;
    raw.tooLong = true;
    return raw;
}
RawPolicyValue List(std::initializer_list<RawPolicyValue> entries) {
    RawPolicyValue raw;
    raw.entries = entries;
    return raw;
}

using Values = std::vector<std::pair<const wchar_t*, RawPolicyValue>>;

RawPolicies Root(const Values& values) {
    RawPolicies root;
    for (const auto& [name, raw] : values)
        for (size_t i = 0; i < std::size(kPolicyValues); ++i)
            if (wcscmp(kPolicyValues[i].name, name) == 0) root.values[i] = raw;
    return root;
}

// The policies set, one word each: "BlockAds=1", "Url=<address>" (or
// "Url!<address>" when refused), "AllowedSites=a,b".
std::wstring Described(const Policies& policies) {
    std::wstring text;
    for (const PolicyValue& value : kPolicyValues) {
        const PolicySetting& setting = policies.*value.setting;
        if (!setting.set) continue;
        text += (text.empty() ? L"" : L" ") + std::wstring(value.name) + (setting.refused ? L"!" : L"=");
        if (value.kind == PolicyKind::kNumber) text += std::to_wstring(setting.number);
        if (value.kind == PolicyKind::kAddress) text += setting.address;
        for (const std::wstring& origin : setting.origins) text += origin + (&origin == &setting.origins.back() ? L"" : L",");
    }
    return text;
}

struct PolicyCase {
    const char* what;
    Values machine, user;
    std::wstring expected;
};

// An address of the most code units the program takes.
const std::wstring kLongest = L"https://a.example/" + std::wstring(2047 - 18, L'p');

const PolicyCase kCases[] = {
    {"nothing set", {}, {}, L""},
    {"numbers in range", {{L"BlockAds", Dword(0)}, {L"Notifications", Dword(1)}, {L"CreateApps", Dword(0)}}, {},
     L"BlockAds=0 Notifications=1 CreateApps=0"},
    {"the machine's over the user's", {{L"BlockAds", Dword(1)}}, {{L"BlockAds", Dword(0)}, {L"OtherSitesBar", Dword(0)}},
     L"BlockAds=1 OtherSitesBar=0"},
    {"out of range: ignored, the user's counts", {{L"KeepInNotificationArea", Dword(2)}, {L"StartWithWindows", Dword(1)}},
     {{L"KeepInNotificationArea", Dword(0)}}, L"KeepInNotificationArea=0"},
    {"numbers of the wrong type or size",
     {{L"BlockAds", Sz(L"1")}, {L"Notifications", Dword(1, REG_QWORD)}, {L"CreateApps", Dword(0, REG_DWORD, 2)},
      {L"OtherSitesBar", Dword(0, REG_DWORD_BIG_ENDIAN)}},
     {}, L""},
    {"an address completed by the rules", {{L"Url", Sz(L"  intranet.example ")}}, {}, L"Url=https://intranet.example"},
    {"an address the rules refuse wins all the same", {{L"Url", Sz(L"ftp://files.example")}},
     {{L"Url", Sz(L"https://ok.example")}}, L"Url!ftp://files.example"},
    {"an empty address is refused", {}, {{L"Url", Sz(L"")}}, L"Url!"},
    {"an address of the wrong type or too long: the user's", {{L"Url", TooLong()}},
     {{L"Url", Sz(L"https://user.example")}}, L"Url=https://user.example"},
    {"expandable text is not an address", {{L"Url", Sz(L"https://a.example", REG_EXPAND_SZ)}}, {}, L""},
    {"the longest address, and one past it", {{L"Url", Sz(kLongest + L"p")}}, {{L"Url", Sz(kLongest)}}, L"Url=" + kLongest},
    {"allowed sites: origins kept, the rest dropped",
     {{L"AllowedSites", List({Sz(L"https://login.example.com"), Sz(L"login.example.org"), Sz(L"https://x.example/path"),
                              Sz(L"https://me@x.example"), Dword(1), Sz(L"HTTPS://Login.Example.com:443/"),
                              Sz(L"http://[::1]:8080"), TooLong(), Sz(L"https://x.example?q")})}},
     {}, L"AllowedSites=https://login.example.com,https://login.example.org,http://[::1]:8080"},
    {"the machine's list, even with nothing left in it", {{L"AllowedSites", List({Sz(L"not an origin/")})}},
     {{L"AllowedSites", List({Sz(L"https://user.example")})}}, L"AllowedSites="},
    {"an empty key is no list", {{L"AllowedSites", List({})}}, {{L"AllowedSites", List({Sz(L"https://user.example")})}},
     L"AllowedSites=https://user.example"},
};

TEST(OrganisationPoliciesTest, ValuesReadComeToThePolicies) {
    for (const PolicyCase& c : kCases)
        EXPECT_EQ(Described(DecidePolicies(Root(c.machine), Root(c.user))), c.expected) << c.what;
}

}  // namespace
