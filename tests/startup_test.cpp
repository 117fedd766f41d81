// Engine start-up in the running program, against the test engine reached
// through the program's own loader.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/app_session.h"
#include "tests/support/engine_install.h"

namespace {

using Lines = std::vector<std::string>;

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
    const Lines expected = {
        "settings put IsStatusBarEnabled=0",
        "settings put AreDevToolsEnabled=0",
        "settings put IsZoomControlEnabled=1",
        // Also while blocking is off, and for every frame and worker: the
        // engine offers the call that reaches them.
        "filter added *://doubleclick.net/* 0 sources all",
        "filter added *://*.doubleclick.net/* 0 sources all",
        "visible 1",
        // The main window had the focus: the view takes it, so that the
        // shortcuts work without a click into the page first.
        "focus 0",
        "navigation started 1 https://host/start?x=1",
    };
    EXPECT_EQ(Matching(app.Log(), {"settings", "filter", "visible", "focus", "navigation started", "page shown data:"}),
              expected);

    // The first bounds are the main window's client area.
    RECT client;
    GetClientRect(app.mainWindow(), &client);
    char bounds[64];
    snprintf(bounds, sizeof bounds, "bounds %ld,%ld,%ld,%ld", client.left, client.top, client.right, client.bottom);
    EXPECT_EQ(Matching(app.Log(), {"bounds"}).front(), bounds);
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

TEST(StartupTest, ALostBrowserIsStartedAgainOnceAndAHungPageReloaded) {
    AppSession app("url=https://Host\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.Page(L"link https://host/current"));
    ASSERT_TRUE(app.WaitForLog("navigation completed", 2));
    // The process that failed, and the navigation it leads to (none: null).
    const struct {
        int kind;
        const char* navigation;
    } kCases[] = {
        {1, "https://host/current"},  // the renderer exited: reloaded
        {2, "https://host/current"},  // it hangs: reloaded
        {6, nullptr},                 // the GPU process comes back by itself
        {0, "https://host/current"},  // the browser exited: a new engine, on the same page
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.kind);
        size_t started = app.CountLog("navigation started"), environments = app.CountLog("environment requested");
        ASSERT_TRUE(app.Page(L"crash " + std::to_wstring(c.kind)));
        ASSERT_TRUE(app.WaitForLog("process failed " + std::to_string(c.kind)));
        if (c.navigation) {
            ASSERT_TRUE(app.WaitForLog("navigation started", started + 1)) << ::testing::PrintToString(app.Log());
            EXPECT_EQ(app.LastLog("navigation started").substr(app.LastLog("navigation started").rfind(' ') + 1),
                      c.navigation);
        } else {
            PumpFor(300);
            EXPECT_EQ(app.CountLog("navigation started"), started);
        }
        EXPECT_EQ(app.CountLog("environment requested"), environments + (c.kind == 0 ? 1 : 0));
    }
    // Lost a second time: the program ends as a failed start-up does.
    ASSERT_TRUE(PumpUntil([&] { return app.view() != nullptr; }));
    ASSERT_TRUE(app.Page(L"crash 0"));
    EXPECT_EQ(DismissMessageBox(app.process()), kRuntimeMissingMessage);
    EXPECT_EQ(app.process().WaitForExit(), 1u);
}

}  // namespace
