// Engine start-up in the running program, against the test engine reached
// through the program's own loader.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/app_session.h"
#include "tests/support/engine_install.h"

namespace {

using Lines = std::vector<std::string>;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Lines of log that start with one of the prefixes, in log order.
Lines Matching(const Lines& log, const Lines& prefixes) {
    Lines found;
    for (const std::string& line : log)
        for (const std::string& prefix : prefixes)
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

TEST(StartupTest, ConfiguresViewBeforeShowingTheConfiguredSite) {
    AppSession app("url=Host/start?x=1\r\nblockAds=0\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed"));
    // Its settings come first, then it fits the main window's client area.
    RECT client;
    GetClientRect(app.mainWindow(), &client);
    char bounds[64];
    snprintf(bounds, sizeof bounds, "bounds %ld,%ld,%ld,%ld", client.left, client.top, client.right, client.bottom);
    const Lines expected = {
        "settings put IsStatusBarEnabled=0",
        "settings put AreDevToolsEnabled=0",
        "settings put IsZoomControlEnabled=1",
        // The page's dialogs are the program's to show, from the first page on.
        "settings put AreDefaultScriptDialogsEnabled=0",
        bounds,
        // Also while blocking is off, and for every frame and worker: the
        // engine offers the call that reaches them.
        "filter added *://doubleclick.net/* 0 sources all",
        "filter added *://*.doubleclick.net/* 0 sources all",
        // Not answered yet: the site asks again, whatever the profile kept.
        "permission state default 4 https://host/",
        "visible 1",
        // The main window had the focus: the view takes it, so that the
        // shortcuts work without a click into the page first.
        "focus 0",
        "navigation started 1 https://host/start?x=1",
    };
    EXPECT_EQ(Matching(app.Log(), {"bounds", "settings", "filter", "permission state", "visible", "focus",
                                   "navigation started", "page shown data:"}),
              expected);
    EXPECT_EQ(app.Quit(), 0u);
}

// The main window first shows as the starter of the process asked. Quitting
// right away, before the engine is up, still ends quietly with exit code 0.
TEST(StartupTest, MainWindowTakesTheShowCommandItWasStartedWith) {
    for (WORD show : {SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE}) {
        AppSession app("url=https://Host\r\n");
        ASSERT_TRUE(app.Start(false, show));
        EXPECT_EQ(IsZoomed(app.mainWindow()) != FALSE, show == SW_SHOWMAXIMIZED);
        EXPECT_EQ(IsIconic(app.mainWindow()) != FALSE, show == SW_SHOWMINNOACTIVE);
        EXPECT_EQ(app.Quit(), 0u);
    }
}

TEST(StartupTest, WithoutSiteShowsWelcomePageThenPrompt) {
    AppSession app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("page shown data: Welcome to Velotide"));
    EXPECT_EQ(Matching(app.Log(), {"page shown"}),
              Lines{"page shown data: Welcome to Velotide Enter your site address to get started."});
    EXPECT_TRUE(app.process().WaitForWindow(L"VelotidePrompt"));
    EXPECT_EQ(app.CountLog("navigation started"), 1u);
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(StartupTest, QuitAndCloseBoxCloseTheViewAndExitZero) {
    for (UINT message : {WM_COMMAND, WM_CLOSE}) {
        AppSession app("url=https://Host\r\n");
        ASSERT_TRUE(app.Start());
        PostMessageW(app.mainWindow(), message, message == WM_COMMAND ? 106 : 0, 0);
        EXPECT_EQ(app.process().WaitForExit(), 0u);
        EXPECT_EQ(app.Log().back(), "closed");
    }
}

TEST(StartupTest, EngineFailuresEndWithTheirMessageAndExitOne) {
    struct Case {
        const wchar_t* fail;
        const wchar_t* message;
    };
    for (const Case& c : {Case{L"create", kRuntimeMissingMessage}, Case{L"environment", kRuntimeMissingMessage},
                          Case{L"controller", kNoViewMessage}}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.fail)));
        AppSession app("url=https://Host\r\n", Engine::kTest, {{L"VELOTIDE_TEST_ENGINE_FAIL", c.fail}});
        app.Start(false);
        EXPECT_EQ(DismissMessageBox(app.process()), c.message);
        EXPECT_EQ(app.process().WaitForExit(), 1u);
        EXPECT_EQ(app.CountLog("navigation started"), 0u);
    }
}

// How tools open the runtime's DevTools on Windows: the switches in the
// variable reach the browser's command line through velotide.exe, its
// loader and the runtime.
TEST(StartupTest, AdditionalBrowserArgumentsReachTheBrowser) {
    AppSession app("url=https://Host\r\n", Engine::kTest,
                   {{L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", L"--remote-debugging-port=9444"}});
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.LastLog("browser arguments"), "browser arguments --remote-debugging-port=9444");
    EXPECT_EQ(app.Quit(), 0u);
}

// An installed runtime is found through the EdgeUpdate registry value, as
// the runtime's installer writes it (32-bit view of the machine key).
TEST(StartupTest, FindsRuntimeRegisteredInRegistry) {
    const wchar_t key[] = L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
    ScratchDir root;
    std::wstring folder = InstallTestEngine(root.path());
    HKEY hkey;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr, &hkey,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(hkey, L"EBWebView", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    {
        AppSession app("url=https://Host\r\n", Engine::kNone);
        ASSERT_TRUE(app.Start());
        EXPECT_TRUE(app.WaitForLog("navigation started 1 https://host/"));
        EXPECT_EQ(Matching(app.Log(), {"environment requested"}).front().substr(0, 25), "environment requested 1 0");
        EXPECT_EQ(app.Quit(), 0u);
    }
    RegDeleteValueW(hkey, L"EBWebView");
    RegCloseKey(hkey);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY, 0);
}

// The address the last navigation started for.
std::string LastStarted(const AppSession& app) {
    std::string line = app.LastLog("navigation started");
    return line.substr(line.rfind(' ') + 1);
}

TEST(StartupTest, ALostRendererIsReloadedOnceAndThenTheFailurePageSaysSo) {
    const char kStopped[] =
        "page shown data: Can't reach the site The page stopped working. Address: https://host/current";
    AppSession app("url=https://Host\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.Page(L"link https://host/current"));
    ASSERT_TRUE(app.WaitForLog("navigation completed", 2));
    // A page command or the Reload command (102, for null); the address the
    // navigation it leads to starts for ("": none); whether the failure page shows.
    const struct {
        const char* command;
        const char* navigation;
        bool stopped;
    } kSteps[] = {
        {"crash 1", "https://host/current", false},  // the renderer exited: reloaded
        {"crash 2", "data:", true},                  // it hangs right after: given up
        {nullptr, "https://host/current", false},    // Reload tries again
        {"crash 6", "", false},                      // the GPU process comes back by itself
        {"crash 1", "https://host/current", false},  // a loss after giving up is a first loss
    };
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.command ? step.command : "Reload");
        size_t started = app.CountLog("navigation started"), stopped = app.CountLog(kStopped),
               completed = app.CountLog("navigation completed");
        if (step.command)
            ASSERT_TRUE(app.Page(Wide(step.command)));
        else
            app.Command(102);
        if (*step.navigation) {
            ASSERT_TRUE(app.WaitForLog("navigation started", started + 1)) << ::testing::PrintToString(app.Log());
            EXPECT_EQ(LastStarted(app).rfind(step.navigation, 0), 0u) << LastStarted(app);
            ASSERT_TRUE(app.WaitForLog("navigation completed", completed + 1));
        } else {
            PumpFor(300);
            EXPECT_EQ(app.CountLog("navigation started"), started);
        }
        EXPECT_EQ(app.CountLog(kStopped), stopped + (step.stopped ? 1 : 0));
        EXPECT_EQ(app.CountLog("environment requested"), 1u);
    }
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(StartupTest, ALostBrowserStartsANewEngineAsLongAsTheLastOneShowedAPage) {
    const struct {
        const char* config;
        bool restartedAgain;  // the second loss starts a third engine; else the program ends
    } kCases[] = {
        {"url=https://host/current\r\n", true},
        {"url=https://down.invalid/\r\n", false},  // the restarted engine never shows the site
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.config);
        AppSession app(c.config);
        ASSERT_TRUE(app.Start());
        // The site, or its failure page, has loaded.
        ASSERT_TRUE(app.WaitForLog("navigation completed", c.restartedAgain ? 1 : 2));
        // Lost while the page shows an element fullscreen: the window comes back from it.
        ASSERT_TRUE(app.Page(L"fullscreen on"));
        ASSERT_TRUE(PumpUntil([&] { return !(GetWindowLongW(app.mainWindow(), GWL_STYLE) & WS_CAPTION); }));
        size_t from = app.Log().size(), completed = app.CountLog("navigation completed");
        ASSERT_TRUE(app.Page(L"crash 0"));
        ASSERT_TRUE(app.WaitForLog("environment requested", 2));
        ASSERT_TRUE(app.WaitForLog("navigation completed", completed + 1));
        Lines log = app.Log();
        Lines started = Matching(Lines(log.begin() + from, log.end()), {"navigation started"});
        ASSERT_FALSE(started.empty());
        EXPECT_EQ(started[0], std::string("navigation started 1 ") + (c.restartedAgain ? "https://host/current" : "https://down.invalid/"));
        EXPECT_TRUE(GetWindowLongW(app.mainWindow(), GWL_STYLE) & WS_CAPTION);
        EXPECT_EQ(app.CountLog("focus 0"), 2u);  // the new view has the focus
        // Lost again once the new engine has shown what it could.
        ASSERT_TRUE(app.WaitForLog("navigation completed", app.CountLog("navigation started")));
        ASSERT_TRUE(PumpUntil([&] { return app.view() != nullptr; }));
        ASSERT_TRUE(app.Page(L"crash 0"));
        if (c.restartedAgain) {
            EXPECT_TRUE(app.WaitForLog("environment requested", 3));
            EXPECT_TRUE(app.WaitForLog("navigation started 1 ", 3));
            EXPECT_EQ(app.Quit(), 0u);
        } else {
            EXPECT_EQ(DismissMessageBox(app.process()), kRuntimeMissingMessage);
            EXPECT_EQ(app.process().WaitForExit(), 1u);
        }
    }
}

}  // namespace

// The engine lost again and again, each time after the new one showed the
// page: every restart lets go of all the program made for the dead view, so
// no handler outlives its view. (Wine reports no handle count or private
// bytes for a process, so the engine tells what it let go of.)
TEST(StartupTest, RestartsLeaveNothingOfTheDeadViewBehind) {
    AppSession app("url=https://host/\r\n");
    ASSERT_TRUE(app.Start());
    for (size_t restart = 1; restart <= 20; ++restart) {
        SCOPED_TRACE(restart);
        ASSERT_TRUE(app.WaitForLog("page shown https://host/", restart));
        ASSERT_TRUE(app.Page(L"crash 0"));
        ASSERT_TRUE(app.WaitForLog("environment requested", restart + 1));
    }
    ASSERT_TRUE(app.WaitForLog("page shown https://host/", 21));
    EXPECT_EQ(app.Quit(), 0u);
    std::vector<std::string> closed = app.LogLines("closed");
    EXPECT_EQ(closed.size(), 21u);
    EXPECT_EQ(std::count(closed.begin(), closed.end(), "closed"), 21);
}
