// Site apps through the running program against the test engine: made from
// the site beside Velotide, run as a program of its own, raised by a second
// start and removed whole.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "app/commands.h"
#include "tests/support/app_session.h"

namespace {

const wchar_t kAppClass[] = L"VelotideMain.App.team-mail";
const wchar_t kEntry[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velotide.App.team-mail";

std::wstring ShortcutPath() {
    wchar_t programs[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::wstring(programs) + L"\\Team Mail.lnk";
}

bool EntryExists() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kEntry, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

TEST(SiteAppsAppTest, MadeBesideVelotideRaisedByASecondStartAndRemovedWhole) {
    AppSession app("url=https://site.example/\r\nallow=https://signin.example\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("page shown https://site.example/"));
    ASSERT_TRUE(app.Page(L"title (4) Team Mail"));
    ASSERT_TRUE(app.Page(L"favicon https://site.example/icon.png #2080ff"));
    ASSERT_TRUE(app.WaitForLog("favicon changed"));
    ASSERT_TRUE(app.WaitForLog("title changed (4) Team Mail"));

    // Made: asked by name (the title without its count), then started.
    app.Command(ID_SITE_CREATE_APP);
    HWND prompt = app.process().WaitForWindow(L"VelotidePrompt");
    ASSERT_TRUE(prompt);
    HWND edit = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (edit = FindWindowExW(prompt, nullptr, L"Edit", nullptr)) != nullptr; }));
    EXPECT_EQ(TitleOf(edit), L"Team Mail");
    PostMessageW(prompt, WM_COMMAND, IDOK, 0);
    HWND appWindow = nullptr;
    bool appeared = PumpUntil([&] { return (appWindow = FindWindowW(kAppClass, nullptr)) != nullptr; }, 15000);
    ASSERT_TRUE(appeared);
    EXPECT_EQ(TitleOf(appWindow), L"Team Mail");
    std::wstring folder = app.dataDir() + L"\\Apps\\team-mail";
    std::string settings = ReadFileBytes(folder + L"\\config.ini");
    EXPECT_EQ(settings.find("url=https://site.example/\r\n"), 0u) << settings;
    EXPECT_NE(settings.find("name=Team Mail\r\n"), std::string::npos);
    EXPECT_NE(settings.find("allow=https://signin.example\r\n"), std::string::npos);
    EXPECT_EQ(IconCentre(folder + L"\\icon.ico"), 0xFF2080FFu);  // the site's blue, not Velotide's icon
    EXPECT_TRUE(FileExists(ShortcutPath()));
    EXPECT_TRUE(EntryExists());
    // Its own engine folder, beside Velotide's; Velotide's window stays.
    ASSERT_TRUE(app.WaitForLog("environment requested", 2));
    EXPECT_NE(app.LastLog("environment requested").find("\\Apps\\team-mail\\WebView2"), std::string::npos);
    EXPECT_TRUE(IsWindowVisible(app.mainWindow()));

    // A second app of the same name: an id and a shortcut of its own.
    app.Command(ID_SITE_CREATE_APP);
    HWND again = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (again = FindProcessWindow(app.process().id(), L"VelotidePrompt")) != nullptr; }));
    PostMessageW(again, WM_COMMAND, IDOK, 0);
    HWND second = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (second = FindWindowW(L"VelotideMain.App.team-mail-2", nullptr)) != nullptr; }, 15000));
    const std::wstring secondShortcut = ShortcutPath().substr(0, ShortcutPath().size() - 4) + L" (team-mail-2).lnk";
    EXPECT_TRUE(FileExists(ShortcutPath()));
    EXPECT_TRUE(FileExists(secondShortcut));
    ChildProcess removeSecond(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, L"--remove-app team-mail-2");
    EXPECT_NE(DismissMessageBox(removeSecond, IDYES), L"(no message box)");
    EXPECT_EQ(removeSecond.WaitForExit(30000), 0u);
    EXPECT_FALSE(FileExists(secondShortcut));
    EXPECT_TRUE(FileExists(ShortcutPath()));  // the first app's stays

    // A second start of the app raises its window, not Velotide's.
    SetForegroundWindow(app.mainWindow());
    EXPECT_EQ(ChildProcess(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, L"--app team-mail").WaitForExit(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == appWindow; }));

    // Removed: asked first, the running app quits, nothing is left.
    ChildProcess remove(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, L"--remove-app team-mail");
    EXPECT_EQ(DismissMessageBox(remove, IDYES), L"Remove Team Mail? Its sign-in and settings are deleted.");
    EXPECT_EQ(remove.WaitForExit(30000), 0u);
    EXPECT_FALSE(IsWindow(appWindow));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(ShortcutPath()));
    EXPECT_FALSE(EntryExists());
    EXPECT_EQ(app.Quit(), 0u);
}

// An id that is malformed, or names no app: said, exit code 2, nothing made.
TEST(SiteAppsAppTest, AnIdThatNamesNoAppIsSaidAndNothingIsMade) {
    AppSession app;  // for its own per-user folder
    for (const wchar_t* id : {L"..\\x", L"no-such-app", L""}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(id)));
        for (const wchar_t* verb : {L"--app ", L"--remove-app "}) {
            ChildProcess start(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, verb + std::wstring(L"\"") + id + L"\"");
            EXPECT_EQ(DismissMessageBox(start), L"There is no Velotide app named \u201C" + std::wstring(id) + L"\u201D.");
            EXPECT_EQ(start.WaitForExit(), 2u);
        }
    }
    EXPECT_FALSE(FileExists(app.dataDir()));
}

}  // namespace
