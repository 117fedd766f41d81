// Starting with Windows: the command line the program reads, and the real
// program started in the background with its Run value.
#include <gtest/gtest.h>

#include <tuple>

#include "app/command_line.h"
#include "app/commands.h"
#include "tests/support/app_session.h"
#include "tests/support/registry_override.h"

TEST(CommandLineTest, ReadsTheProgramTheBackgroundFlagAndTheApp) {
    const std::tuple<const wchar_t*, const wchar_t*, bool, const wchar_t*, const wchar_t*> cases[] = {
        {L"\"C:\\Program Files\\velotide.exe\" --unknown \"--BACKGROUND\"", L"C:\\Program Files\\velotide.exe", true,
         L"", L""},
        {L"velotide.exe --background=1 background", L"velotide.exe", false, L"", L""},
        {L"--background", L"--background", false, L"", L""},  // the program's own name
        {L"", L"", false, L"", L""},
        {L"v.exe --app mail --background", L"v.exe", true, L"mail", L""},
        {L"v.exe --remove-app \"Mail Two\"", L"v.exe", false, L"", L"Mail Two"},
        {L"v.exe --app", L"v.exe", false, L"", L""},
    };
    for (auto [line, program, background, app, removeApp] : cases) {
        CommandLine parsed = ParseCommandLine(line);
        EXPECT_TRUE(parsed.program == program && parsed.background == background && parsed.app == app &&
                    parsed.removeApp == removeApp)
            << testing::PrintToString(std::wstring(line));
    }
}

// Started by Windows at sign-in: out of the way with the engine running, a
// Run value left by a copy that is gone taken over (another copy's left
// alone); the menu then removes and writes it, and a second start shows the window.
TEST(StartWithWindowsAppTest, BackgroundStartTakesOverAGoneCopysRunValue) {
    const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::wstring self = L"\"" + VelotideExePath() + L"\" --background";
    const std::wstring other = L"\"" + WinPathFromUnix(VELOTIDE_TEST_ENGINE_UNIX_PATH) + L"\" --background";
    auto runValue = [&] {
        wchar_t value[1024] = L"";
        DWORD size = sizeof value;
        RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Velotide", RRF_RT_REG_SZ, nullptr, value, &size);
        return std::wstring(value);
    };
    const std::tuple<bool, std::wstring, std::wstring> cases[] = {
        {false, L"\"C:\\gone\\velotide.exe\" --background", self}, {true, other, other}};
    for (const auto& [tray, atStart, afterStart] : cases) {
        RegistryValueOverride value(HKEY_CURRENT_USER, 0, kRunKey, L"Velotide", atStart);
        AppSession app(std::string("url=https://host.test/\r\n") + (tray ? "tray=1\r\n" : ""));
        ASSERT_TRUE(app.Start(false, SW_SHOWNORMAL, L"--background"));
        ASSERT_TRUE(app.WaitForLog("navigation started 1 https://host.test/"));
        EXPECT_TRUE(IsWindowVisible(app.mainWindow()) == !tray && IsIconic(app.mainWindow()) == !tray) << tray;
        EXPECT_EQ(app.LastLog("visible"), "visible 0");
        EXPECT_EQ(runValue(), afterStart);
        for (const std::wstring& expected : {tray ? self : L"", tray ? L"" : self}) {
            app.Command(ID_VIEW_START_WITH_WINDOWS);
            EXPECT_TRUE(PumpUntil([&] { return runValue() == expected; }));
        }
        ChildProcess second(VelotideExePath());
        EXPECT_TRUE(second.WaitForExit() == 0 && app.WaitForLog("visible 1"));
        EXPECT_TRUE(IsWindowVisible(app.mainWindow()) && !IsIconic(app.mainWindow()));
        EXPECT_EQ(app.Quit(), 0u);
    }
}

// Started in the background, a window left maximised comes back maximised
// (shown from hiding, or restored from the taskbar) and keeps its place when
// never shown.
TEST(StartWithWindowsAppTest, BackgroundStartKeepsAMaximisedWindowMaximised) {
    for (auto [tray, shown] : {std::pair{true, true}, {true, false}, {false, true}, {false, false}}) {
        const char kPlace[] = "window=100,80,900,680,1\r\n";
        AppSession app(std::string("url=https://host.test/\r\n") + kPlace + (tray ? "tray=1\r\n" : ""));
        ASSERT_TRUE(app.Start(false, SW_SHOWNORMAL, L"--background") && app.WaitForLog("navigation started 1"));
        if (shown) {
            EXPECT_EQ(ChildProcess(VelotideExePath()).WaitForExit(), 0u);  // shows or restores it
        }
        HWND window = app.mainWindow();
        EXPECT_EQ(PumpUntil([&] { return IsZoomed(window) && IsWindowVisible(window); }, shown ? 5000 : 300), shown);
        EXPECT_EQ(app.Quit(), 0u);
        EXPECT_NE(ReadFileBytes(app.dataDir() + L"\\config.ini").find(kPlace), std::string::npos) << tray << shown;
    }
}
