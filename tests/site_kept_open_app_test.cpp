// A site kept open all day, on the running program against the test engine:
// what it may ask (permissions), its notifications shown by Windows, the
// window kept in the notification area and the unread count of its title.
#include <gtest/gtest.h>

#include "tests/support/app_session.h"
#include "tests/support/app_site_bar.h"

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

const char kSite[] = "url=https://site.example/\r\nallow=https://signin.example\r\n";

void StartAtSite(AppSession& app) {
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("page shown https://site.example/"));
}

std::string Settings(const AppSession& app) { return ReadFileBytes(app.dataDir() + L"\\config.ini"); }

TEST(SiteKeptOpenAppTest, PermissionsAreAnsweredByOriginKindAndTheStoredAnswer) {
    const struct {
        const char* stored;   // "notifications=" line, or ""
        const char* request;  // "permission <kind> [origin]"
        const wchar_t* press; // the bar's button pressed (null: no bar expected; L"\u00D7" the close box)
        const char* answer;   // the engine's line for the program's answer
        const char* kept;     // the line the settings file holds afterwards, or "" for none
    } kCases[] = {
        {"", "permission 4", L"Allow", "permission answered allow 4 https://site.example/", "notifications=allow"},
        {"", "permission 4", L"Block", "permission answered deny 4 https://site.example/", "notifications=block"},
        {"", "permission 4", L"\u00D7", "permission answered deny 4 https://site.example/", ""},
        {"notifications=allow", "permission 4", nullptr, "permission answered allow 4 https://site.example/",
         "notifications=allow"},
        {"notifications=block", "permission 4", nullptr, "permission answered deny 4 https://site.example/",
         "notifications=block"},
        // A frame of another site, or of a site allowed for sign-in, never.
        {"notifications=allow", "permission 4 https://other.example/", nullptr,
         "permission answered deny 4 https://other.example/", "notifications=allow"},
        {"", "permission 4 https://signin.example/", nullptr, "permission answered deny 4 https://signin.example/",
         ""},
        // Other kinds: the runtime's own prompt for the site, nothing for others.
        {"", "permission 2", nullptr, "permission answered default 2 https://site.example/", ""},
        {"notifications=allow", "permission 3 https://other.example/", nullptr,
         "permission answered deny 3 https://other.example/", "notifications=allow"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.stored) + " " + c.request);
        AppSession app(std::string(kSite) + (*c.stored ? std::string(c.stored) + "\r\n" : ""));
        StartAtSite(app);
        ASSERT_TRUE(app.Page(Wide(c.request)));
        if (c.press) {
            ASSERT_TRUE(PumpUntil([&] { return !SiteBarText(app).empty(); }));
            EXPECT_EQ(SiteBarText(app), "site.example wants to show notifications");
            EXPECT_TRUE(PressSiteBarButton(app, c.press));
        }
        ASSERT_TRUE(app.WaitForLog("permission answered")) << ::testing::PrintToString(app.Log());
        EXPECT_EQ(app.LastLog("permission answered"), c.answer);
        EXPECT_EQ(app.CountLog("permission saved"), 0u);  // the settings file is the one truth
        EXPECT_EQ(SiteBarText(app), "");
        EXPECT_EQ(app.Quit(), 0u);
        std::string settings = Settings(app);
        EXPECT_EQ(settings.find("notifications="), *c.kept ? settings.find(c.kept) : std::string::npos) << settings;
    }
}

}  // namespace
