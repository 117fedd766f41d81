// The organisation's policies as the running program meets them: values
// written to HKLM and HKCU under SOFTWARE\Policies\Velotide fix the site and
// the settings over the person's config.ini, which stays theirs, and faults
// in them stop the start.
#include <gtest/gtest.h>

#include <memory>

#include "app/commands.h"
#include "settings/organisation_policies.h"
#include "tests/support/app_session.h"
#include "tests/support/app_site_bar.h"
#include "tests/support/registry_override.h"

namespace {

struct PolicyValueSet {
    HKEY root;
    const wchar_t* name;  // "AllowedSites\\1" for an entry of the list
    DWORD type;
    std::string data;
};

std::string Text(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}
std::string Number(DWORD number) { return std::string(reinterpret_cast<const char*>(&number), sizeof number); }

// Writes the values, for the life of the result.
std::vector<std::unique_ptr<RegistryValueOverride>> Write(const std::vector<PolicyValueSet>& values) {
    std::vector<std::unique_ptr<RegistryValueOverride>> written;
    for (const PolicyValueSet& v : values) {
        std::wstring key = kPolicyKey, name = v.name;
        if (size_t slash = name.rfind(L'\\'); slash != std::wstring::npos) {
            key += L"\\" + name.substr(0, slash);
            name.erase(0, slash + 1);
        }
        written.push_back(std::make_unique<RegistryValueOverride>(v.root, 0, key, name, v.type, v.data));
    }
    return written;
}

// config.ini as the person left it; the program adds the window's place at quit.
const char kOwnSettings[] = "url=https://own.test/\r\nblockAds=1\r\nnotifications=block\r\nallow=https://mine.test\r\n";

std::string WithoutWindowLine(std::string file) {
    size_t at = file.find("window=");
    return at == std::string::npos ? file : file.erase(at, file.find("\r\n", at) + 2 - at);
}

TEST(OrganisationPoliciesAppTest, PoliciesFixTheSiteAndSettingsAndLeaveThePersonsOwn) {
    auto policies = Write({
        {HKEY_LOCAL_MACHINE, L"Url", REG_SZ, Text(L"fixed.test")},
        {HKEY_CURRENT_USER, L"Url", REG_SZ, Text(L"https://user.test/")},
        {HKEY_CURRENT_USER, L"BlockAds", REG_DWORD, Number(0)},
        {HKEY_LOCAL_MACHINE, L"BlockAds", REG_DWORD, Number(7)},  // out of range: the user's counts
        {HKEY_LOCAL_MACHINE, L"Notifications", REG_DWORD, Number(1)},
        {HKEY_CURRENT_USER, L"AllowedSites\\1", REG_SZ, Text(L"https://login.test")},
        {HKEY_CURRENT_USER, L"AllowedSites\\2", REG_SZ, Text(L"https://login.test/path")},
        {HKEY_LOCAL_MACHINE, L"CreateApps", REG_DWORD, Number(0)},
        {HKEY_LOCAL_MACHINE, L"StartWithWindows", REG_DWORD, Number(0)},
    });
    AppSession app(kOwnSettings);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    EXPECT_EQ(app.LastLog("navigation started"), "navigation started 1 https://fixed.test/");

    // The commands a policy fixes do nothing, whoever asks: no prompt, no reload.
    for (int command : {ID_SITE_CHANGE, ID_SITE_BLOCK_ADS, ID_SITE_NOTIFICATIONS, ID_SITE_CREATE_APP})
        app.Command(command);
    ASSERT_TRUE(app.Page(L"request https://ad.doubleclick.net/a"));
    EXPECT_TRUE(app.WaitForLog("resource to network https://ad.doubleclick.net/a"));  // ads not blocked
    ASSERT_TRUE(app.Page(L"permission 4"));
    EXPECT_TRUE(app.WaitForLog("permission answered allow 4"));  // allowed with no bar asking
    ASSERT_TRUE(app.Page(L"link https://login.test/in"));
    EXPECT_TRUE(app.WaitForLog("page shown https://login.test/in"));
    ASSERT_TRUE(app.Page(L"link https://mine.test/"));  // the person's allowed site is not the organisation's
    EXPECT_TRUE(app.WaitForLog("navigation cancelled 3"));
    EXPECT_TRUE(PumpUntil([&] { return SiteBarText(app) == "mine.test is another site"; }));
    EXPECT_FALSE(PressSiteBarButton(app, L"Allow in Velotide"));
    EXPECT_FALSE(FindProcessWindow(app.process().id(), L"VelotidePrompt"));
    EXPECT_EQ(app.CountLog("navigation started"), 3u);
    // The failure page sends no one to the greyed command.
    ASSERT_TRUE(app.Page(L"fail 7 https://fixed.test/down"));
    ASSERT_TRUE(app.WaitForLog("page shown data: Can't reach the site"));
    EXPECT_EQ(app.LastLog("page shown data:").find("Change site address"), std::string::npos);
    EXPECT_EQ(app.Quit(), 0u);
    EXPECT_EQ(WithoutWindowLine(ReadFileBytes(app.dataDir() + L"\\config.ini")), kOwnSettings);
}

TEST(OrganisationPoliciesAppTest, WithoutTheBarLinksToOtherSitesAreStoppedSilently) {
    auto policies = Write({{HKEY_CURRENT_USER, L"OtherSitesBar", REG_DWORD, Number(0)}});
    AppSession app("url=https://site.test/\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    ASSERT_TRUE(app.Page(L"link https://other.test/"));
    ASSERT_TRUE(app.WaitForLog("navigation cancelled 2"));
    PumpFor(300);
    EXPECT_EQ(SiteBarText(app), "");
    EXPECT_EQ(app.Quit(), 0u);
}

// Policies that keep the program from starting: said, exit code 2, nothing
// made or changed.
TEST(OrganisationPoliciesAppTest, FaultsInThePoliciesEndTheStart) {
    const struct {
        std::vector<PolicyValueSet> values;
        const wchar_t* arguments;
        const wchar_t* message;
    } kCases[] = {
        {{{HKEY_LOCAL_MACHINE, L"Url", REG_SZ, Text(L"ftp://files.test")}}, L"",
         L"Your organisation set a site address for Velotide that is not valid: ftp://files.test"},
        {{{HKEY_CURRENT_USER, L"Url", REG_SZ, Text(L"https://")}}, L"--background",
         L"Your organisation set a site address for Velotide that is not valid: https://"},
        {{{HKEY_CURRENT_USER, L"CreateApps", REG_DWORD, Number(0)}}, L"--app mail",
         L"Your organisation has turned off site apps in Velotide."},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.message)));
        auto policies = Write(c.values);
        AppSession app;  // for its own per-user folder
        ChildProcess start(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, c.arguments);
        EXPECT_EQ(DismissMessageBox(start), c.message);
        EXPECT_EQ(start.WaitForExit(), 2u);
        EXPECT_FALSE(FileExists(app.dataDir()));
    }
}

}  // namespace
