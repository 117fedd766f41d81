// The bar about links to other sites on the running program, the test
// engine's page acting: what shows it, what replaces and closes it, and how
// it sits beside the view, in fullscreen and under the keyboard.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/support/app_input.h"
#include "tests/support/app_session.h"
#include "tests/support/app_site_bar.h"

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

HWND FocusOf(const AppSession& app) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(app.mainWindow(), nullptr), &info);
    return info.hwndFocus;
}

TEST(SiteBarAppTest, ClicksRaiseItNewerOnesReplaceItAndTheSiteClosesIt) {
    // Each step: a page command (or a menu command or key), the line that
    // says it has been dealt with, and the bar's text after it ("" for none).
    const struct {
        const char* page;
        int command;
        UINT key;
        const char* done;
        const char* bar;
    } kSteps[] = {
        {"link https://other.example/a", 0, 0, "navigation completed 2 status 14", "other.example is another site"},
        {"navigate https://second.example/", 0, 0, "navigation completed 3 status 14", "other.example is another site"},
        {"popup https://second.example/ script", 0, 0, "popup swallowed https://second.example/",
         "other.example is another site"},
        {"popup https://second.example/p", 0, 0, "popup swallowed https://second.example/p",
         "second.example is another site"},
        {"link https://site.example/page", 0, 0, "navigation completed 4 success", ""},
        {"redirect https://site.example/go https://third.example/", 0, 0, "navigation completed 5 status 14",
         "third.example is another site"},
        {"popup https://site.example/own", 0, 0, "popup swallowed https://site.example/own",
         "third.example is another site"},
        {nullptr, 0, VK_F11, "key handled 122", ""},  // fullscreen: no bar
        {nullptr, 0, VK_F11, "key handled 122", "third.example is another site"},
        {nullptr, ID_SITE_HOME, 0, "navigation completed 6 success", ""},
    };
    AppSession app("url=https://site.example/\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    for (const auto& s : kSteps) {
        SCOPED_TRACE(s.page ? s.page : s.done);
        size_t done = app.CountLog(s.done);
        if (s.page) {
            ASSERT_TRUE(app.Page(Wide(s.page)));
        }
        if (s.command) app.Command(s.command);
        if (s.key) Press(app, s.key);
        ASSERT_TRUE(app.WaitForLog(s.done, done + 1)) << ::testing::PrintToString(app.Log());
        PumpFor(100);
        EXPECT_EQ(SiteBarText(app), s.bar);
        RECT client, view;
        GetClientRect(app.mainWindow(), &client);
        GetWindowRect(app.view(), &view);
        MapWindowPoints(nullptr, app.mainWindow(), reinterpret_cast<POINT*>(&view), 2);
        if (*s.bar) {
            RECT bar;
            GetWindowRect(SiteBar(app), &bar);
            MapWindowPoints(nullptr, app.mainWindow(), reinterpret_cast<POINT*>(&bar), 2);
            EXPECT_EQ(bar.top, 0);
            EXPECT_EQ(bar.right - bar.left, client.right);
            EXPECT_EQ(view.top, bar.bottom);  // the view gives up the bar's strip
        } else {
            EXPECT_EQ(view.top, 0);
        }
        EXPECT_EQ(view.bottom, client.bottom);
    }
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(SiteBarAppTest, F6MovesIntoItTabMovesOnAndEscClosesIt) {
    AppSession app("url=https://site.example/\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    EXPECT_EQ(Press(app, VK_F6), "key to page 117 0");  // no bar: F6 is the page's
    ASSERT_TRUE(app.Page(L"link https://other.example/"));
    ASSERT_TRUE(PumpUntil([&] { return SiteBarText(app) == "other.example is another site"; }));
    EXPECT_EQ(FocusOf(app), app.view());  // the bar doesn't take the focus from the page
    EXPECT_EQ(Press(app, VK_F6), "key handled 117 0");
    HWND open = FindWindowExW(SiteBar(app), nullptr, L"Button", L"Open in browser");
    EXPECT_TRUE(PumpUntil([&] { return FocusOf(app) == open; }));
    // Keys in the bar are the program's own: posted to the focused button, as the keyboard would.
    PostMessageW(open, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(PumpUntil([&] { return FocusOf(app) == FindWindowExW(SiteBar(app), nullptr, L"Button", L"Allow in Velotide"); }));
    PostMessageW(FocusOf(app), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return SiteBarText(app).empty(); }));
    EXPECT_TRUE(PumpUntil([&] { return FocusOf(app) == app.view(); }));
    EXPECT_EQ(app.Quit(), 0u);
}

}  // namespace
