// Links to other sites, mail links and sites allowed for sign-in, on a real
// Chromium through velotide.exe: the fixture's server plays the site, its
// sign-in host and another site; handlers registered for http, https,
// mailto and tel in the Wine prefix log each address Windows hands them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/commands.h"
#include "tests/support/app_session.h"
#include "tests/support/app_site_bar.h"
#include "tests/support/engine_install.h"
#include "tests/support/registry_override.h"

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

size_t CountRequests(const std::string& prefix) {
    std::vector<std::string> lines = ReadEngineLog(WinPathFromUnix(VELOTIDE_CHROMIUM_FIXTURE_UNIX_DIR "/requests.log"));
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

std::string Click(const std::string& href, const std::string& target = "") {
    // In a block of its own: the page runs one after another.
    return "{ const a = document.createElement('a'); a.href = '" + href + "'; a.target = '" + target +
           "'; document.body.append(a); a.click(); }";
}

// A click on a link that opens in a new frame of the page (of its own site)
// named name: the frame goes to href.
std::string FrameClick(const std::string& name, const std::string& href) {
    return "{ const f = document.createElement('iframe'); f.name = '" + name + "'; document.body.append(f); }" +
           Click(href, name);
}

// What Windows would open each scheme with: a command that appends the address to a log.
// (Wine's ShellExecute reads these from HKLM and ignores the user's classes.)
class LoggingHandlers {
public:
    LoggingHandlers() {
        for (const wchar_t* scheme : {L"http", L"https", L"mailto", L"tel"})
            handlers_.push_back(std::make_unique<RegistryValueOverride>(
                HKEY_LOCAL_MACHINE, 0, std::wstring(L"Software\\Classes\\") + scheme + L"\\shell\\open\\command", L"",
                L"C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + log_ + L"\""));
    }
    // The addresses handed on, in order; the file is written by another process, so wait a little first.
    std::vector<std::string> Launches() const {
        std::vector<std::string> lines = ReadEngineLog(log_);
        for (std::string& line : lines)
            line.erase(std::remove_if(line.begin(), line.end(), [](char c) { return c == '"' || c == ' ' || c == '\r'; }),
                       line.end());
        return lines;
    }
    bool WaitFor(size_t count) const {
        return PumpUntil([&] { return Launches().size() >= count; }, 10000);
    }

private:
    ScratchDir dir_;
    std::wstring log_ = dir_ / L"launches.log";
    std::vector<std::unique_ptr<RegistryValueOverride>> handlers_;
};

std::string ConfigText(const AppSession& app) { return ReadFileBytes(app.dataDir() + L"\\config.ini"); }

void StartAt(AppSession& app) {
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed")) << ::testing::PrintToString(app.Log());
}

// The page runs script as if clicked; waits until the navigation it starts has ended.
void Act(const AppSession& app, const std::string& script) {
    size_t completed = app.CountLog("navigation completed");
    EXPECT_TRUE(app.Page(L"script " + Wide(script))) << script;
    EXPECT_TRUE(app.WaitForLog("navigation completed", completed + 1)) << script;
}

TEST(OtherSitesAppTest, SignInThroughAnotherSiteOnceItIsAllowed) {
    const char kSite[] = "url=http://site.test/\r\n";
    size_t authRequests = CountRequests("auth.test ");
    std::string config;
    {
        AppSession app(kSite, Engine::kChromium);
        StartAt(app);
        // Stopped at the first hop: the sign-in host never hears of it, the bar names it.
        Act(app, Click("/signin"));
        EXPECT_EQ(CountRequests("auth.test "), authRequests);
        EXPECT_TRUE(PumpUntil([&] { return SiteBarText(app) == "auth.test is another site"; }));
        RECT bar, view;
        GetWindowRect(SiteBar(app), &bar);
        GetWindowRect(app.view(), &view);
        EXPECT_EQ(view.top, bar.bottom);  // the view gave up the bar's strip
        ASSERT_TRUE(PressSiteBarButton(app, L"Allow in Velotide"));
        EXPECT_TRUE(app.WaitForLog("page shown http://site.test/welcome")) << ::testing::PrintToString(app.Log());
        EXPECT_TRUE(app.WaitForLog("navigation completed 4 success")) << ::testing::PrintToString(app.Log());
        EXPECT_EQ(app.CountLog("navigation completed 4 status"), 0u);  // the 403 of a visitor without the cookie
        EXPECT_EQ(SiteBarText(app), "");
        GetWindowRect(app.view(), &view);
        EXPECT_EQ(view.top, bar.top);
        config = ConfigText(app);
        EXPECT_NE(config.find("\r\nallow=http://auth.test\r\n"), std::string::npos) << config;
        EXPECT_EQ(app.Quit(), 0u);
    }
    // After a restart the sign-in goes through at once.
    AppSession app(config, Engine::kChromium);
    StartAt(app);
    app.Page(L"script " + Wide(Click("/signin")));
    EXPECT_TRUE(app.WaitForLog("page shown http://site.test/welcome")) << ::testing::PrintToString(app.Log());
    EXPECT_TRUE(app.WaitForLog("navigation completed 3 success")) << ::testing::PrintToString(app.Log());
    EXPECT_EQ(SiteBarText(app), "");
    EXPECT_EQ(CountRequests("site.test POST /callback"), 2u);
    // Site > Allowed sites... lists it, and Remove forgets it.
    app.Command(ID_SITE_ALLOWED_SITES);
    HWND dialog = nullptr;
    // Shown once its controls are made and filled.
    ASSERT_TRUE(PumpUntil([&] {
        dialog = FindProcessWindow(app.process().id(), L"#32770");
        return dialog && IsWindowVisible(dialog);
    }));
    HWND list = FindWindowExW(dialog, nullptr, L"ListBox", nullptr);
    wchar_t origin[256] = L"";
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(origin));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    EXPECT_STREQ(origin, L"http://auth.test");
    SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"Remove"), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(ConfigText(app), "url=http://site.test/\r\nblockAds=1\r\n");
    SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"Close"), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(OtherSitesAppTest, TheAddressASiteSendsItsVisitorsToCanBeAllowedFromItsMessage) {
    AppSession app("url=http://moved.test/\r\n", Engine::kChromium);
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(app.WaitForLog("page shown data: The site sent Velotide")) << ::testing::PrintToString(app.Log());
    EXPECT_TRUE(PumpUntil([&] { return SiteBarText(app) == "www.moved.test is another site"; }));
    ASSERT_TRUE(PressSiteBarButton(app, L"Allow in Velotide"));
    EXPECT_TRUE(app.WaitForLog("page shown http://www.moved.test/")) << ::testing::PrintToString(app.Log());
    EXPECT_EQ(ConfigText(app), "url=http://moved.test/\r\nblockAds=1\r\nallow=http://www.moved.test\r\n");
    // Home now follows the site to its new address.
    app.Command(ID_SITE_HOME);
    EXPECT_TRUE(app.WaitForLog("page shown http://www.moved.test/", 2)) << ::testing::PrintToString(app.Log());
    EXPECT_EQ(SiteBarText(app), "");
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(OtherSitesAppTest, ClickedLinksAreHandedOnOrNamedAndPagesAloneDoNothing) {
    LoggingHandlers handlers;
    {
        AppSession app("url=http://site.test/\r\n", Engine::kChromium);
        StartAt(app);
        // Each click in turn: the address Windows is handed (after Open in browser, for the bar) and the bar's text.
        const struct {
            std::string script;
            const char* bar;
            const char* launched;
        } kClicks[] = {
            {Click("http://other.test/about?o1"), "other.test is another site", "http://other.test/about?o1"},
            {Click("https://other.test/pop?o2", "_blank"), "other.test is another site", "https://other.test/pop?o2"},
            {Click("mailto:ada@site.test?subject=Hello"), "", "mailto:ada@site.test?subject=Hello"},
            {Click("tel:+4930123", "_blank"), "", "tel:+4930123"},
            {Click("/redirect?to=mailto:hop@site.test"), "", "mailto:hop@site.test"},  // a hop of the click
            {FrameClick("own", "mailto:frame@site.test"), "", "mailto:frame@site.test"},
        };
        std::vector<std::string> launched;
        for (const auto& c : kClicks) {
            SCOPED_TRACE(c.script);
            ASSERT_TRUE(app.Page(L"script " + Wide(c.script)));
            if (*c.bar) {
                EXPECT_TRUE(PumpUntil([&] { return SiteBarText(app) == c.bar; })) << ::testing::PrintToString(app.Log());
                ASSERT_TRUE(PressSiteBarButton(app, L"Open in browser"));
                EXPECT_EQ(SiteBarText(app), "");
            }
            launched.push_back(c.launched);
            ASSERT_TRUE(handlers.WaitFor(launched.size())) << ::testing::PrintToString(app.Log());
            PumpFor(300);  // a second launch would have come by now
            EXPECT_EQ(handlers.Launches(), launched);
        }
        // A click in a frame of another site covering the page (a contact widget): its phone link, once too.
        size_t widgets = CountRequests("other.test /widget");
        ASSERT_TRUE(app.Page(L"script { const f = document.createElement('iframe'); "
                             L"f.src = 'http://other.test/widget'; "
                             L"f.style = 'position:fixed;left:0;top:0;width:100%;height:100%;border:0'; "
                             L"document.body.append(f); }"));
        ASSERT_TRUE(PumpUntil([&] { return CountRequests("other.test /widget") > widgets; }));
        PumpFor(1000);  // its document loads and paints
        PostMessageW(app.view(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
        PostMessageW(app.view(), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
        launched.push_back("tel:+4930777");
        ASSERT_TRUE(handlers.WaitFor(launched.size())) << ::testing::PrintToString(app.Log());
        PumpFor(300);
        EXPECT_EQ(handlers.Launches(), launched);
        EXPECT_EQ(CountRequests("other.test /about?o1") + CountRequests("other.test /pop?o2"), 0u);
        EXPECT_EQ(app.Quit(), 0u);
    }
    // A page that goes to a mail address and to another site by itself, with nobody's click.
    size_t launches = handlers.Launches().size();
    AppSession app("url=http://site.test/by-itself\r\n", Engine::kChromium);
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(app.WaitForLog("navigation completed 2 status 14"));
    EXPECT_TRUE(app.WaitForLog("navigation completed 3 status 14")) << ::testing::PrintToString(app.Log());
    EXPECT_EQ(app.LastLog("navigation started 3"), "navigation started 3 http://other.test/by-itself-nav");
    PumpFor(500);
    EXPECT_EQ(SiteBarText(app), "");
    EXPECT_EQ(handlers.Launches().size(), launches);
    EXPECT_EQ(app.Quit(), 0u);
    // A site whose address sends its visitors to a mail address: named on the message page, never launched.
    AppSession mailing("url=http://site.test/redirect?to=mailto:start@site.test\r\n", Engine::kChromium);
    ASSERT_TRUE(mailing.Start());
    EXPECT_TRUE(mailing.WaitForLog("page shown data: The site sent Velotide to another address"))
        << ::testing::PrintToString(mailing.Log());
    PumpFor(500);
    EXPECT_EQ(SiteBarText(mailing), "");
    EXPECT_EQ(handlers.Launches().size(), launches);
    EXPECT_EQ(mailing.Quit(), 0u);
}

}  // namespace
