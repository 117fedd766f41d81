// The organisation's policies as the running program meets them: values
// under HKLM and HKCU fix the site and settings over the person's config.ini,
// which stays theirs, and faults in them stop the start.
#include <gtest/gtest.h>

#include <memory>

#include "app/commands.h"
#include "settings/organisation_policies.h"
#include "tests/support/app_session.h"
#include "tests/support/app_site_bar.h"
#include "tests/support/registry_override.h"

namespace {

using Override = std::unique_ptr<RegistryValueOverride>;
// A value under the policy key ("AllowedSites\\1": an entry of the list) for the life of the result.
Override Set(HKEY root, std::wstring name, const std::wstring& text) {
    size_t slash = name.rfind(L'\\');
    std::wstring key = kPolicyKey + (slash == std::wstring::npos ? L"" : L"\\" + name.substr(0, slash));
    return std::make_unique<RegistryValueOverride>(root, 0, key, name.substr(slash + 1), text);
}
Override Set(HKEY root, const wchar_t* name, DWORD number) {
    return std::make_unique<RegistryValueOverride>(root, 0, kPolicyKey, name, REG_DWORD,
                                                   std::string(reinterpret_cast<const char*>(&number), sizeof number));
}

TEST(OrganisationPoliciesAppTest, PoliciesFixTheSiteAndSettingsAndLeaveThePersonsOwn) {
    Override policies[] = {
        Set(HKEY_LOCAL_MACHINE, L"Url", L"fixed.test"), Set(HKEY_CURRENT_USER, L"Url", L"https://user.test/"),
        Set(HKEY_CURRENT_USER, L"BlockAds", 0), Set(HKEY_LOCAL_MACHINE, L"BlockAds", 7),  // out of range: the user's
        Set(HKEY_LOCAL_MACHINE, L"Notifications", 1), Set(HKEY_CURRENT_USER, L"AllowedSites\\1", L"https://login.test"),
        Set(HKEY_LOCAL_MACHINE, L"CreateApps", 0), Set(HKEY_CURRENT_USER, L"OtherSitesBar", 0)};
    const char kOwn[] = "url=https://own.test/\r\nblockAds=1\r\nnotifications=block\r\nallow=https://mine.test\r\n";
    AppSession app(kOwn);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    EXPECT_EQ(app.LastLog("navigation started"), "navigation started 1 https://fixed.test/");
    // The commands a policy fixes do nothing, however they arrive: no prompt, no reload, no toggle.
    for (int command : {ID_SITE_CHANGE, ID_SITE_BLOCK_ADS, ID_SITE_NOTIFICATIONS, ID_SITE_CREATE_APP}) app.Command(command);
    for (const wchar_t* page : {L"request https://ad.doubleclick.net/a", L"permission 4", L"link https://login.test/in",
                                L"link https://mine.test/", L"fail 7 https://fixed.test/down"})
        ASSERT_TRUE(app.Page(page));
    ASSERT_TRUE(app.WaitForLog("page shown data: Can't reach the site"));
    EXPECT_EQ(app.CountLog("resource to network https://ad.doubleclick.net/a"), 1u);  // not blocked
    EXPECT_EQ(app.CountLog("permission remembered allow 4"), 1u);  // no bar asked: the profile keeps the answer
    EXPECT_EQ(app.CountLog("page shown https://login.test/in"), 1u);
    EXPECT_EQ(app.CountLog("navigation cancelled 3"), 1u);  // the person's own allowed site is not the organisation's
    EXPECT_EQ(app.LastLog("page shown data:").find("Change site address"), std::string::npos);
    EXPECT_EQ(SiteBarText(app), "");
    EXPECT_FALSE(FindProcessWindow(app.process().id(), L"VelotidePrompt"));
    EXPECT_EQ(app.CountLog("navigation started"), 5u);  // the page's four and the failure page
    EXPECT_EQ(app.Quit(), 0u);
    std::string file = ReadFileBytes(app.dataDir() + L"\\config.ini");
    size_t place = file.find("window=");  // the window's place, added at quit
    EXPECT_EQ(file.erase(place, file.find('\n', place) + 1 - place), kOwn);
}

// Policies, and the site the package was installed with, that keep the
// program from starting: said, exit code 2, nothing made.
TEST(OrganisationPoliciesAppTest, FaultsInThePoliciesEndTheStart) {
    const struct {
        std::wstring url;  // empty: CreateApps is off instead
        bool installed;    // the package's value, not the policy
        const wchar_t* arguments;
        const wchar_t* message;
    } kCases[] = {
        {L"ftp://files.test", false, L"",
         L"Your organisation set a site address for Velotide that is not valid: ftp://files.test"},
        {L"https://", false, L"--background",
         L"Your organisation set a site address for Velotide that is not valid: https://"},
        {L"", false, L"--app mail", L"Your organisation has turned off site apps in Velotide."},
        {L"ftp://files.test", true, L"",
         L"Velotide was installed with a site address that is not valid: ftp://files.test"},
        // Too long to be read, it is not shown.
        {L"https://a.test/" + std::wstring(2100, L'p'), true, L"",
         L"Velotide was installed with a site address that is not valid: "},
    };
    for (const auto& c : kCases) {
        Override policy = c.installed    ? std::make_unique<RegistryValueOverride>(HKEY_LOCAL_MACHINE, 0, kInstalledKey,
                                                                                   L"Url", c.url)
                          : c.url.empty() ? Set(HKEY_LOCAL_MACHINE, L"CreateApps", 0)
                                          : Set(HKEY_CURRENT_USER, L"Url", c.url);
        AppSession app;  // for its own per-user folder
        ChildProcess start(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, c.arguments);
        EXPECT_EQ(DismissMessageBox(start), c.message);
        EXPECT_EQ(start.WaitForExit(), 2u);
        EXPECT_FALSE(FileExists(app.dataDir()));
    }
}

}  // namespace
