// Kiosk mode on the running velotide.exe and the test engine: the window
// covering its monitor with no way out or elsewhere, the runtime's own menu
// and keys off, lost pages and browsers brought back, the session cleared
// after the idle time, and the command line's problems.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/commands.h"
#include "app/site_bar.h"
#include "settings/organisation_policies.h"
#include "tests/support/app_input.h"
#include "tests/support/app_session.h"
#include "tests/support/registry_override.h"

namespace {

const char kSite[] = "url=http://site.test/\r\n";

// Whether the window covers its whole monitor, without frame or menu.
bool CoversItsMonitor(HWND window) {
    RECT rect;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetWindowRect(window, &rect);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return EqualRect(&rect, &monitor.rcMonitor) && !GetMenu(window) &&
           !(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION);
}

// Once this returns, the program has handled what was sent or posted to it before.
void Settle(const AppSession& app) {
    PumpFor(200);
    SendMessageTimeoutW(app.mainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

// Windows ends the session: the program's only end as a kiosk; its exit code.
DWORD EndSession(const AppSession& app) {
    DWORD_PTR agreed = FALSE;
    SendMessageTimeoutW(app.mainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &agreed);
    EXPECT_TRUE(agreed);
    SendMessageTimeoutW(app.mainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, nullptr);
    return app.process().WaitForExit();
}

// Whether the pointer shows over the window in front (Wine tells the count
// of the thread whose window is in front).
bool PointerShows() {
    CURSORINFO cursor = {};
    cursor.cbSize = sizeof(cursor);
    return GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING);
}

TEST(KioskAppTest, CoversItsMonitorAndNothingLeadsOutOrElsewhere) {
    const std::string config = std::string(kSite) + "tray=1\r\n";
    // At 10 %, the pointer hides after half a second's rest.
    AppSession app(config, Engine::kTest, {{L"VELOTIDE_WAIT_SCALE", L"10"}});
    ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, L"--kiosk"));
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    HWND window = app.mainWindow();
    EXPECT_TRUE(CoversItsMonitor(window));
    // A way out, or elsewhere, for each row; the log line it leads to, if any.
    const struct {
        const char* name;
        void (*act)(const AppSession&);
        const char* log;
    } kWays[] = {
        {"the close box", [](const AppSession& a) { PostMessageW(a.mainWindow(), WM_CLOSE, 0, 0); }, nullptr},
        {"Alt+F4", [](const AppSession& a) { PostMessageW(a.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }, nullptr},
        {"Quit", [](const AppSession& a) { a.Command(ID_SITE_QUIT); }, nullptr},
        {"Change site address", [](const AppSession& a) { a.Command(ID_SITE_CHANGE); }, nullptr},
        {"F11", [](const AppSession& a) { Press(a, VK_F11); }, "key to page 122 0"},
        {"Esc", [](const AppSession& a) { Press(a, VK_ESCAPE); }, "key to page 27 0"},
        {"Ctrl+L", [](const AppSession& a) { Press(a, 'L', kCtrl); }, "key to page 76 0"},
        {"the page's fullscreen, and its end",
         [](const AppSession& a) { a.Page(L"fullscreen on"), a.Page(L"fullscreen off"); }, "fullscreen element off"},
        {"a link to another site", [](const AppSession& a) { a.Page(L"link https://other.test/"); },
         "navigation cancelled"},
        {"a mail link", [](const AppSession& a) { a.Page(L"link mailto:someone@site.test"); }, "navigation cancelled"},
        {"a frame's link to a meeting program", [](const AppSession& a) { a.Page(L"framelink zoommtg://zoom.us/j/1"); },
         "launch cancelled zoommtg://zoom.us/j/1"},
        {"a download", [](const AppSession& a) { a.Page(L"download http://site.test/report.bin"); },
         "download cancelled"},
        {"the site's wish to notify", [](const AppSession& a) { a.Page(L"permission 4"); },
         "permission answered deny 4"},
        {"Home from a page that asks before it is left",
         [](const AppSession& a) { a.Page(L"beforeunload on"), Press(a, VK_HOME, kAlt); },
         "page shown http://site.test/"},
    };
    for (const auto& way : kWays) {
        SCOPED_TRACE(way.name);
        size_t seen = way.log ? app.CountLog(way.log) : 0;
        way.act(app);
        if (way.log) {
            EXPECT_TRUE(app.WaitForLog(way.log, seen + 1));
        }
        Settle(app);
        EXPECT_EQ(app.process().WaitForExit(0), STILL_ACTIVE);
        EXPECT_TRUE(IsWindowVisible(window) && CoversItsMonitor(window));
        HWND bar = FindWindowExW(window, nullptr, kSiteBarClass, nullptr);
        EXPECT_FALSE(bar && IsWindowVisible(bar));
        EXPECT_FALSE(FindProcessWindow(app.process().id(), L"VelotidePrompt"));
        EXPECT_FALSE(FindProcessWindow(app.process().id(), L"#32770"));
    }
    EXPECT_EQ(app.LastLog("page shown"), "page shown http://site.test/");
    // The pointer hides while the mouse rests, and shows at the next move.
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }));
    EXPECT_TRUE(PumpUntil([] { return !PointerShows(); }, 3000));
    INPUT move = {INPUT_MOUSE, {.mi = {3, 0, 0, MOUSEEVENTF_MOVE, 0, 0}}};
    ASSERT_EQ(SendInput(1, &move, sizeof(move)), 1u);
    EXPECT_TRUE(PumpUntil(PointerShows, 3000));
    EXPECT_EQ(EndSession(app), 0u);
    EXPECT_EQ(ReadFileBytes(app.dataDir() + L"\\config.ini"), config);  // a kiosk writes nothing
}

// Every page a kiosk shows instead of its site says, in the kiosk's words,
// that it comes back by itself, and tries again until the site shows.
TEST(KioskAppTest, PagesInsteadOfTheSiteTryAgainUntilTheSiteShowsByItself) {
    // At 5 % the failure page's 10 s, 30 s and 60 s are 0.5 s, 1.5 s and 3 s.
    AppSession app(kSite, Engine::kTest, {{L"VELOTIDE_WAIT_SCALE", L"5"}});
    ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, L"--kiosk"));
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    const struct {
        const char* name;
        void (*sendAway)(const AppSession&);
        const char* page;              // shown instead of the site
        const wchar_t* comeBack;       // what lets the site show again; null: the next try shows it
    } kCases[] = {
        {"the site's address sends the kiosk to a sign-in portal",
         [](const AppSession& a) {
             a.Page(L"redirects http://site.test/ http://portal.test/signin"), Press(a, VK_HOME, kAlt);
         },
         "page shown data: The site sent Velotide to another address http://site.test/ sends its visitors on to "
         "http://portal.test/signin, which is outside the site. It is tried again in a moment.",
         L"redirects http://site.test/"},
        {"a page of another site that got past the cancel",
         [](const AppSession& a) { a.Page(L"auth http://other.test/private"); },
         "page shown data: Velotide kept the view on the site http://other.test/private is outside http://site.test/, "
         "so it is not shown. It is tried again in a moment.",
         nullptr},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        size_t shown = app.CountLog(c.page), onSite = app.CountLog("page shown http://site.test/");
        c.sendAway(app);
        ASSERT_TRUE(app.WaitForLog(c.page, shown + 1)) << ::testing::PrintToString(app.Log());
        if (c.comeBack) {
            // Tried again, and sent away again, while the site keeps sending it away.
            ASSERT_TRUE(app.WaitForLog(c.page, shown + 2)) << ::testing::PrintToString(app.Log());
            ASSERT_TRUE(app.Page(c.comeBack));
        }
        EXPECT_TRUE(app.WaitForLog("page shown http://site.test/", onSite + 1)) << ::testing::PrintToString(app.Log());
        // Back on the site, nothing more is tried.
        size_t started = app.CountLog("navigation started");
        PumpFor(3500);
        EXPECT_EQ(app.CountLog("navigation started"), started);
        EXPECT_EQ(app.LastLog("page shown"), "page shown http://site.test/");
    }
    EXPECT_EQ(EndSession(app), 0u);
}

// The organisation's Kiosk=1 makes a kiosk of a plain start, with the
// command line's kiosk switches; with no site at all, a page says so and
// nobody is asked for one.
TEST(KioskAppTest, ThePolicyMakesAKioskOfAPlainStartAndNoSiteIsSaidSo) {
    DWORD on = 1;
    RegistryValueOverride policy(HKEY_CURRENT_USER, 0, kPolicyKey, L"Kiosk", REG_DWORD,
                                 std::string(reinterpret_cast<const char*>(&on), sizeof(on)));
    AppSession app;
    ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, L"--kiosk-public"));
    EXPECT_TRUE(app.WaitForLog("page shown data: No site is set This kiosk has no site address to show."));
    EXPECT_EQ(app.CountLog("controller created inprivate"), 1u);
    PostMessageW(app.mainWindow(), WM_CLOSE, 0, 0);
    Settle(app);
    EXPECT_TRUE(IsWindowVisible(app.mainWindow()) && CoversItsMonitor(app.mainWindow()));
    EXPECT_FALSE(FindProcessWindow(app.process().id(), L"VelotidePrompt"));
    EXPECT_EQ(EndSession(app), 0u);
    EXPECT_FALSE(FileExists(app.dataDir() + L"\\config.ini"));
}

TEST(KioskAppTest, TheRuntimesContextMenuAndKeysAreOffInAKioskAndOnElsewhere) {
    const struct {
        const wchar_t* arguments;
        const char* setting;  // logged as the view is set up, or null
        const char* menu;     // a right click on the page
        bool runtimeKeys;     // Ctrl+P prints, F5 reloads, Alt+Left goes back
    } kCases[] = {
        {L"--kiosk", "settings put AreBrowserAcceleratorKeysEnabled=0", "context menu suppressed", false},
        {L"", nullptr, "context menu shown", true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.arguments)));
        AppSession app(kSite);
        ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, c.arguments));
        ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
        EXPECT_EQ(app.CountLog("settings put AreBrowserAcceleratorKeysEnabled"), c.setting ? 1u : 0u);
        EXPECT_EQ(app.CountLog("settings put AreDefaultContextMenusEnabled=0"), c.setting ? 1u : 0u);
        PostMessageW(app.view(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
        PostMessageW(app.view(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_TRUE(app.WaitForLog(c.menu));
        ASSERT_TRUE(app.Page(L"link http://site.test/second"));
        ASSERT_TRUE(app.WaitForLog("navigation completed 2 success"));
        EXPECT_EQ(Press(app, 'P', kCtrl), "key to page 80 0");
        EXPECT_EQ(Press(app, VK_LEFT, kAlt), "key to page 37 2");
        Settle(app);
        EXPECT_EQ(app.CountLog("runtime key print"), c.runtimeKeys ? 1u : 0u);
        EXPECT_EQ(app.CountLog("runtime key back"), c.runtimeKeys ? 1u : 0u);
        EXPECT_EQ(app.CountLog("navigation started 3 http://site.test/"), c.runtimeKeys ? 1u : 0u);
        EXPECT_EQ(EndSession(app), 0u);
    }
}

INT_PTR CALLBACK OnDialogCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
    return message == WM_COMMAND;
}

// Every way a page has to a file, folder or print dialog, from which a
// visitor would reach the whole machine: shut in a kiosk, as the runtime has
// it elsewhere; and the PDF viewer's Save, Save as and Print hidden. A
// dialog the browser opens before the page's script could stop it is closed
// over a kiosk at once; another window it owns stays (the runtime's
// drop-down lists are such), as does any over a window that is no kiosk.
TEST(KioskAppTest, NoPageReachesAFileOrPrintDialogInAKioskAndAllDoElsewhere) {
    const struct {
        const wchar_t* command;  // what the page does
        const char* kiosk;       // its end in a kiosk
        const char* elsewhere;   // and outside one
    } kCalls[] = {
        {L"opens print", "page call stopped print", "runtime dialog print"},
        {L"opens file-input", "page call stopped file-input", "runtime dialog file-input"},
        {L"opens save-as", "save as cancelled", "save as dialog"},
    };
    for (bool kiosk : {true, false}) {
        SCOPED_TRACE(kiosk ? "kiosk" : "elsewhere");
        AppSession app(kSite);
        ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, kiosk ? L"--kiosk" : L""));
        ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
        EXPECT_EQ(app.CountLog("settings put HiddenPdfToolbarItems=7"), kiosk ? 1u : 0u);  // Save, Print, Save as
        EXPECT_EQ(app.CountLog("settings put IsSwipeNavigationEnabled=0"), kiosk ? 1u : 0u);
        EXPECT_EQ(app.CountLog("settings put IsGeneralAutofillEnabled=0"), kiosk ? 1u : 0u);
        for (const auto& call : kCalls) {
            SCOPED_TRACE(::testing::PrintToString(std::wstring(call.command)));
            ASSERT_TRUE(app.Page(call.command));
            EXPECT_TRUE(app.WaitForLog(kiosk ? call.kiosk : call.elsewhere));
            EXPECT_EQ(app.CountLog(kiosk ? call.elsewhere : call.kiosk), 0u);
        }
        // The page's next document too, and Ctrl+S (the runtime's keys are off in a kiosk).
        ASSERT_TRUE(app.Page(L"link http://site.test/next"));
        ASSERT_TRUE(app.WaitForLog("navigation completed 2 success"));
        ASSERT_TRUE(app.Page(L"opens print"));
        EXPECT_TRUE(app.WaitForLog(kiosk ? "page call stopped print" : "runtime dialog print", 2));
        Press(app, 'S', kCtrl);
        Settle(app);
        EXPECT_EQ(app.CountLog("save as dialog"), kiosk ? 0u : 2u);
        // This test's process stands for the browser's; its dialog ends at
        // Cancel, as a file or print dialog does.
        for (const std::wstring windowClass : {L"#32770", L"Static"}) {
            SCOPED_TRACE(::testing::PrintToString(windowClass));
            bool closed = kiosk && windowClass == L"#32770";
            HWND dialog = CreateWindowExW(0, windowClass.c_str(), L"Save as", WS_POPUP | WS_CAPTION | WS_SYSMENU, 10,
                                          10, 300, 200, app.mainWindow(), nullptr, nullptr, nullptr);
            ASSERT_TRUE(dialog);
            SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(OnDialogCommand));
            ShowWindow(dialog, SW_SHOWNORMAL);
            EXPECT_EQ(PumpUntil([&] { return !IsWindow(dialog); }, closed ? 5000 : 1500), closed);
            if (IsWindow(dialog)) DestroyWindow(dialog);
        }
        EXPECT_EQ(app.process().WaitForExit(0), STILL_ACTIVE);  // the window it was over stays
        EXPECT_EQ(EndSession(app), 0u);
    }
}

TEST(KioskAppTest, ALostPageOrBrowserAlwaysComesBackAfterAGrowingWait) {
    // Waits at 10 %: the recovery schedule's 5 s, 10 s, ... become 0.5 s, 1 s, ...
    AppSession app(kSite, Engine::kTest, {{L"VELOTIDE_WAIT_SCALE", L"10"}});
    ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, L"--kiosk"));
    ASSERT_TRUE(app.WaitForLog("page shown http://site.test/"));
    // Each renderer loss: the page at once the first time, then the failure
    // page for a growing wait before the same page loads again.
    const struct {
        DWORD wait;       // at least this long before the page shows again (ms)
        bool stoppedPage; // the failure page shows meanwhile
    } kLosses[] = {{0, false}, {500, true}, {1000, true}};
    const char kStopped[] = "page shown data: Can't reach the site The page stopped working. Address: "
                            "http://site.test/ It is tried again in a moment.";
    for (const auto& loss : kLosses) {
        SCOPED_TRACE(loss.wait);
        size_t stopped = app.CountLog(kStopped), shown = app.CountLog("page shown http://site.test/");
        ASSERT_TRUE(app.Page(L"crash 1"));
        DWORD lost = GetTickCount();
        ASSERT_TRUE(app.WaitForLog("page shown http://site.test/", shown + 1, 5000));
        EXPECT_GE(GetTickCount() - lost, loss.wait);
        EXPECT_EQ(app.CountLog(kStopped), stopped + loss.stoppedPage);
    }
    // The browser is lost, and lost again before it could show a page (its
    // site's server is down): started again after a wait, never given up.
    ASSERT_TRUE(app.Page(L"down site.test"));
    ASSERT_TRUE(app.Page(L"crash 0"));
    ASSERT_TRUE(app.WaitForLog("environment created", 2));
    ASSERT_TRUE(app.WaitForLog("page shown error http://site.test/"));
    size_t shown = app.CountLog("page shown http://site.test/");
    ASSERT_TRUE(PumpUntil([&] { return app.view() && app.Page(L"up site.test") && app.Page(L"crash 0"); }));
    ASSERT_TRUE(app.WaitForLog("environment created", 3));
    EXPECT_TRUE(app.WaitForLog("page shown http://site.test/", shown + 1));
    EXPECT_FALSE(FindProcessWindow(app.process().id(), L"#32770"));
    EXPECT_EQ(EndSession(app), 0u);
}

// A minute without input (the test gives none): the profile forgets the
// visitor, the site's notification answer is set in it again, and the site
// loads anew in a new view, with no pages of the visitor to go back to.
TEST(KioskAppTest, AMinuteWithoutInputStartsTheSessionAfreshForTheNextVisitor) {
    const struct {
        const wchar_t* arguments;
        const char* view;  // how the engine logs a view made
        // VELOTIDE_TEST_ENGINE_FAIL: "clear", a runtime that never answers the clearing;
        // "second-controller", one that can't make the new view (the browser is made again)
        const wchar_t* fail;
    } kCases[] = {
        {L"--kiosk --kiosk-idle-minutes 1", "controller created", L""},
        {L"--kiosk-public --kiosk --kiosk-idle-minutes 1", "controller created inprivate", L""},
        {L"--kiosk --kiosk-idle-minutes 1", "controller created", L"clear"},
        {L"--kiosk --kiosk-idle-minutes 1", "controller created", L"second-controller"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.arguments) + L" " + c.fail));
        AppSession app(std::string(kSite) + "notifications=allow\r\n", Engine::kTest,
                       {{L"VELOTIDE_TEST_ENGINE_FAIL", c.fail}, {L"VELOTIDE_WAIT_SCALE", L"10"}});
        DWORD started = GetTickCount();
        ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, c.arguments));
        ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
        ASSERT_TRUE(app.Page(L"link http://site.test/visitor"));
        ASSERT_TRUE(app.WaitForLog("page shown http://site.test/visitor"));
        EXPECT_TRUE(PumpUntil([&] { return app.LastLog("page shown") == "page shown http://site.test/"; }, 90000));
        EXPECT_GE(GetTickCount() - started, 59000u);
        std::vector<std::string> log = app.Log();
        auto cleared = std::find(log.begin(), log.end(), "browsing data cleared Default");
        ASSERT_NE(cleared, log.end());
        EXPECT_NE(std::find(cleared, log.end(), "permission state allow 4 http://site.test/"), log.end());
        EXPECT_EQ(app.CountLog(c.view), 2u);
        EXPECT_EQ(app.CountLog("controller created"), 2u);
        EXPECT_EQ(app.CountLog("settings put IsSwipeNavigationEnabled=0"), 2u);
        EXPECT_EQ(app.CountLog("clearing unanswered"), wcscmp(c.fail, L"clear") ? 0u : 1u);
        EXPECT_EQ(app.CountLog("controller failed"), *c.fail == L's' ? 1u : 0u);
        EXPECT_EQ(EndSession(app), 0u);
    }
}

// What is wrong is said before any window, and the start ends with exit
// code 2 (the messages themselves: KioskCommandLineTest).
TEST(KioskAppTest, ABadCommandLineIsNamedAndEndsWithExitCodeTwo) {
    AppSession app(kSite);
    ChildProcess velotide(VelotideExePath(), app.dataDir(), nullptr, SW_SHOWNORMAL, L"--kiosk a.test b.test");
    EXPECT_EQ(DismissMessageBox(velotide),
              L"A kiosk shows one site, but the command line names two: \u201Ca.test\u201D and \u201Cb.test\u201D.");
    EXPECT_EQ(velotide.WaitForExit(), 2u);
    EXPECT_FALSE(FindProcessWindow(velotide.id(), L"VelotideMain"));
}

}  // namespace
