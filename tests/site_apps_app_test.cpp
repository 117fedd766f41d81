// Site apps through the running program against the test engine: made from
// the site beside Velotide, run as a program of its own, raised by a second
// start, removed whole, and pointed at Velotide when it moved.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <set>

#include "app/app_registration.h"
#include "app/app_shortcut.h"
#include "app/app_uninstall_entry.h"
#include "app/commands.h"
#include "app/site_app.h"
#include "settings/config_store.h"
#include "tests/support/app_session.h"
#include "tests/support/registry_override.h"

namespace {

const bool kCom = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));  // the shell's shortcuts
const wchar_t kAppClass[] = L"VelotideMain.App.team-mail";
const wchar_t kEntry[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velotide.App.team-mail";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

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
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));  // its load sets the title anew
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
    // A profile of its own in Velotide's folder, on Velotide's browser; Velotide's window stays.
    ASSERT_TRUE(app.WaitForLog("view on browser", 2));
    EXPECT_EQ(app.LastLog("controller created"), "controller created profile Velotide.App.team-mail");
    EXPECT_EQ(app.LastLog("view on browser"), app.LogLines("view on browser")[0]);
    EXPECT_TRUE(IsWindowVisible(app.mainWindow()));

    // Kept in the notification area, it shows its own icon there, not Velotide's.
    PostMessageW(appWindow, WM_COMMAND, ID_VIEW_KEEP_IN_TRAY, 0);
    for (HWND window : {appWindow, app.mainWindow()})  // off the tray, which sits in the top left corner
        SetWindowPos(window, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(PumpUntil([&] { return TrayIconCentre() == RGB(0x20, 0x80, 0xFF); }));

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
    ChildProcess removeSecond(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL,
                              L"--remove-app team-mail-2");
    EXPECT_NE(DismissMessageBox(removeSecond, IDYES), L"(no message box)");
    EXPECT_EQ(removeSecond.WaitForExit(30000), 0u);
    EXPECT_FALSE(FileExists(secondShortcut));
    EXPECT_TRUE(FileExists(ShortcutPath()));  // the first app's stays

    // A second start of the app raises its window, not Velotide's.
    SetForegroundWindow(app.mainWindow());
    EXPECT_EQ(ChildProcess(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, L"--app team-mail").WaitForExit(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == appWindow; }));

    // Removed: asked first, the running app quits, nothing is left but, while
    // the browser Velotide runs on holds its profile, the removal's mark,
    // which keeps its id taken until Velotide's next start.
    ChildProcess remove(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--remove-app team-mail");
    EXPECT_EQ(DismissMessageBox(remove, IDYES), L"Remove Team Mail? Its sign-in and settings are deleted.");
    EXPECT_EQ(remove.WaitForExit(30000), 0u);
    EXPECT_FALSE(IsWindow(appWindow));
    EXPECT_FALSE(AppExists(L"team-mail"));
    EXPECT_TRUE(FileExists(folder + L"\\removed"));
    EXPECT_FALSE(FileExists(ShortcutPath()));
    EXPECT_FALSE(EntryExists());
    EXPECT_EQ(app.Quit(), 0u);
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(PumpUntil([&] { return !FileExists(folder) && !FileExists(folder + L"-2"); }));
    EXPECT_EQ(app.Quit(), 0u);
}

// A site icon that never comes keeps no app from being made: after a while
// the app is made with Velotide's own icon.
TEST(SiteAppsAppTest, AnIconThatNeverComesGivesTheAppVelotidesIcon) {
    AppSession app("url=https://site.example/\r\n");
    ASSERT_TRUE(app.Start());
    // The page's title and icon once it has loaded: its load sets both anew.
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    ASSERT_TRUE(app.Page(L"title Notes") && app.Page(L"favicon https://site.example/icon.png unanswered"));
    ASSERT_TRUE(app.WaitForLog("favicon changed"));
    app.Command(ID_SITE_CREATE_APP);
    PostMessageW(app.process().WaitForWindow(L"VelotidePrompt"), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([] { return FindWindowW(L"VelotideMain.App.notes", nullptr) != nullptr; }, 20000))
        << ::testing::PrintToString(app.Log());
    EXPECT_EQ(ReadFileBytes(app.dataDir() + L"\\Apps\\notes\\icon.ico"),
              ReadFileBytes(WinPathFromUnix(VELOTIDE_SOURCE_UNIX_DIR "/resources/velotide.ico")));
    ChildProcess remove(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--remove-app notes");
    EXPECT_NE(DismissMessageBox(remove, IDYES), L"(no message box)");
    EXPECT_EQ(remove.WaitForExit(30000), 0u);
    EXPECT_EQ(app.Quit(), 0u);
}

std::wstring RunValue() {  // the app's "Start with Windows"
    wchar_t value[1024] = L"";
    DWORD size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Velotide.App.team-mail", RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// Team Mail as Velotide makes it, started by exe: folder, settings, shortcut,
// entry and (for the life of the result) Run value.
std::unique_ptr<RegistryValueOverride> LayOutTeamMail(const AppSession& app, const std::wstring& exe) {
    CreateDirectoryW((app.dataDir() + L"\\Apps").c_str(), nullptr);
    CreateDirectoryW((app.dataDir() + L"\\Apps\\team-mail").c_str(), nullptr);
    WriteFileBytes(app.dataDir() + L"\\Apps\\team-mail\\config.ini", "url=https://site.example/\r\nname=Team Mail\r\n");
    UnregisterApp(L"team-mail");  // what a failed run before may have left
    EXPECT_TRUE(RegisterApp(L"team-mail", L"Team Mail", L"site.example", exe));
    return std::make_unique<RegistryValueOverride>(HKEY_CURRENT_USER, 0, kRunKey, L"Velotide.App.team-mail",
                                                   L"\"" + exe + L"\" --app team-mail --background");
}

std::string WhatIsLeft(const AppSession& app) {
    return std::string(FileExists(app.dataDir() + L"\\Apps\\team-mail\\config.ini") ? "settings " : "") +
           (FileExists(ShortcutPath()) ? "shortcut " : "") + (EntryExists() ? "entry " : "") +
           (RunValue().empty() ? "" : "run");
}

// Removing a running app whose engine files the runtime (here: the test)
// holds: they are waited for, what is left is said, removable, and goes at
// Velotide's next start; staying on the page keeps everything.
TEST(SiteAppsAppTest, RemovingARunningAppWaitsForItsFilesAndLeavesNothingHalfDone) {
    const struct { bool stays, heldLong; DWORD exitCode; const wchar_t* said; const char* left; } kCases[] = {
        {false, false, 0, L"", ""},
        {false, true, 1, L"Team Mail is gone from the Start menu, but some of its files are still in use:",
         "settings entry "},
        {true, false, 1, L"Team Mail stayed open, so nothing of it was removed.", "settings shortcut entry run"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.said)));
        AppSession app("url=https://plain.example/\r\n");
        auto runValue = LayOutTeamMail(app, VelotideExePath());
        const std::wstring folder = app.dataDir() + L"\\Apps\\team-mail";
        CreateDirectoryW((folder + L"\\WebView2").c_str(), nullptr);
        HANDLE held = CreateFileW((folder + L"\\WebView2\\x").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, 0);
        ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, L"--app team-mail"));
        ASSERT_TRUE(app.WaitForLog("page shown https://site.example/") && app.Page(L"beforeunload on"));
        ChildProcess remove(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, L"--remove-app team-mail");
        EXPECT_EQ(DismissMessageBox(remove, IDYES), L"Remove Team Mail? Its sign-in and settings are deleted.");
        EXPECT_NE(AnswerPrompt(app.process(), c.stays ? IDCANCEL : IDOK).find(L"Leave site?"), std::wstring::npos);
        EXPECT_EQ(app.process().WaitForExit(c.stays ? 0 : 15000) == STILL_ACTIVE, c.stays);
        if (!c.heldLong) PumpFor(2000);  // a while, then let go: within the removal's patience
        if (!c.heldLong) CloseHandle(held);
        auto saying = [&] { return FindProcessWindow(remove.id(), L"#32770") != nullptr; };
        ASSERT_TRUE(PumpUntil([&] { return remove.WaitForExit(0) != STILL_ACTIVE || saying(); }, 40000));
        std::wstring said = saying() ? DismissMessageBox(remove) : L"";
        EXPECT_EQ(remove.WaitForExit(), c.exitCode);
        EXPECT_EQ(said.substr(0, said.find(L'\n')), c.said);
        EXPECT_EQ(WhatIsLeft(app), c.left);
        if (c.heldLong) {
            EXPECT_NE(said.find(folder + L"\\WebView2\n"), std::wstring::npos) << said;
            CloseHandle(held);
            ASSERT_TRUE(app.Start());  // plain Velotide finishes it
            EXPECT_EQ(WhatIsLeft(app) + (FileExists(folder) ? "folder" : ""), "");
        } else if (c.stays) {  // marked by an earlier removal, a second start leaves it alone
            WriteFileBytes(folder + L"\\removed", "");
            EXPECT_EQ(ChildProcess(VelotideExePath(), L"", 0, SW_SHOW, L"--app team-mail").WaitForExit(), 0u);
            EXPECT_TRUE(WhatIsLeft(app) == c.left && app.Page(L"beforeunload off"));
        }
        EXPECT_EQ(app.Quit(), 0u);
        UnregisterApp(L"team-mail");
    }
}

// Velotide moved: its start points every app's shortcut, entry and Run value
// that names an exe that is gone at itself; another copy's stay.
TEST(SiteAppsAppTest, VelotidePointsItsAppsAtItselfWhenTheExeTheyNameIsGone) {
    const std::wstring there = WinPathFromUnix(VELOTIDE_TEST_ENGINE_UNIX_PATH);
    for (const auto& [named, after] : {std::pair{std::wstring(L"C:\\gone.exe"), VelotideExePath()}, {there, there}}) {
        AppSession app("url=https://plain.example/\r\n");
        auto runValue = LayOutTeamMail(app, named);
        ASSERT_TRUE(app.Start() && app.WaitForLog("page shown https://plain.example/"));  // by then it has looked
        Shortcut shortcut;
        UninstallEntry entry;
        EXPECT_TRUE(ReadShortcut(ShortcutPath(), &shortcut) && ReadUninstallEntry(L"team-mail", &entry));
        EXPECT_EQ(shortcut.target + L"|" + entry.exe + L"|" + RunValue(),
                  after + L"|" + after + L"|\"" + after + L"\" --app team-mail --background");
        EXPECT_EQ(app.Quit(), 0u);
        UnregisterApp(L"team-mail");
    }
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

// Velotide and two apps started at once run on one browser, each app in a
// profile of its own in Velotide's folder; an app made before apps shared
// keeps its own folder. When that browser ends, each comes back by itself.
// Removing an app while Velotide runs has the runtime
// delete its profile, whose folder goes once the browser has ended; until
// then its id stays taken, so an app made again under its name gets another
// id and a profile the runtime makes; Velotide's next start frees the id.
TEST(SiteAppsAppTest, VelotideAndItsAppsRunOnOneBrowserEachAppInAProfileOfItsOwn) {
    AppSession app("url=https://plain.example/\r\n");
    for (const std::wstring id : {L"mail", L"chat", L"old"}) {
        CreateDirectoryW((app.dataDir() + L"\\Apps").c_str(), nullptr);
        CreateDirectoryW((app.dataDir() + L"\\Apps\\" + id).c_str(), nullptr);
        WriteFileBytes(app.dataDir() + L"\\Apps\\" + id + L"\\config.ini",
                       "url=https://site.example/\r\nnotifications=allow\r\n");  // so its profile keeps a file
    }
    CreateDirectoryW((app.dataDir() + L"\\Apps\\old\\WebView2").c_str(), nullptr);
    ChildProcess mail(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--app mail");
    ChildProcess chat(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--app chat");
    ASSERT_TRUE(app.WaitForLog("view on browser", 2, 20000));
    ASSERT_TRUE(app.Start());
    ChildProcess old(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--app old");
    ASSERT_TRUE(app.WaitForLog("view on browser", 4, 20000));
    auto browsers = [&] {
        std::vector<std::string> views = app.LogLines("view on browser");
        return std::set<std::string>(views.begin(), views.end()).size();
    };
    EXPECT_EQ(browsers(), 2u);  // Velotide's and its apps', and the old app's own
    EXPECT_EQ(app.CountLog("browser started"), 2u);
    EXPECT_EQ(app.CountLog("controller created profile Velotide.App.mail") +
                  app.CountLog("controller created profile Velotide.App.chat"), 2u);
    EXPECT_EQ(app.CountLog("environment requested 1 1 " + WideToUtf8(app.dataDir() + L"\\Apps\\old\\WebView2")), 1u);

    // Their browser ends: each view on it comes back by itself, again on one.
    ASSERT_TRUE(app.Page(L"crash 0"));
    ASSERT_TRUE(app.WaitForLog("view on browser", 7, 20000));
    EXPECT_EQ(app.CountLog("process failed 0"), 3u);
    EXPECT_EQ(browsers(), 3u);

    const std::wstring profile = app.dataDir() + L"\\WebView2\\EBWebView\\Velotide.App.mail";
    ASSERT_TRUE(FileExists(profile));
    ChildProcess remove(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--remove-app mail");
    EXPECT_NE(DismissMessageBox(remove, IDYES), L"(no message box)");
    EXPECT_EQ(remove.WaitForExit(30000), 0u);
    EXPECT_EQ(mail.WaitForExit(0), 0u);
    EXPECT_TRUE(app.WaitForLog("profile deleted Velotide.App.mail"));
    EXPECT_TRUE(FileExists(profile));  // the browser Velotide and chat run on may hold it
    EXPECT_FALSE(AppExists(L"mail"));
    EXPECT_TRUE(FileExists(app.dataDir() + L"\\Apps\\mail\\removed"));

    app.Command(ID_SITE_CREATE_APP);
    EXPECT_EQ(AnswerPrompt(app.process(), IDOK, L"Mail").find(L"Velotide \u2013 create an app|"), 0u);
    ASSERT_TRUE(PumpUntil([] { return FindWindowW(L"VelotideMain.App.mail-2", nullptr) != nullptr; }, 15000));
    ASSERT_TRUE(app.WaitForLog("controller created profile Velotide.App.mail-2"));
    EXPECT_EQ(app.CountLog("controller failed"), 0u);
    ChildProcess removeAgain(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--remove-app mail-2");
    EXPECT_NE(DismissMessageBox(removeAgain, IDYES), L"(no message box)");  // what it registered goes
    EXPECT_EQ(removeAgain.WaitForExit(30000), 0u);

    for (const wchar_t* window : {L"VelotideMain.App.chat", L"VelotideMain.App.old"})
        PostMessageW(FindWindowW(window, nullptr), WM_COMMAND, ID_SITE_QUIT, 0);
    EXPECT_EQ(chat.WaitForExit() + old.WaitForExit() + app.Quit(), 0u);
    EXPECT_FALSE(FileExists(profile));
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(PumpUntil([&] { return !FileExists(app.dataDir() + L"\\Apps\\mail"); }));
    EXPECT_TRUE(PumpUntil([&] { return !FileExists(app.dataDir() + L"\\Apps\\mail-2"); }));
    EXPECT_EQ(app.Quit(), 0u);
}

// An app whose profile is deleted while it runs (by a removal from
// elsewhere) says so and ends, rather than keep a view that is gone.
TEST(SiteAppsAppTest, AnAppWhoseProfileIsDeletedWhileItRunsSaysSoAndEnds) {
    AppSession app;
    for (const std::wstring& folder : {app.dataDir(), app.dataDir() + L"\\Apps", app.dataDir() + L"\\Apps\\mail"})
        CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileBytes(app.dataDir() + L"\\Apps\\mail\\config.ini", "url=https://site.example/\r\nname=Mail\r\n");
    ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, L"--app mail"));
    ASSERT_TRUE(app.WaitForLog("page shown https://site.example/"));
    ASSERT_TRUE(app.Page(L"profile-delete"));
    EXPECT_EQ(DismissMessageBox(app.process()), L"This app was removed.");
    EXPECT_EQ(app.process().WaitForExit(), 1u);
}

// A runtime before profiles: a new app gets a folder of its own; and an
// app's profile in Velotide's folder, which that runtime can't delete, goes
// once no Velotide runs, its id kept meanwhile.
TEST(SiteAppsAppTest, ARuntimeWithoutProfilesGivesAppsTheirOwnFolder) {
    AppSession app("url=https://plain.example/\r\n", Engine::kTest, {{L"VELOTIDE_TEST_ENGINE_PROFILES", L"none"}});
    const std::wstring apps = app.dataDir() + L"\\Apps";
    const std::wstring profile = app.dataDir() + L"\\WebView2\\EBWebView\\Velotide.App.chat";
    for (const std::wstring& folder : {apps, apps + L"\\mail", apps + L"\\chat", app.dataDir() + L"\\WebView2",
                                       app.dataDir() + L"\\WebView2\\EBWebView", profile})
        CreateDirectoryW(folder.c_str(), nullptr);
    for (const std::wstring id : {L"mail", L"chat"})
        WriteFileBytes(apps + L"\\" + id + L"\\config.ini", "url=https://site.example/\r\n");
    ASSERT_TRUE(app.Start());
    ChildProcess mail(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--app mail");
    ASSERT_TRUE(app.WaitForLog("view on browser", 2));
    EXPECT_NE(app.LastLog("environment requested").find("\\Apps\\mail\\WebView2"), std::string::npos);
    EXPECT_NE(app.LastLog("view on browser"), app.LogLines("view on browser")[0]);

    ChildProcess remove(VelotideExePath(), L"", app.environment(), SW_SHOWNORMAL, L"--remove-app chat");
    EXPECT_NE(DismissMessageBox(remove, IDYES), L"(no message box)");
    EXPECT_EQ(remove.WaitForExit(30000), 0u);
    EXPECT_TRUE(FileExists(profile) && FileExists(apps + L"\\chat\\removed"));
    EXPECT_FALSE(AppExists(L"chat"));
    PostMessageW(FindWindowW(L"VelotideMain.App.mail", nullptr), WM_COMMAND, ID_SITE_QUIT, 0);
    EXPECT_EQ(mail.WaitForExit() + app.Quit(), 0u);
    ASSERT_TRUE(app.Start());  // the first start with no app running finishes it
    EXPECT_FALSE(FileExists(profile) || FileExists(apps + L"\\chat"));
    EXPECT_EQ(app.Quit(), 0u);
}

}  // namespace
