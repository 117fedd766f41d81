// A site kept open all day, on the running program against the test engine:
// what it may ask (permissions), its notifications shown by Windows, the
// window kept in the notification area and the unread count of its title.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <set>

#include "app/commands.h"
#include "app/timers.h"
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
        const char* answer;   // the engine's line for the answer: the program's, or the profile's
        const char* kept;     // the line the settings file holds afterwards, or "" for none
        const char* reloaded; // what becomes of the site's notification after a reload, which asks nothing
    } kCases[] = {
        {"", "permission 4", L"Allow", "permission answered allow 4 https://site.example/", "notifications=allow",
         "notification shown"},
        {"", "permission 4", L"Block", "permission answered deny 4 https://site.example/", "notifications=block",
         "notification refused"},
        {"", "permission 4", L"\u00D7", "permission answered deny 4 https://site.example/", "", "notification refused"},
        // Answered before: the profile keeps it, as the settings say.
        {"notifications=allow", "permission 4", nullptr, "permission remembered allow 4 https://site.example/",
         "notifications=allow", "notification shown"},
        {"notifications=block", "permission 4", nullptr, "permission remembered deny 4 https://site.example/",
         "notifications=block", "notification refused"},
        // A value that doesn't parse is ignored: the line before holds.
        {"notifications=allow\r\nnotifications=yes", "permission 4", nullptr,
         "permission remembered allow 4 https://site.example/", "notifications=allow", "notification shown"},
        // A frame of another site, or of a site allowed for sign-in, never.
        {"notifications=allow", "permission 4 https://other.example/", nullptr,
         "permission answered deny 4 https://other.example/", "notifications=allow", "notification shown"},
        {"", "permission 4 https://signin.example/", nullptr, "permission answered deny 4 https://signin.example/",
         "", "notification refused"},
        // Other kinds: the runtime's own prompt for the site, nothing for others.
        {"", "permission 2", nullptr, "permission answered default 2 https://site.example/", "",
         "notification refused"},
        {"notifications=allow", "permission 3 https://other.example/", nullptr,
         "permission answered deny 3 https://other.example/", "notifications=allow", "notification shown"},
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
        ASSERT_TRUE(app.WaitForLog("permission result")) << ::testing::PrintToString(app.Log());
        EXPECT_EQ(app.CountLog(c.answer), 1u) << ::testing::PrintToString(app.Log());
        EXPECT_EQ(app.CountLog("permission saved"), 0u);  // the settings file is the one truth
        EXPECT_EQ(SiteBarText(app), "");
        // The profile says what the settings say, so the next document finds it.
        app.Command(ID_SITE_RELOAD);
        ASSERT_TRUE(app.WaitForLog("page shown https://site.example/", 2));
        ASSERT_TRUE(app.Page(L"notify Later"));
        ASSERT_TRUE(app.WaitForLog(c.reloaded)) << ::testing::PrintToString(app.Log());
        EXPECT_EQ(app.Quit(), 0u);
        std::string settings = Settings(app);
        EXPECT_EQ(settings.find("notifications="), *c.kept ? settings.find(c.kept) : std::string::npos) << settings;
    }
}

// The icon's message as Windows sends it (NOTIFYICON_VERSION_4: the event in
// the low word).
void TrayEvent(const AppSession& app, UINT event) { PostMessageW(app.mainWindow(), WM_APP + 30, 0, MAKELPARAM(event, 1)); }

// Allowed, the site's notifications are shown by Windows, the page hears
// each shown, clicked or closed; at most ten a minute, whatever the page
// sends; blocked, none.
TEST(SiteKeptOpenAppTest, NotificationsReachWindowsAndThePageHearsWhatBecameOfThem) {
    AppSession app(std::string(kSite) + "notifications=allow\r\n");
    StartAtSite(app);
    ASSERT_TRUE(app.Page(L"permission 4"));
    ASSERT_TRUE(app.WaitForLog("permission result granted"));
    ASSERT_TRUE(app.Page(L"notify Hello a body\twith\x01 control characters " + std::wstring(100000, L'x')));
    ASSERT_TRUE(app.WaitForLog("notification shown Hello")) << ::testing::PrintToString(app.Log());
    TrayEvent(app, NIN_BALLOONUSERCLICK);
    ASSERT_TRUE(app.WaitForLog("notification clicked Hello"));
    EXPECT_EQ(GetForegroundWindow(), app.mainWindow());
    // A burst: ten in the minute at most are shown, the rest closed at once.
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(app.Page(L"notify N" + std::to_wstring(i)));
    ASSERT_TRUE(app.WaitForLog("notification closed N999"));
    EXPECT_EQ(app.CountLog("notification shown"), 10u);
    // The 991 beyond the ten closed at once, and each shown one but the last when the next took its place.
    EXPECT_EQ(app.CountLog("notification closed N"), 991u + 8u);
    // However fast they come, each is shown once.
    std::vector<std::string> shown = app.LogLines("notification shown");
    EXPECT_EQ(std::set<std::string>(shown.begin(), shown.end()).size(), shown.size()) << ::testing::PrintToString(shown);
    EXPECT_EQ(app.Quit(), 0u);
}

// Kept in the notification area: the close box and Alt+F4 hide the window
// and the page runs on (its view invisible); a click on the icon or a
// second start brings it back; Quit still ends the program.
TEST(SiteKeptOpenAppTest, KeptInTheNotificationAreaTheWindowHidesAndComesBack) {
    AppSession app(std::string(kSite) + "tray=1\r\n");
    StartAtSite(app);
    HWND window = app.mainWindow();
    const struct {
        const char* name;
        void (*hide)(HWND);
        void (*bringBack)(const AppSession&);
    } kWays[] = {
        {"close box, icon", [](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); },
         [](const AppSession& a) { TrayEvent(a, NIN_SELECT); }},
        {"Alt+F4, second start", [](HWND w) { PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); },
         [](const AppSession&) { EXPECT_EQ(ChildProcess(VelotideExePath()).WaitForExit(), 0u); }},
    };
    for (size_t i = 0; i < std::size(kWays); ++i) {
        SCOPED_TRACE(kWays[i].name);
        kWays[i].hide(window);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }));
        EXPECT_TRUE(app.WaitForLog("visible 0", i + 1));
        ASSERT_TRUE(app.Page(L"title (2) Inbox"));  // the page runs on
        ASSERT_TRUE(app.WaitForLog("title changed (2) Inbox", i + 1));
        kWays[i].bringBack(app);
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != FALSE; }));
        EXPECT_TRUE(app.WaitForLog("visible 1", i + 2));
        ASSERT_TRUE(app.Page(L"title Inbox"));
    }
    EXPECT_EQ(app.Quit(), 0u);
}

// The test's icon for window: the program's can't be added (a busy taskbar).
bool TrayIcon(HWND window, DWORD message) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = 1;
    return Shell_NotifyIconW(message, &data) != FALSE;
}

// While Windows takes no icon the close box minimises, a taskbar made again
// brings a hidden window back, and the icon is tried again till it is there.
TEST(SiteKeptOpenAppTest, TheWindowNeverHidesWithoutItsIcon) {
    for (bool hiddenFirst : {false, true}) {
        AppSession app(std::string(kSite) + (hiddenFirst ? "tray=1\r\n" : ""));
        StartAtSite(app);
        HWND window = app.mainWindow();
        if (hiddenFirst) PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != hiddenFirst; }));
        ASSERT_TRUE((!hiddenFirst || TrayIcon(window, NIM_DELETE)) && TrayIcon(window, NIM_ADD));
        if (hiddenFirst) PostMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);  // Explorer again
        if (!hiddenFirst) app.Command(ID_VIEW_KEEP_IN_TRAY);
        if (!hiddenFirst) PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(window) && IsIconic(window); })) << hiddenFirst;
        ASSERT_TRUE(TrayIcon(window, NIM_DELETE));  // Windows takes icons again
        EXPECT_TRUE(PumpUntil([&] { return TrayIcon(window, NIM_MODIFY); }, 8000));
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }));
        EXPECT_EQ(app.Quit(), 0u);
    }
}

// A site changed, in the prompt or between runs (in the settings file, by a
// kiosk's address), leaves no answer about notifications behind: the
// profile forgets the old site's, so a frame of it is asked about (and
// refused, as any other site's) rather than granted at once.
TEST(SiteKeptOpenAppTest, TheOldSitesAnswerGoesWhenTheSiteChanges) {
    const char kOld[] = "url=https://old.example/\r\nnotifications=allow\r\n";
    const struct {
        const char* then;  // the settings file at the next start; null: typed into the prompt instead
        const wchar_t* arguments;
    } kCases[] = {
        {nullptr, L""},
        {"url=https://site.example/\r\nnotifications=allow\r\n", L""},
        {kOld, L"--kiosk https://site.example/"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.arguments)) + (c.then ? "" : " typed"));
        AppSession app(kOld);
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.WaitForLog("permission state allow 4 https://old.example/"));
        if (c.then) {
            EXPECT_EQ(app.Quit(), 0u);
            WriteFileBytes(app.dataDir() + L"\\config.ini", c.then);
            ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, c.arguments));
        } else {
            app.Command(ID_SITE_CHANGE);
            AnswerPrompt(app.process(), IDOK, L"https://site.example/");
        }
        ASSERT_TRUE(app.WaitForLog("permission state default 4 https://old.example/"));
        EXPECT_EQ(app.LastLog("permission state"), "permission state default 4 https://old.example/");
        ASSERT_TRUE(app.WaitForLog("page shown https://site.example/"));
        ASSERT_TRUE(app.Page(L"permission 4 https://old.example/"));
        EXPECT_TRUE(app.WaitForLog("permission answered deny 4 https://old.example/"));
        EXPECT_EQ(app.CountLog("permission remembered allow 4 https://old.example/"), 0u);
        // A kiosk ends only with the session.
        SendMessageTimeoutW(app.mainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, nullptr);
        SendMessageTimeoutW(app.mainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, nullptr);
        EXPECT_EQ(app.process().WaitForExit(), 0u);
    }
}

// A navigation wakes a sleeping site (the runtime wakes it to load the page):
// still out of sight, it sleeps again once its time has passed once more.
TEST(SiteKeptOpenAppTest, ASiteWokenByANavigationSleepsAgain) {
    AppSession app(std::string(kSite) + "sleepAfter=1\r\n");
    StartAtSite(app);
    ShowWindow(app.mainWindow(), SW_MINIMIZE);
    ASSERT_TRUE(app.WaitForLog("visible 0"));
    PostMessageW(app.mainWindow(), WM_TIMER, kTimerSleep, 0);  // its minute is up
    ASSERT_TRUE(app.WaitForLog("suspended"));
    app.Command(ID_SITE_HOME);
    ASSERT_TRUE(app.WaitForLog("resumed"));
    ASSERT_TRUE(app.WaitForLog("page shown https://site.example/", 2));
    EXPECT_TRUE(app.WaitForLog("suspended", 2, 90000));
    EXPECT_EQ(app.CountLog("visible 1"), 1u);  // never shown meanwhile
    EXPECT_EQ(app.Quit(), 0u);
}

// Titles of any length and content: the window keeps its own title, and
// nothing the page's title holds is kept whole.
TEST(SiteKeptOpenAppTest, ThePagesTitleNeverBecomesTheWindowsTitle) {
    AppSession app(kSite);
    StartAtSite(app);
    const std::wstring kTitles[] = {L"(3) Inbox", L"[12] Chat \u202E\x01\t", L"(" + std::wstring(1000000, L'9') + L") Flood",
                                    L"(0) Inbox"};
    for (const std::wstring& title : kTitles) {
        size_t changed = app.CountLog("title changed");
        ASSERT_TRUE(app.Page(L"title " + title));
        ASSERT_TRUE(app.WaitForLog("title changed", changed + 1));
        wchar_t text[64] = L"";
        GetWindowTextW(app.mainWindow(), text, 64);
        EXPECT_EQ(std::wstring(text), L"Velotide");
    }
    EXPECT_EQ(app.Quit(), 0u);
}

}  // namespace
