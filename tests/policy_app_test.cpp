// Navigation policy and ad-domain blocking as the running program carries
// them out: the page acts through the test engine, the engine's log says
// what became of it.
#include <gtest/gtest.h>

#include <algorithm>

#include "engines/common/engine_protocol.h"
#include "tests/support/app_session.h"

namespace {

const char kSiteConfig[] = "url=https://site.example\r\nblockAds=1\r\n";
const char kFailurePage[] = "page shown data: Can't reach the site ";

// The failure page as the engine shows it: what went wrong and where.
std::string FailurePage(const std::string& sentence, const std::string& address) {
    return kFailurePage + sentence + " Address: " + address +
           " Reload (Ctrl+R) tries again. Check your connection, or use Site \xE2\x80\xBA Change site address.";
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines)
        if (l == line) return true;
    return false;
}

size_t CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    size_t count = 0;
    for (const std::string& l : lines) count += l.rfind(prefix, 0) == 0;
    return count;
}

// Sends a page command, waits for its outcome line (when one is named), then
// for two marker requests in turn. The engine runs its work in posting order,
// so by the second marker whatever the program started in answer (a failure
// page) has started and shown its page. Returns the log lines the command
// caused.
std::vector<std::string> Act(const AppSession& app, const std::string& command, const char* outcome = nullptr) {
    static int markers = 0;
    size_t from = app.Log().size();
    size_t outcomes = outcome ? app.CountLog(outcome) : 0;
    EXPECT_TRUE(app.Page(Wide(command))) << command;
    EXPECT_TRUE(!outcome || app.WaitForLog(outcome, outcomes + 1)) << command;
    for (int i = 0; i < 2; ++i) {
        std::string marker = "https://marker.example/" + std::to_string(++markers) + "/";
        EXPECT_TRUE(app.Page(L"request " + Wide(marker)));
        EXPECT_TRUE(app.WaitForLog("resource to network " + marker)) << command;
    }
    std::vector<std::string> log = app.Log();
    return std::vector<std::string>(log.begin() + std::min(from, log.size()), log.end());
}

const std::string kStarted = "navigation started ";

bool IsStarted(const std::string& line) { return line.rfind(kStarted, 0) == 0; }

// The navigation id of a "navigation started" line.
std::string IdOf(const std::string& started) {
    return started.substr(kStarted.size(), started.find(' ', kStarted.size()) - kStarted.size());
}

// The id of the first, or of the last, navigation started in lines; "" if none.
std::string NavigationId(const std::vector<std::string>& lines) {
    auto it = std::find_if(lines.begin(), lines.end(), IsStarted);
    return it == lines.end() ? "" : IdOf(*it);
}

std::string LastNavigationId(const std::vector<std::string>& lines) {
    auto it = std::find_if(lines.rbegin(), lines.rend(), IsStarted);
    return it == lines.rend() ? "" : IdOf(*it);
}

void StartAtSite(AppSession& app) {
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed"));
    ASSERT_EQ(app.CountLog("navigation completed 1 success"), 1u) << ::testing::PrintToString(app.Log());
}

TEST(PolicyAppTest, TopLevelNavigationIsHeldToTheSiteOrigin) {
    // at: the address that is shown, or the hop that is cancelled.
    const struct {
        const char* command;
        const char* at;
        bool loads;
    } kCases[] = {
        {"link https://other.example/", "https://other.example/", false},
        {"link http://site.example/", "http://site.example/", false},
        {"link https://site.example:8443/", "https://site.example:8443/", false},
        {"link https://www.site.example/", "https://www.site.example/", false},
        {"link https://site.example@other.example/", "https://site.example@other.example/", false},
        {"link https://xn--st-ia.example/", "https://xn--st-ia.example/", false},
        {"redirect https://site.example/go https://other.example/x https://site.example/back",
         "https://other.example/x", false},
        {"link https://site.example/a/b?q=1&r=2#part", "https://site.example/a/b?q=1&r=2#part", true},
        // The engine reports canonical addresses: these are the site.
        {"link HTTPS://Site.EXAMPLE?only=query", "https://site.example/?only=query", true},
        {"link https://site.example#top", "https://site.example/#top", true},
        {"link https://site.example:443/", "https://site.example/", true},
        {"link https://user@site.example/", "https://user@site.example/", true},
        {"redirect https://site.example/old https://site.example/new?x=1#y", "https://site.example/new?x=1#y", true},
    };
    AppSession app(kSiteConfig);
    StartAtSite(app);
    for (const auto& c : kCases) {
        std::vector<std::string> lines = Act(app, c.command, "navigation completed");
        std::string id = NavigationId(lines), at = c.at;
        SCOPED_TRACE(std::string(c.command) + "\n" + ::testing::PrintToString(lines));
        // Every navigation in the slice is this one: nothing else was started.
        EXPECT_EQ(CountPrefix(lines, kStarted), CountPrefix(lines, kStarted + id + " "));
        if (c.loads) {
            EXPECT_EQ(CountPrefix(lines, "navigation cancelled"), 0u);
            EXPECT_TRUE(Has(lines, "page shown " + at));
            EXPECT_TRUE(Has(lines, "navigation completed " + id + " success"));
        } else {
            // Cancelled at the hop that leaves the origin; no later hop starts.
            auto cancelled = std::find(lines.begin(), lines.end(), "navigation cancelled " + id);
            ASSERT_NE(cancelled, lines.end());
            ASSERT_NE(cancelled, lines.begin());
            EXPECT_EQ(*(cancelled - 1), kStarted + id + " " + at);
            EXPECT_EQ(CountPrefix(std::vector<std::string>(cancelled, lines.end()), "navigation started"), 0u);
            EXPECT_TRUE(Has(lines, "navigation completed " + id + " status 14"));
            EXPECT_EQ(CountPrefix(lines, "page shown"), 0u);  // the shown page stays
        }
    }
}

TEST(PolicyAppTest, PopupsOpenNoWindowAndLeaveThePage) {
    const char* kAddresses[] = {"https://site.example/same", "https://other.example/", "about:blank",
                                "data:text/html,hi", "javascript:void(0)"};
    AppSession app(kSiteConfig);
    StartAtSite(app);
    for (const char* address : kAddresses) {
        std::vector<std::string> lines = Act(app, std::string("popup ") + address, "popup ");
        SCOPED_TRACE(std::string(address) + "\n" + ::testing::PrintToString(lines));
        EXPECT_TRUE(Has(lines, std::string("popup swallowed ") + address));
        EXPECT_EQ(CountPrefix(lines, "navigation started"), 0u);
        EXPECT_EQ(CountPrefix(lines, "page shown"), 0u);
        EXPECT_EQ(FindProcessWindow(app.process().id(), kEnginePopupClass), nullptr);
    }
}

TEST(PolicyAppTest, FailedLoadsShowTheFailurePageButCancellationsDoNot) {
    // The configured host never resolves, so the very first load fails.
    AppSession app("url=https://down.invalid\r\n");
    ASSERT_TRUE(app.Start());
    // The failure page is a string-loaded page: the policy lets it through.
    ASSERT_TRUE(app.WaitForLog("navigation completed 2 success"));
    std::vector<std::string> log = app.Log();
    EXPECT_TRUE(Has(log, "navigation completed 1 status 13")) << ::testing::PrintToString(log);
    EXPECT_TRUE(Has(log, FailurePage("The site's name could not be found.", "https://down.invalid")));

    const struct {
        const char* command;
        bool failurePage;
    } kCases[] = {
        {"link https://down.invalid/again", true},
        {"fail 2 https://down.invalid/x", true},
        {"fail 18 https://down.invalid/y", true},
        {"fail 14 https://down.invalid/z", false},  // cancelled by the engine itself
        {"link https://elsewhere.invalid/", false},  // cancelled by us, never loaded
    };
    for (const auto& c : kCases) {
        std::vector<std::string> lines = Act(app, c.command, "navigation completed");
        SCOPED_TRACE(std::string(c.command) + "\n" + ::testing::PrintToString(lines));
        EXPECT_EQ(CountPrefix(lines, kFailurePage), c.failurePage ? 1u : 0u);
        EXPECT_EQ(CountPrefix(lines, "page shown data:"), c.failurePage ? 1u : 0u);
        EXPECT_EQ(CountPrefix(lines, "navigation started"), c.failurePage ? 2u : 1u);
        // Let the failure page finish before the next case counts completions.
        EXPECT_TRUE(!c.failurePage || app.WaitForLog("navigation completed " + LastNavigationId(lines) + " success"));
    }
}

TEST(PolicyAppTest, OnlyALoadThatCommittedAnErrorPageReplacesTheShownPage) {
    const struct {
        const char* command;
        const char* address;
        int status;            // how the navigation ends
        const char* sentence;  // the failure page's, or null when the page stays
    } kCases[] = {
        {"download https://site.example/invoice.pdf", "https://site.example/invoice.pdf", 9, nullptr},
        {"abort 9 https://site.example/launch", "https://site.example/launch", 9, nullptr},  // an external link
        {"abort 14 https://site.example/empty", "https://site.example/empty", 14, nullptr},  // a 204, a stop, Esc
        {"abort 16 https://site.example/replaced", "https://site.example/replaced", 16, nullptr},
        {"fail 7 https://site.example/slow", "https://site.example/slow", 7, "The site took too long to answer."},
        {"fail 10 https://site.example/cut", "https://site.example/cut", 10, "The connection to the site was lost."},
        // Shown as text: unescaped, the page would have taken "<i>" for a tag.
        {"fail 1 https://site.example/?a=<i>&b=\"c\"", "https://site.example/?a=<i>&b=\"c\"", 1,
         "The site's certificate is not valid: it was made for another name."},
    };
    AppSession app(kSiteConfig);
    StartAtSite(app);
    for (const auto& c : kCases) {
        std::vector<std::string> lines = Act(app, c.command, "navigation completed");
        SCOPED_TRACE(std::string(c.command) + "\n" + ::testing::PrintToString(lines));
        std::string id = NavigationId(lines);
        auto completed = std::find(lines.begin(), lines.end(),
                                   "navigation completed " + id + " status " + std::to_string(c.status));
        ASSERT_NE(completed, lines.end());
        if (c.sentence) {
            // The engine's error page came first, and the program's page replaces it.
            EXPECT_TRUE(Has(lines, "content loading " + id + " error " + c.address));
            EXPECT_TRUE(Has(lines, FailurePage(c.sentence, c.address)));
            EXPECT_TRUE(app.WaitForLog("navigation completed " + LastNavigationId(lines) + " success"));
        } else {
            EXPECT_EQ(CountPrefix(lines, "content loading"), 0u);
            EXPECT_EQ(CountPrefix(lines, "page shown"), 0u);  // the person's page stays
            EXPECT_EQ(CountPrefix(lines, "navigation started"), 1u);
        }
        // A file to save is told of only after its navigation has ended.
        bool download = std::string(c.command).rfind("download", 0) == 0;
        EXPECT_EQ(CountPrefix(std::vector<std::string>(completed, lines.end()), "download starting"), download ? 1u : 0u);
    }
}

TEST(PolicyAppTest, ServerErrorPagesStayAndReloadRetriesWhatFailed) {
    AppSession app(kSiteConfig);
    StartAtSite(app);
    // Each step: a page command, or the Reload command (102) for null; the
    // address of the navigation it starts; whether the failure page follows.
    const struct {
        const char* command;
        const char* started;
        bool failurePage;
    } kSteps[] = {
        {"answer 404 https://site.example/missing", "https://site.example/missing", false},
        {"answer 500 https://site.example/broken", "https://site.example/broken", false},
        {"fail 12 https://site.example/down", "https://site.example/down", true},
        {nullptr, "https://site.example/down", false},  // the failed address again, which answers now
        {"link https://site.example/up", "https://site.example/up", false},
        {nullptr, "https://site.example/up", false},  // an ordinary reload
    };
    for (const auto& step : kSteps) {
        size_t from = app.Log().size(), completed = app.CountLog("navigation completed");
        if (step.command)
            ASSERT_TRUE(app.Page(Wide(step.command)));
        else
            app.Command(102);
        ASSERT_TRUE(app.WaitForLog("navigation completed", completed + (step.failurePage ? 2 : 1)))
            << (step.command ? step.command : "Reload") << ::testing::PrintToString(app.Log());
        std::vector<std::string> log = app.Log();
        std::vector<std::string> lines(log.begin() + from, log.end());
        SCOPED_TRACE(std::string(step.command ? step.command : "Reload") + "\n" + ::testing::PrintToString(lines));
        EXPECT_TRUE(Has(lines, kStarted + NavigationId(lines) + " " + step.started));
        EXPECT_EQ(CountPrefix(lines, kFailurePage), step.failurePage ? 1u : 0u);
    }
}

TEST(PolicyAppTest, ARedirectOffTheSiteWhileOpeningItSaysWhere) {
    const char kMoved[] =
        "page shown data: The site sent Velotide to another address https://site.example sends its visitors on to "
        "https://www.site.example/, which is outside the site. If that is the site's address now, use Site "
        "\xE2\x80\xBA Change site address.";
    AppSession app(kSiteConfig);
    StartAtSite(app);
    ASSERT_TRUE(app.Page(L"redirects https://site.example https://www.site.example/"));
    // Inside the site such a redirect is cancelled without a word, as ever.
    std::vector<std::string> lines = Act(app, "link https://site.example", "navigation completed");
    EXPECT_EQ(CountPrefix(lines, "page shown"), 0u) << ::testing::PrintToString(lines);
    // Opening the site (Home, and Reload on the message) says where it went.
    for (int command : {103, 102}) {
        size_t shown = app.CountLog(kMoved);
        app.Command(command);
        EXPECT_TRUE(app.WaitForLog(kMoved, shown + 1)) << command << ::testing::PrintToString(app.Log());
    }
}

// Where the runtime goes on past a cancelled navigation (a sign-in
// challenge, a bad certificate), the other site's page never shows, and the
// site's own are left to the runtime; Reload goes back to the site's page.
TEST(PolicyAppTest, AddressesThatGetPastTheCancelNeverShow) {
    const char kKept[] = "page shown data: Velotide kept the view on the site ";
    const struct {
        const char* command;
        const char* answer;  // what the program answered the engine's event
        const char* shown;   // the page the address left in the view, or null
        bool kept;           // the message took the other site's place
    } kCases[] = {
        {"auth https://other.example/private", "sign-in cancelled https://other.example/private", nullptr, true},
        {"auth https://site.example/private", "sign-in left to the dialog https://site.example/private",
         "page shown https://site.example/private", false},
        {"certerror https://other.example/", "certificate action cancel https://other.example/", nullptr, false},
        {"certerror https://site.example/secure", "certificate action default https://site.example/secure",
         "page shown error https://site.example/secure", false},
    };
    AppSession app(kSiteConfig);
    StartAtSite(app);
    Act(app, "link https://site.example/last", "navigation completed");
    for (const auto& c : kCases) {
        std::vector<std::string> lines = Act(app, c.command, "navigation completed");
        SCOPED_TRACE(std::string(c.command) + "\n" + ::testing::PrintToString(lines));
        EXPECT_TRUE(Has(lines, c.answer));
        EXPECT_EQ(CountPrefix(lines, "page shown https://other.example"), 0u);
        EXPECT_EQ(CountPrefix(lines, "page shown error https://other.example"), 0u);
        EXPECT_TRUE(!c.shown || Has(lines, c.shown));
        EXPECT_EQ(CountPrefix(lines, kKept), c.kept ? 1u : 0u);
        if (!c.kept) continue;
        EXPECT_TRUE(Has(lines, std::string(kKept) +
                                   "https://other.example/private is outside https://site.example, so it is not "
                                   "shown. Reload (Ctrl+R) goes back to the last page of the site, Home (Alt+Home) "
                                   "to its address."));
        size_t shown = app.CountLog("page shown https://site.example/last");
        app.Command(102);
        EXPECT_TRUE(app.WaitForLog("page shown https://site.example/last", shown + 1));
    }
}

// Requests of a page: whether the filters report them to the program (on or
// off) and whether blocking answers them.
const struct {
    const char* request;
    bool reported, blocked;
} kRequests[] = {
    {"https://doubleclick.net/ad.js", true, true},
    {"http://doubleclick.net/pixel?x=1 2", true, true},  // a script's request
    {"https://ads.doubleclick.net/ad.js", true, true},
    {"https://a.b.doubleclick.net/", true, true},
    {"https://Ads.DoubleClick.NET/frame 5", true, true},
    {"https://notdoubleclick.net/ad.js", false, false},
    {"https://doubleclick.net.evil.example/ad.js", false, false},
    // The filters' globs match these, but their hosts only look like the ad domain.
    {"https://notdoubleclick.net/?u=https://ads.doubleclick.net/", true, false},
    {"https://doubleclick.net.evil.example/?u=https://doubleclick.net/", true, false},
    // Ads live in cross-origin frames and workers: the filters reach them too.
    {"https://doubleclick.net/in-frame.png 3 cross-frame", true, true},
    {"https://ads.doubleclick.net/beacon 8 worker", true, true},
    {"https://ads.doubleclick.net/shared 8 shared-worker", true, true},
    {"https://ads.doubleclick.net/cached.js 6 service-worker", true, true},
};

std::string RequestAddress(const char* request) {
    std::string text = request;
    return text.substr(0, text.find(' '));
}

// Runs every request of the table and checks the program's answer to each.
void ExpectRequestsAnswered(const AppSession& app, bool blocking) {
    for (const auto& r : kRequests) {
        std::string address = RequestAddress(r.request);
        std::vector<std::string> lines = Act(app, std::string("request ") + r.request);
        SCOPED_TRACE(std::string(r.request) + (blocking ? " blocking" : " not blocking") + "\n" +
                     ::testing::PrintToString(lines));
        bool answered = blocking && r.blocked;
        EXPECT_EQ(Has(lines, "resource answered 403 Blocked " + address), answered);
        EXPECT_EQ(Has(lines, "resource to network " + address), !answered);
        EXPECT_EQ(CountPrefix(lines, "resource answered"), answered ? 1u : 0u);
        EXPECT_EQ(CountPrefix(lines, "resource event "), r.reported ? 1u : 0u);
    }
}

TEST(PolicyAppTest, AdDomainRequestsAreAnsweredOnlyWhileBlocking) {
    for (bool blocking : {true, false}) {
        SCOPED_TRACE(blocking ? "blockAds=1" : "blockAds=0");
        AppSession app(std::string("url=https://site.example\r\nblockAds=") + (blocking ? "1" : "0") + "\r\n");
        StartAtSite(app);
        // The filters are there whatever the setting, so a later toggle needs no
        // new ones, and before the first page loads, so none of its requests slip by.
        std::vector<std::string> log = app.Log();
        auto first = std::find_if(log.begin(), log.end(), IsStarted);
        for (const char* filter : {"filter added *://doubleclick.net/* 0 sources all", "filter added *://*.doubleclick.net/* 0 sources all"})
            EXPECT_NE(std::find(log.begin(), first, filter), first) << filter << ::testing::PrintToString(log);
        ExpectRequestsAnswered(app, blocking);
    }
}

TEST(PolicyAppTest, ToggleReloadsTheShownPageUnderTheNewSetting) {
    AppSession app(kSiteConfig);
    StartAtSite(app);
    Act(app, "link https://site.example/current", "navigation completed");
    for (bool blocking : {false, true}) {
        SCOPED_TRACE(blocking ? "turned on" : "turned off");
        size_t from = app.Log().size(), completed = app.CountLog("navigation completed");
        app.Command(104);
        ASSERT_TRUE(app.WaitForLog("navigation completed", completed + 1));
        std::vector<std::string> log = app.Log();
        std::vector<std::string> lines(log.begin() + from, log.end());
        EXPECT_TRUE(Has(lines, "page shown https://site.example/current")) << ::testing::PrintToString(lines);
        EXPECT_NE(ReadFileBytes(app.dataDir() + L"\\config.ini").find(blocking ? "blockAds=1" : "blockAds=0"),
                  std::string::npos);
        ExpectRequestsAnswered(app, blocking);
    }
}

}  // namespace
