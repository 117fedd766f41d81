// The program's site lock against a real browser: velotide.exe with the
// Chromium engine, a headless Chromium and the test web server of the
// fixture (tests/chromium). What Chromium did is read from the engine's log,
// what reached the network from the server's request log.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/support/app_input.h"
#include <winhttp.h>

#include "app/commands.h"
#include "tests/support/app_session.h"
#include "tests/support/app_site_bar.h"
#include "tests/support/engine_install.h"

namespace {

const char kSite[] = "url=http://site.test/\r\n";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Requests the server received, "host path" a line, that begin with the
// given text (or are it, when whole). The log is the whole run's, so tests
// compare counts.
size_t CountRequests(const std::string& prefix, bool whole = false) {
    std::vector<std::string> lines = ReadEngineLog(WinPathFromUnix(VELOTIDE_CHROMIUM_FIXTURE_UNIX_DIR "/requests.log"));
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return whole ? line == prefix : line.rfind(prefix, 0) == 0;
    });
}

// Asks the test web server for path, from the test itself rather than a
// page; true once it has answered.
bool AskServer(const std::string& path) {
    std::string port = ReadFileBytes(WinPathFromUnix(VELOTIDE_CHROMIUM_FIXTURE_UNIX_DIR "/server.port"));
    WSADATA data;
    if (port.empty() || WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in server = {};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<u_short>(std::stoi(port)));
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string request = "GET " + path + " HTTP/1.0\r\nHost: site.test\r\n\r\n";
    char reply[64];
    bool answered = connection != INVALID_SOCKET &&
                    connect(connection, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0 &&
                    send(connection, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size()) &&
                    recv(connection, reply, sizeof reply, 0) > 0;
    if (connection != INVALID_SOCKET) closesocket(connection);
    WSACleanup();
    return answered;
}

// The page runs a script as if the user had clicked, then the test waits for
// the navigation it starts to complete; the log lines from there on.
std::vector<std::string> Act(const AppSession& app, const std::string& script) {
    size_t from = app.Log().size(), completed = app.CountLog("navigation completed");
    EXPECT_TRUE(app.Page(L"script " + Wide(script))) << script;
    EXPECT_TRUE(app.WaitForLog("navigation completed", completed + 1)) << script;
    std::vector<std::string> log = app.Log();
    return std::vector<std::string>(log.begin() + std::min(from, log.size()), log.end());
}

bool Has(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

std::string Click(const std::string& href, const std::string& target = "") {
    return "{ const a = document.createElement('a'); a.href = '" + href + "'; a.target = '" + target +
           "'; document.body.append(a); a.click(); }";
}

void StartAt(AppSession& app, const std::string& first) {
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed")) << ::testing::PrintToString(app.Log());
    ASSERT_EQ(app.LastLog("navigation completed"), "navigation completed 1 success") << ::testing::PrintToString(app.Log());
    EXPECT_EQ(app.LastLog("page shown"), "page shown " + first);
}

TEST(ChromiumAppTest, TheSiteLoadsAndNavigationStaysOnItsOrigin) {
    // never: a request the server must not see, whatever became of the
    // navigation. (An https address can't be seen at all: Chromium preconnects
    // to a navigation's host, a TLS hello included, before the request is
    // judged, and the request itself never leaves.)
    const struct {
        const char* name;
        std::string script;
        const char* shown;  // the page that loads, or null when the navigation is stopped
        const char* never;
    } kCases[] = {
        {"same-origin link", Click("/next?c1"), "http://site.test/next?c1", nullptr},
        {"another origin", Click("http://other.test/away?c2"), nullptr, "other.test /away?c2"},
        {"scheme change", "location.href = 'https://site.test/tls?c3'", nullptr, nullptr},
        {"port change", "location.href = 'http://site.test:8081/port?c4'", nullptr, "site.test:8081 "},
        {"redirect off the site", "location.href = '/redirect?to=http://other.test/off?c5'", nullptr,
         "other.test /off?c5"},
    };
    size_t homeRequests = CountRequests("site.test /", true);
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    EXPECT_EQ(CountRequests("site.test /", true), homeRequests + 1);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        size_t never = c.never ? CountRequests(c.never) : 0;
        std::vector<std::string> lines = Act(app, c.script);
        SCOPED_TRACE(::testing::PrintToString(lines));
        std::string id = app.LastLog("navigation started ").substr(19);
        id = id.substr(0, id.find(' '));
        if (c.shown) {
            EXPECT_TRUE(Has(lines, std::string("page shown ") + c.shown));
            EXPECT_TRUE(Has(lines, "navigation completed " + id + " success"));
        } else {
            EXPECT_TRUE(Has(lines, "navigation cancelled " + id));
            EXPECT_TRUE(Has(lines, "navigation completed " + id + " status 14"));
            EXPECT_FALSE(Has(lines, "page shown"));  // the page stays, no failure page either
            if (c.never) {
                EXPECT_EQ(CountRequests(c.never), never);
            }
        }
    }
    EXPECT_EQ(app.Quit(), 0u);
}

// The site as a person may type it: Chromium reports each address in its
// canonical form, and the site must load from every form and stay locked.
TEST(ChromiumAppTest, TheSiteLoadsInEveryFormItIsTypedAndStaysLocked) {
    const struct {
        const char* config;
        const char* shown;    // the first page, or the message that the site sent the view away
        const char* request;  // what the server received for it, or null
        const char* offSite;  // a link that must still be stopped
    } kCases[] = {
        {"url=HTTP://SITE.TEST/upper\r\n", "page shown http://site.test/upper", "site.test /upper",
         "http://other.test/f1"},
        {"url=http://Site.TEST/mixed\r\n", "page shown http://site.test/mixed", "site.test /mixed",
         "http://site.test:8081/f2"},
        {"url=http://site.test:80/port\r\n", "page shown http://site.test/port", "site.test /port",
         "https://site.test/f3"},
        {"url=http://me@site.test/user\r\n", "page shown http://me@site.test/user", "site.test /user",
         "http://site.test@other.test/f4"},
        {"url=http://stra\xC3\x9F" "e-caf\xC3\xA9.test/idn\r\n", "page shown http://xn--strae-caf-j1a9i.test/idn",
         "xn--strae-caf-j1a9i.test /idn", "http://xn--strasse-caf-lbb.test/f5"},
        {"url=http://moved.test\r\n",
         "page shown data: The site sent Velotide to another address http://moved.test sends its visitors on to "
         "http://www.moved.test/, which is outside the site.",
         nullptr, "http://www.moved.test/f6"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.config);
        size_t served = c.request ? CountRequests(c.request, true) : 0;
        AppSession app(c.config, Engine::kChromium);
        ASSERT_TRUE(app.Start());
        if (!app.WaitForLog(c.shown)) {
            ADD_FAILURE() << ::testing::PrintToString(app.Log());
            continue;
        }
        if (c.request) {
            EXPECT_TRUE(app.WaitForLog("navigation completed 1 success")) << ::testing::PrintToString(app.Log());
            EXPECT_EQ(CountRequests(c.request, true), served + 1);
        }
        std::string host = std::string(c.offSite).substr(7);
        host = host.substr(host.find('@') + 1);
        size_t never = CountRequests(host.substr(0, host.find('/')) + " ");
        std::vector<std::string> lines = Act(app, Click(c.offSite));
        EXPECT_TRUE(Has(lines, "navigation cancelled ")) << ::testing::PrintToString(lines);
        EXPECT_FALSE(Has(lines, "page shown"));
        EXPECT_EQ(CountRequests(host.substr(0, host.find('/')) + " "), never);
        EXPECT_EQ(app.Quit(), 0u);
    }
}

TEST(ChromiumAppTest, PopUpsOpenNoWindowAndLoadNothing) {
    size_t popupRequests = CountRequests("other.test /pop?") + CountRequests("site.test /pop?");
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    const struct {
        std::string script;
        const char* uri;
    } kCases[] = {
        {"window.open('http://other.test/pop?p1')", "http://other.test/pop?p1"},
        {Click("http://site.test/pop?p2", "_blank"), "http://site.test/pop?p2"},
    };
    for (const auto& c : kCases) {
        ASSERT_TRUE(app.Page(L"script " + Wide(c.script)));
        EXPECT_TRUE(app.WaitForLog(std::string("popup swallowed ") + c.uri)) << ::testing::PrintToString(app.Log());
    }
    PumpFor(300);  // a window let go would have asked for its page by now
    EXPECT_EQ(CountRequests("other.test /pop?") + CountRequests("site.test /pop?"), popupRequests);
    EXPECT_EQ(app.CountLog("navigation started"), 1u);
    EXPECT_EQ(app.Quit(), 0u);
}

// A click inside a cross-site frame (an ad) and the page's own script open
// windows at the same moment: each is reported with its own address, and the
// pop-ups after them still are.
TEST(ChromiumAppTest, PopUpsFromCrossSiteFramesArePairedWithTheirOwnAddress) {
    size_t popupRequests = CountRequests("ads.test /pop?") + CountRequests("other.test /pop?");
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    ASSERT_TRUE(Act(app, "location.href = '/framer?frame=' + encodeURIComponent('http://ads.test/opener?to=http://ads.test/pop?f1')").size());
    auto click = [&] {
        PostMessageW(app.view(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
        PostMessageW(app.view(), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    };
    // The frame takes clicks once Chromium has laid it out: the first one it gets arms it.
    size_t armed = CountRequests("ads.test /opener-armed", true);
    for (int i = 0; i < 20 && CountRequests("ads.test /opener-armed", true) == armed; ++i) {
        click();
        PumpFor(250);
    }
    ASSERT_GT(CountRequests("ads.test /opener-armed", true), armed);
    const struct {
        const char* name;
        std::vector<std::string> popups;  // what opens them, each after the one before
    } kRounds[] = {
        {"at once, one from the frame", {"window.open('http://other.test/pop?m1')", "click"}},
        {"the next after them", {"window.open('http://other.test/pop?n1')"}},
    };
    const char* kUris[] = {"http://other.test/pop?m1", "http://ads.test/pop?f1", "http://other.test/pop?n1"};
    size_t next = 0;
    for (const auto& round : kRounds) {
        SCOPED_TRACE(round.name);
        for (const std::string& popup : round.popups) {
            if (popup == "click") {
                click();
            } else {
                EXPECT_TRUE(app.Page(L"script " + Wide(popup)));
            }
        }
        for (size_t i = 0; i < round.popups.size(); ++i, ++next) {
            std::string line = std::string("popup swallowed ") + kUris[next];
            EXPECT_TRUE(app.WaitForLog(line))
                << line << ::testing::PrintToString(app.Log());
        }
    }
    EXPECT_EQ(app.CountLog("popup "), std::size(kUris)) << ::testing::PrintToString(app.LogLines("popup "));
    PumpFor(300);
    EXPECT_EQ(CountRequests("ads.test /pop?") + CountRequests("other.test /pop?"), popupRequests);
    EXPECT_EQ(app.Quit(), 0u);
}

// A GET to the fixture's Chromium's DevTools endpoint; the answer's body.
std::string AskChromium(const std::wstring& path) {
    std::wstring endpoint = ChromiumDevToolsEndpoint();
    size_t colon = endpoint.rfind(L':');
    std::string body;
    HINTERNET session = WinHttpOpen(L"test", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
    HINTERNET connection = WinHttpConnect(session, endpoint.substr(0, colon).c_str(),
                                          static_cast<INTERNET_PORT>(_wtoi(endpoint.c_str() + colon + 1)), 0);
    HINTERNET request = WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr, nullptr, nullptr, 0);
    if (request && WinHttpSendRequest(request, nullptr, 0, nullptr, 0, 0, 0) && WinHttpReceiveResponse(request, nullptr)) {
        char buffer[4096];
        DWORD read = 0;
        while (body.size() < (1 << 20) && WinHttpReadData(request, buffer, sizeof buffer, &read) && read) body.append(buffer, read);
    }
    for (HINTERNET handle : {request, connection, session})
        if (handle) WinHttpCloseHandle(handle);
    return body;
}

// A page Chromium closes under the view is gone for good, as after a browser
// process exit: the program hears of it and brings the site back in a new view.
TEST(ChromiumAppTest, APageChromiumClosesIsReportedAndTheSiteComesBack) {
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    Act(app, "location.href = '/to-be-closed'");
    std::string targets = AskChromium(L"/json/list");
    size_t url = targets.find("\"url\": \"http://site.test/to-be-closed\"");
    size_t id = targets.rfind("\"id\": \"", url);
    ASSERT_TRUE(url != std::string::npos && id != std::string::npos) << targets;
    id += 7;
    AskChromium(L"/json/close/" + Wide(targets.substr(id, targets.find('"', id) - id)));
    EXPECT_TRUE(app.WaitForLog("process failed 0")) << ::testing::PrintToString(app.Log());
    EXPECT_TRUE(app.WaitForLog("controller created", 2)) << ::testing::PrintToString(app.Log());
    EXPECT_TRUE(app.WaitForLog("page shown http://site.test/", 2)) << ::testing::PrintToString(app.Log());
    EXPECT_EQ(app.CountLog("process failed"), 1u);
    EXPECT_EQ(app.Quit(), 0u);
}

// What the engine holds for the page, from its stats line ("name=value" words).
std::map<std::string, std::string> Stats(const AppSession& app) {
    EXPECT_TRUE(app.Page(L"stats"));
    std::map<std::string, std::string> stats;
    std::string line = app.LastLog("stats ");
    for (size_t at = 0; (at = line.find(' ', at)) != std::string::npos;) {
        size_t end = line.find(' ', ++at), equals = line.find('=', at);
        if (equals < end) stats[line.substr(at, equals - at)] = line.substr(equals + 1, end - equals - 1);
    }
    return stats;
}

// A long session: frames come and go, pages open pop-ups, the site is
// browsed. What the engine keeps returns to its size each time.
TEST(ChromiumAppTest, ALongSessionKeepsWhatItHoldsBounded) {
    const char* kKept[] = {"navigations", "local", "frames", "children", "popups", "listeners",
                           "pages",       "unclaimed", "waiting", "contexts"};
    const char kFramesComeAndGo[] =
        "for (const src of ['/f1', '/f2', 'http://other.test/f3', 'http://ads.test/f4']) {"
        "  const f = document.createElement('iframe'); f.src = src; document.body.append(f); }"
        "setTimeout(() => document.querySelectorAll('iframe').forEach(f => f.remove()), 400);";
    const int kRounds = 5;
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    std::map<std::string, std::string> first;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        std::string n = std::to_string(round);
        Act(app, "location.href = '/soak?" + n + "'");
        PumpFor(300);
        std::map<std::string, std::string> before = Stats(app);
        size_t popups = app.CountLog("popup ");
        EXPECT_TRUE(app.Page(L"script " + Wide(kFramesComeAndGo + std::string("window.open('/pop?s") + n + "')")));
        EXPECT_TRUE(app.WaitForLog("popup ", popups + 1));
        PumpFor(1500);  // the frames have gone, the pop-up has closed
        std::map<std::string, std::string> after = Stats(app);
        if (round == 0) first = after;
        for (const char* kept : kKept) {
            EXPECT_EQ(after[kept], before[kept]) << kept << " " << app.LastLog("stats ");
            EXPECT_EQ(after[kept], first[kept]) << kept << " " << app.LastLog("stats ");
        }
    }
    EXPECT_EQ(first["popups"], "0/0");
    EXPECT_EQ(first["pages"], "1");
    EXPECT_EQ(app.Quit(), 0u);
}

// While the page has the focus, system keys the program doesn't take reach
// the page and then the window system: F10 and Alt alone open the menu, Alt+F4
// closes the window.
TEST(ChromiumAppTest, SystemKeysThePageHasGoOnToTheWindow) {
    auto inMenu = [](const AppSession& app) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(app.mainWindow(), nullptr), &info) &&
               (info.flags & GUI_INMENUMODE) != 0;
    };
    const struct {
        const char* name;
        UINT key;
        LPARAM down;  // Alt's own key-down comes with the Alt flag
    } kMenuKeys[] = {{"F10", VK_F10, 1}, {"Alt alone", VK_MENU, 0x20000001}};
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    for (const auto& c : kMenuKeys) {
        SCOPED_TRACE(c.name);
        size_t toPage = app.CountLog("key to page " + std::to_string(c.key));
        PostMessageW(app.view(), WM_SYSKEYDOWN, c.key, c.down);
        PostMessageW(app.view(), WM_SYSKEYUP, c.key, 0xC0000001);
        EXPECT_TRUE(PumpUntil([&] { return inMenu(app); })) << ::testing::PrintToString(app.LogLines("key "));
        EXPECT_GT(app.CountLog("key to page " + std::to_string(c.key)), toPage);
        PostMessageW(app.view(), WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(app.view(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        EXPECT_TRUE(PumpUntil([&] { return !inMenu(app); }));
        PumpFor(300);  // the rest of Esc reaches the page
    }
    EXPECT_EQ(Press(app, VK_F4, kAlt), "key to page 115 2");
    EXPECT_EQ(app.process().WaitForExit(10000), 0u) << ::testing::PrintToString(app.Log());
}

// A burst of mouse moves reaches the page as fewer moves, the latest
// position last, and a press after them comes after them.
TEST(ChromiumAppTest, MouseMovesAreCoalescedTheLatestWinning) {
    const int kMoves = 60;
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    ASSERT_TRUE(app.Page(L"script window.moves = 0; addEventListener('mousemove', e => { window.moves++; "
                         L"window.at = e.clientX + ',' + e.clientY; }); addEventListener('mousedown', e => "
                         L"fetch('/pressed?' + window.at + ',' + e.clientX + ',' + e.clientY + ',' + window.moves));"));
    PumpFor(200);
    for (int i = 1; i <= kMoves; ++i) PostMessageW(app.view(), WM_MOUSEMOVE, 0, MAKELPARAM(2 * i, i));
    PostMessageW(app.view(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2 * kMoves, kMoves));
    PostMessageW(app.view(), WM_LBUTTONUP, 0, MAKELPARAM(2 * kMoves, kMoves));
    std::vector<std::string> lines;
    ASSERT_TRUE(PumpUntil([&] {
        lines = ReadEngineLog(WinPathFromUnix(VELOTIDE_CHROMIUM_FIXTURE_UNIX_DIR "/requests.log"));
        return std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("site.test /pressed?", 0) == 0; });
    }));
    std::string pressed = *std::find_if(lines.rbegin(), lines.rend(),
                                        [](const std::string& l) { return l.rfind("site.test /pressed?", 0) == 0; });
    std::string at = "site.test /pressed?" + std::to_string(2 * kMoves) + "," + std::to_string(kMoves) + ",";
    EXPECT_EQ(pressed.rfind(at + at.substr(19), 0), 0u) << pressed;  // the last move, then the press, both there
    int moves = std::stoi(pressed.substr(pressed.rfind(',') + 1));
    EXPECT_GE(moves, 1);
    EXPECT_LT(moves, kMoves) << pressed;
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(ChromiumAppTest, AdRequestsAreAnswered403UntilBlockingIsTurnedOff) {
    // Each request the ads page makes, and whether it goes to the ad domain.
    const struct {
        const char* host;
        const char* path;
        bool ad;
    } kRequests[] = {
        {"doubleclick.net", "/ad.png?", true},
        {"sub.doubleclick.net", "/ad.js?", true},
        {"deep.sub.doubleclick.net", "/frame?", true},
        {"xdoubleclick.net", "/look-alike.png?", false},
        {"doubleclick.net.other.test", "/look-alike.png?", false},
    };
    AppSession app("url=http://site.test/ads\r\nblockAds=1\r\n", Engine::kChromium);
    std::vector<size_t> served, blocked;
    auto count = [&] {
        served.clear();
        blocked.clear();
        for (const auto& r : kRequests) {
            served.push_back(CountRequests(std::string(r.host) + " " + r.path));
            blocked.push_back(app.CountLog(std::string("resource answered 403 Blocked http://") + r.host + r.path));
        }
    };
    count();
    // Round 1 is the first load; each toggle of the menu item reloads the page.
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        std::vector<size_t> servedBefore = served, blockedBefore = blocked;
        if (round == 1) {
            StartAt(app, "http://site.test/ads");
        } else {
            size_t completed = app.CountLog("navigation completed");
            app.Command(104);
            ASSERT_TRUE(app.WaitForLog("navigation completed", completed + 1));
        }
        count();
        for (size_t i = 0; i < std::size(kRequests); ++i) {
            bool stopped = kRequests[i].ad && round != 2;
            SCOPED_TRACE(kRequests[i].host);
            EXPECT_EQ(served[i] - servedBefore[i], stopped ? 0u : 1u);
            EXPECT_EQ(blocked[i] - blockedBefore[i], stopped ? 1u : 0u);
        }
    }
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(ChromiumAppTest, AFirstLoadThatCantShowTheSiteSaysWhy) {
    const struct {
        const char* config;
        const char* page;       // the program's message page, as Chromium shows it
        const char* completed;  // how the configured address's navigation ended
    } kCases[] = {
        {"url=http://unreachable.invalid/\r\n",
         "page shown data: Can't reach the site The site's name could not be found. Address: "
         "http://unreachable.invalid/ Reload (Ctrl+R) tries again.",
         "navigation completed 1 status 13"},
        {"url=https://secure.test/\r\n",
         "page shown data: Can't reach the site The site's certificate is not valid: it is not trusted. Address: "
         "https://secure.test/ Reload (Ctrl+R) tries again.",
         "navigation completed 1 status 5"},
        // The configured address redirects to another host, which never sees a request.
        {"url=http://moved.test/\r\n",
         "page shown data: The site sent Velotide to another address http://moved.test/ sends its visitors on to "
         "http://www.moved.test/, which is outside the site.",
         "navigation completed 1 status 14"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.config);
        size_t moved = CountRequests("www.moved.test ");
        AppSession app(c.config, Engine::kChromium);
        ASSERT_TRUE(app.Start());
        EXPECT_TRUE(app.WaitForLog(c.page)) << ::testing::PrintToString(app.Log());
        EXPECT_EQ(app.LogLines("navigation completed").front(), c.completed);
        EXPECT_EQ(CountRequests("www.moved.test "), moved);
        EXPECT_EQ(app.Quit(), 0u);
    }
}

TEST(ChromiumAppTest, OnlyARealFailureReplacesThePageAndReloadTriesAgain) {
    const std::string kDown = "page shown data: Can't reach the site The site's server could not be reached or "
                              "refused the connection. Address: http://flaky.test/after";
    // A script the page runs, or the Reload command (102) for null; how its
    // navigation ends, and the navigations that end in all; the page shown
    // then, or null when the page stays; whether it became a download.
    const struct {
        const char* name;
        std::string script;
        const char* completed;
        const char* shown;
        size_t completions = 1;
        bool download = false;
        UINT key = 0;  // pressed once the log has this line more:
        const char* pressAfter = "navigation started";
    } kSteps[] = {
        {"a download link", Click("/download"), "status 9", nullptr, 1, true},
        {"a 204 link", Click("/nocontent"), "status 14", nullptr},
        {"window.stop() during a slow load", "location.href = '/slow?s=3'; setTimeout(() => window.stop(), 300)",
         "status 14", nullptr},
        {"Esc during a slow load", "location.href = '/slow?s=3'", "status 14", nullptr, 1, false, VK_ESCAPE},
        {"Esc while a shown page's content is slow", "location.href = '/slow-content'", "status 14",
         "page shown http://flaky.test/slow-content", 1, false, VK_ESCAPE, "page shown"},
        {"a slow load superseded by a newer one",
         "location.href = '/slow?s=3'; setTimeout(() => location.href = '/newer', 300)", "status 14",
         "page shown http://flaky.test/newer", 2},
        {"the server goes down", "fetch('/flaky-down').then(() => location.href = '/after')", "status 12",
         kDown.c_str(), 2},
        {"back again: Reload", "", "success", "page shown http://flaky.test/after"},
    };
    AppSession app("url=http://flaky.test/\r\n", Engine::kChromium);
    StartAt(app, "http://flaky.test/");
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.name);
        size_t from = app.Log().size(), completed = app.CountLog("navigation completed"),
               before = app.CountLog(step.pressAfter), told = app.CountLog("download starting");
        if (!step.script.empty()) {
            ASSERT_TRUE(app.Page(L"script " + Wide(step.script)));
            if (step.key) {
                ASSERT_TRUE(app.WaitForLog(step.pressAfter, before + 1));
                Press(app, step.key);
            }
        } else {  // the failure page shows: the server comes back, and Reload
            ASSERT_TRUE(AskServer("/flaky-up"));
            app.Command(102);
        }
        ASSERT_TRUE(app.WaitForLog("navigation completed", completed + step.completions))
            << ::testing::PrintToString(app.Log());
        if (step.download) {
            ASSERT_TRUE(app.WaitForLog("download starting", told + 1));
        }
        std::vector<std::string> log = app.Log(), lines(log.begin() + from, log.end());
        SCOPED_TRACE(::testing::PrintToString(lines));
        auto started = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.rfind("navigation started ", 0) == 0; });
        ASSERT_NE(started, lines.end());
        std::string id = started->substr(19, started->find(' ', 19) - 19);
        auto end = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.rfind("navigation completed " + id + " ", 0) == 0;
        });
        ASSERT_NE(end, lines.end());
        EXPECT_EQ(end->rfind("navigation completed " + id + " " + step.completed, 0), 0u);
        // Only a download raises DownloadStarting, and after its navigation has ended.
        auto starting = std::find_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return l.rfind("download starting ", 0) == 0; });
        EXPECT_EQ(starting != lines.end(), step.download);
        EXPECT_TRUE(starting == lines.end() || starting > end);
        EXPECT_EQ(Has(lines, "page shown"), step.shown != nullptr);  // else the page stays
        if (step.shown) {
            EXPECT_TRUE(Has(lines, step.shown));
        }
    }
    EXPECT_EQ(app.LastLog("page shown"), "page shown http://flaky.test/after");
    // The download arrived whole in the engine's folder, after its navigation had ended.
    std::string saved = app.LastLog("download completed ");
    EXPECT_EQ(saved.substr(saved.rfind(' ') + 1), "http://flaky.test/download");
    std::string content;
    for (int round = 0; round < 1024; ++round)
        for (int byte = 0; byte < 256; ++byte) content += static_cast<char>(byte);
    EXPECT_TRUE(ReadFileBytes(app.dataDir() + L"\\WebView2\\Downloads\\report.bin") == content);
    EXPECT_EQ(app.Quit(), 0u);
}

// Nobody presses Reload: the failure page tries the site again while its
// server is down, and shows the site once the server has started.
TEST(ChromiumAppTest, TheFailurePageBringsTheSiteBackOnceItsServerStarts) {
    ASSERT_TRUE(AskServer("/flaky-down"));
    // At 10 % the tries come after 1 s, 3 s and then every 6 s.
    AppSession app("url=http://flaky.test/\r\n", Engine::kChromium, {{L"VELOTIDE_WAIT_SCALE", L"10"}});
    ASSERT_TRUE(app.Start());
    const std::string kFailurePage = "page shown data: Can't reach the site The site's server could not be reached";
    bool triedWhileDown = app.WaitForLog(kFailurePage, 2);
    ASSERT_TRUE(AskServer("/flaky-up"));
    ASSERT_TRUE(triedWhileDown) << ::testing::PrintToString(app.Log());
    EXPECT_TRUE(app.WaitForLog("page shown http://flaky.test/", 1, 8000)) << ::testing::PrintToString(app.Log());
    EXPECT_EQ(app.Quit(), 0u);
}

// A kiosk's idle minute on a real page: the site loads anew without what
// the visitor left in its cookies and storage.
TEST(ChromiumAppTest, AKiosksIdleResetForgetsTheVisitorsCookiesAndStorage) {
    AppSession app(kSite, Engine::kChromium);
    ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, L"--kiosk --kiosk-idle-minutes 1"));
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    Act(app, "document.cookie = 'visitor=1'; localStorage.visitor = '2'; location.href = '/visited'");
    ASSERT_TRUE(PumpUntil([&] { return app.LastLog("page shown") == "page shown http://site.test/"; }, 90000))
        << ::testing::PrintToString(app.Log());
    EXPECT_EQ(app.CountLog("browsing data cleared Default"), 1u);
    size_t left = CountRequests("site.test /left?&", true);
    ASSERT_TRUE(app.Page(L"script fetch('/left?' + document.cookie + '&' + (localStorage.visitor || ''))"));
    EXPECT_TRUE(PumpUntil([&] { return CountRequests("site.test /left?&", true) > left; }));
    SendMessageW(app.mainWindow(), WM_ENDSESSION, TRUE, 0);  // a kiosk's only end
    EXPECT_EQ(app.process().WaitForExit(), 0u);
}

// A kiosk's page, and its frames of the site and of other sites, reach no
// file or print dialog: from their first script on, print() is not the
// browser's, the file picker gives nothing, and no click reaches a file
// input, however it is sent; elsewhere all of them are the browser's (which
// has no file picker for a page of plain http).
TEST(ChromiumAppTest, AKiosksPagesAndFramesReachNoFileOrPrintDialog) {
    const struct {
        const wchar_t* arguments;
        const char* tried;  // what the page's tries report
        const char* key;    // what Space on its file input reports
    } kCases[] = {
        {L"--kiosk", "/tried?print=other&picker=none&clicks=0&hosted=1", "/key-click?prevented=true"},
        {L"", "/tried?print=native&picker=absent&clicks=6&hosted=2", "/key-click?prevented=false"},
    };
    const struct {
        const char* page;
        const char* host;  // whose server hears the report
    } kPages[] = {
        {"/tries", "site.test"},
        {"/frame?src=/tries", "site.test"},
        {"/frame?src=http://other.test/tries", "other.test"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.arguments)));
        AppSession app(kSite, Engine::kChromium);
        ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, c.arguments));
        ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
        for (const auto& page : kPages) {
            SCOPED_TRACE(page.page);
            std::string report = std::string(page.host) + " " + c.tried;
            size_t reports = CountRequests(report, true), tries = CountRequests(std::string(page.host) + " /tried?");
            Act(app, std::string("location.href = '") + page.page + "'");
            EXPECT_TRUE(PumpUntil([&] { return CountRequests(std::string(page.host) + " /tried?") > tries; }));
            EXPECT_EQ(CountRequests(report, true), reports + 1) << ::testing::PrintToString(app.Log());
            if (page.page != std::string("/tries")) continue;
            // The keyboard's way to the file input: Space on it, focused.
            size_t keys = CountRequests(std::string("site.test ") + c.key, true);
            PostKey(app, VK_SPACE, kNone, true);
            PostKey(app, VK_SPACE, kNone, false);
            EXPECT_TRUE(PumpUntil([&] { return CountRequests(std::string("site.test ") + c.key, true) > keys; }));
        }
        SendMessageW(app.mainWindow(), WM_ENDSESSION, TRUE, 0);  // a kiosk's only end, and any window's
        EXPECT_EQ(app.process().WaitForExit(), 0u);
    }
}

TEST(ChromiumAppTest, ACrashedPageComesBackByItself) {
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    Act(app, "location.href = '/before-crash'");
    size_t completed = app.CountLog("navigation completed");
    ASSERT_TRUE(app.Page(L"crash 1"));
    ASSERT_TRUE(app.WaitForLog("process failed 1"));
    ASSERT_TRUE(app.WaitForLog("navigation completed", completed + 1)) << ::testing::PrintToString(app.Log());
    EXPECT_EQ(app.LastLog("navigation completed").substr(app.LastLog("navigation completed").rfind(' ') + 1), "success");
    EXPECT_EQ(app.LastLog("page shown"), "page shown http://site.test/before-crash");
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(ChromiumAppTest, ASitesOwnErrorPageStaysAndAdsInCrossSiteFramesAreBlocked) {
    size_t framedAds = CountRequests("doubleclick.net /in-frame.png");
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    // The site's own 404 page stays: the server answered.
    std::vector<std::string> lines = Act(app, "location.href = '/missing'");
    EXPECT_TRUE(Has(lines, "page shown http://site.test/missing")) << ::testing::PrintToString(lines);
    EXPECT_TRUE(Has(lines, "navigation completed 2 status 0 http 404")) << ::testing::PrintToString(lines);
    EXPECT_FALSE(Has(lines, "page shown data:"));
    // An ad requested inside a cross-site frame is answered 403 too.
    Act(app, "location.href = '/adframe'");
    EXPECT_TRUE(app.WaitForLog("resource answered 403 Blocked http://doubleclick.net/in-frame.png"))
        << ::testing::PrintToString(app.Log());
    EXPECT_EQ(CountRequests("doubleclick.net /in-frame.png"), framedAds);
    EXPECT_EQ(CountRequests("other.test /framed"), 1u);
    EXPECT_EQ(app.Quit(), 0u);
}

// Another site's sign-in never reaches the person: a link to it is stopped
// before any request, and in a frame of the site Chromium itself asks
// nothing (it raises no challenge for another site's frame), so no
// credentials are ever sent; the site's own challenge is left to the login
// dialog (the engine declines as a person closing it would).
TEST(ChromiumAppTest, OnlyTheSiteMayAskToSignIn) {
    const struct {
        const char* script;
        const char* answer;        // the program's answer to the challenge, or null: none came
        const char* shown;         // the page shown at the top level
        size_t otherSiteRequests;  // what other.test's server received
    } kCases[] = {
        {"LINK", nullptr, nullptr, 0},
        {"location.href = '/private'", "sign-in left to the dialog http://site.test/private",
         "navigation completed 3 status 0 http 401", 0},
        {"location.href = '/frame?src=http://other.test/private'", nullptr,
         "page shown http://site.test/frame?src=http://other.test/private", 1},
    };
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    for (const auto& c : kCases) {
        std::string script = std::string(c.script) == "LINK" ? Click("http://other.test/private") : c.script;
        size_t other = CountRequests("other.test /private");
        std::vector<std::string> lines = Act(app, script);
        SCOPED_TRACE(script + "\n" + ::testing::PrintToString(lines));
        EXPECT_TRUE(!c.answer || Has(lines, c.answer));
        EXPECT_EQ(Has(lines, "sign-in requested"), c.answer != nullptr);
        EXPECT_FALSE(Has(lines, "page shown http://other.test"));
        EXPECT_TRUE(!c.shown || Has(lines, c.shown));
        EXPECT_EQ(CountRequests("other.test /private"), other + c.otherSiteRequests);
    }
    EXPECT_EQ(CountRequests("other.test /private credentials"), 0u);
    EXPECT_EQ(CountRequests("site.test /private credentials"), 0u);
    EXPECT_EQ(app.Quit(), 0u);
}

// A certificate nobody trusts: another site's shows nothing of its own (a
// link is stopped before it, a frame's request is refused at the
// certificate); the site's own is refused as the runtime does by default,
// and the failure page tells.
TEST(ChromiumAppTest, ACertificateNobodyTrustsShowsNothingOfItsOwn) {
    const struct {
        const char* script;
        const char* answer;  // the program's action, or null: no certificate error came
        const char* shown;   // the page shown at the top level
    } kCases[] = {
        {"LINK", nullptr, nullptr},
        {"location.href = '/frame?src=https://secure.test/framed'", "certificate action cancel https://secure.test/framed",
         "page shown http://site.test/frame?src=https://secure.test/framed"},
    };
    size_t secure = CountRequests("secure.test ");
    {
        AppSession app(kSite, Engine::kChromium);
        StartAt(app, "http://site.test/");
        for (const auto& c : kCases) {
            std::string script = std::string(c.script) == "LINK" ? Click("https://secure.test/") : c.script;
            std::vector<std::string> lines = Act(app, script);
            SCOPED_TRACE(script + "\n" + ::testing::PrintToString(lines));
            EXPECT_EQ(Has(lines, "certificate error"), c.answer != nullptr);
            EXPECT_TRUE(!c.answer || Has(lines, c.answer));
            EXPECT_TRUE(!c.shown || Has(lines, c.shown));
            EXPECT_FALSE(Has(lines, "page shown https://secure.test"));
            EXPECT_FALSE(Has(lines, "page shown error https://secure.test"));
        }
        EXPECT_EQ(app.Quit(), 0u);
    }
    AppSession app("url=https://secure.test/\r\n", Engine::kChromium);
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(app.WaitForLog("page shown data: Can't reach the site")) << ::testing::PrintToString(app.Log());
    EXPECT_EQ(app.LastLog("certificate error"), "certificate error 5 https://secure.test/");
    EXPECT_EQ(app.LastLog("certificate action"), "certificate action default https://secure.test/");
    EXPECT_EQ(app.CountLog("page shown https://secure.test"), 0u);
    EXPECT_EQ(app.Quit(), 0u);
    EXPECT_EQ(CountRequests("secure.test "), secure);  // no request ever got through
}

TEST(ChromiumAppTest, PageFullscreenAndKeysReachTheProgramAndThePage) {
    const wchar_t kEnter[] = L"script document.documentElement.requestFullscreen()";
    const wchar_t kLeave[] = L"script document.exitFullscreen()";
    const struct {
        const char* name;
        std::vector<Step> steps;
    } kScenarios[] = {
        {"page element in and out",
         {{kEnter, 0, "fullscreen element on", true}, {kLeave, 0, "fullscreen element off", false}}},
        {"F11 leaves page fullscreen, Esc then goes to the page and ends its element",
         {{kEnter, 0, "fullscreen element on", true},
          {nullptr, VK_F11, "key handled 122 0", false},
          {nullptr, VK_ESCAPE, "key to page 27 0", false},
          {nullptr, 0, "fullscreen element off", false}}},
    };
    for (const auto& s : kScenarios) {
        SCOPED_TRACE(s.name);
        AppSession app(kSite, Engine::kChromium);
        ASSERT_TRUE(app.Start());
        RunFullscreenScenario(app, false, s.steps);
    }

    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    // The view took the focus at start: the keys work without a click first.
    GUITHREADINFO focus = {};
    focus.cbSize = sizeof focus;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(app.mainWindow(), nullptr), &focus));
    EXPECT_EQ(focus.hwndFocus, app.view());
    // AltGr+L types a character ("ł" on a Polish keyboard): no prompt.
    EXPECT_EQ(Press(app, 'L', kCtrl | kAlt), "key to page 76 0");
    EXPECT_EQ(Press(app, 'R', kCtrl), "key handled 82 0");
    EXPECT_TRUE(app.WaitForLog("navigation completed 2 success")) << ::testing::PrintToString(app.Log());
    size_t typed = CountRequests("site.test /key?a");
    EXPECT_EQ(Press(app, 'A'), "key to page 65 0");
    EXPECT_TRUE(PumpUntil([&] { return CountRequests("site.test /key?a") == typed + 1; }));
    EXPECT_FALSE(FindProcessWindow(app.process().id(), L"VelotidePrompt"));
    EXPECT_EQ(app.Quit(), 0u);
}

// Closing lets the page's beforeunload ask, in the program's own window:
// staying keeps the window and what was typed, leaving closes. (Chromium
// asks only after the person used the page: the script command runs as a
// click.) The page's prompt() is answered there too, and the page gets the text.
TEST(ChromiumAppTest, ClosingAsksAPageThatHoldsTypedText) {
    AppSession app(kSite, Engine::kChromium);
    StartAt(app, "http://site.test/");
    // Once the page's handler is in place, it tells the server (so Chromium
    // knows of the handler before the program closes).
    size_t armed = CountRequests("site.test /armed", true);
    const wchar_t kArm[] =
        L"script addEventListener('beforeunload', e => { if (!window.signedOut) { e.preventDefault(); "
        L"e.returnValue = 'x'; } }); document.body.insertAdjacentHTML('beforeend', '<input id=typed>'); "
        L"typed.value = 'words'; fetch('/armed');";
    ASSERT_TRUE(app.Page(kArm));
    ASSERT_TRUE(PumpUntil([&] { return CountRequests("site.test /armed", true) > armed; }));
    struct Step {
        int answer;
        bool closes;
    } steps[] = {{IDCANCEL, false}, {IDOK, true}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.answer);
        app.Command(106);  // Quit
        EXPECT_EQ(AnswerPrompt(app.process(), step.answer),
                  L"site.test|Leave site?|Changes you made may not be saved.|Leave|Cancel");
        EXPECT_EQ(app.process().WaitForExit(step.closes ? 10000 : 1500), step.closes ? 0u : STILL_ACTIVE);
        if (step.closes) break;
        EXPECT_EQ(app.LastLog("dialog answered"), "dialog answered stay");
        // The typed text is still in the page: it sends it to the server.
        size_t kept = CountRequests("site.test /kept?words", true);
        ASSERT_TRUE(app.Page(L"script fetch('/kept?' + typed.value)"));
        EXPECT_TRUE(PumpUntil([&] { return CountRequests("site.test /kept?words", true) > kept; }));
        size_t named = CountRequests("site.test /named?Bea", true);
        ASSERT_TRUE(app.Page(L"script fetch('/named?' + prompt('Your name?', 'Ann'))"));
        EXPECT_EQ(AnswerPrompt(app.process(), IDOK, L"Bea"), L"site.test|Your name?|Ann|OK|Cancel");
        EXPECT_TRUE(PumpUntil([&] { return CountRequests("site.test /named?Bea", true) > named; }));
        // Staying ended the close: the page's own about:blank (a sign-out)
        // is the page's, and the window stays; back on the site, the next
        // close asks again.
        ASSERT_TRUE(app.Page(L"script signedOut = true; location.href = 'about:blank'"));
        ASSERT_TRUE(app.WaitForLog("page shown about:blank"));
        EXPECT_EQ(app.process().WaitForExit(1000), STILL_ACTIVE);
        ASSERT_TRUE(app.Page(L"script location.href = 'http://site.test/'"));
        ASSERT_TRUE(app.WaitForLog("page shown http://site.test/", 2));
        armed = CountRequests("site.test /armed", true);
        ASSERT_TRUE(app.Page(kArm));
        ASSERT_TRUE(PumpUntil([&] { return CountRequests("site.test /armed", true) > armed; }, 15000));
    }
}

}  // namespace

namespace {

// A site kept open all day, on a real page: it asks to notify, the bar asks
// the person, Allow grants it, and its notification reaches Windows and the
// page hears it shown; the next start answers at once from the settings
// file; Site > Show notifications unchecked makes the next request denied.
TEST(ChromiumAppTest, ASiteAsksToNotifyAndItsNotificationsReachWindows) {
    std::string settings = "url=http://site.test/notify\r\n";
    for (const char* run : {"asked", "answered from the settings"}) {
        SCOPED_TRACE(run);
        AppSession app(settings, Engine::kChromium);
        StartAt(app, "http://site.test/notify");
        ASSERT_TRUE(app.Page(L"script ask()"));
        if (settings.find("notifications=") == std::string::npos) {
            ASSERT_TRUE(PumpUntil([&] { return !SiteBarText(app).empty(); }, 10000));
            EXPECT_EQ(SiteBarText(app), "site.test wants to show notifications");
            EXPECT_TRUE(PressSiteBarButton(app, L"Allow"));
        }
        ASSERT_TRUE(app.WaitForLog("title changed permission granted")) << ::testing::PrintToString(app.Log());
        EXPECT_EQ(SiteBarText(app), "");
        ASSERT_TRUE(app.Page(L"script notifyMe('Hello')"));
        EXPECT_TRUE(app.WaitForLog("title changed show Hello"));
        if (settings.find("notifications=") != std::string::npos) {
            app.Command(ID_SITE_NOTIFICATIONS);  // unchecked: blocked
            ASSERT_TRUE(app.Page(L"script ask()"));
            EXPECT_TRUE(app.WaitForLog("title changed permission denied"));
        }
        EXPECT_EQ(app.Quit(), 0u);
        settings = ReadFileBytes(app.dataDir() + L"\\config.ini");
    }
    EXPECT_NE(settings.find("notifications=block\r\n"), std::string::npos) << settings;
}

// A site that never asks again: each document reads its permission as it
// loads and notifies when it is granted. The answer given once holds after a
// reload and after a restart, allowed and blocked alike.
TEST(ChromiumAppTest, TheAnswerAboutNotificationsHoldsAfterAReloadAndARestart) {
    auto restart = [](AppSession& app) {
        ASSERT_EQ(app.Quit(), 0u);
        ASSERT_TRUE(app.Start());
    };
    auto allow = [](AppSession& app) {
        ASSERT_TRUE(app.Page(L"script Notification.requestPermission()"));
        ASSERT_TRUE(PumpUntil([&] { return !SiteBarText(app).empty(); }, 10000));
        ASSERT_TRUE(PressSiteBarButton(app, L"Allow"));
        ASSERT_TRUE(app.WaitForLog("permission answered allow"));
        app.Command(ID_SITE_RELOAD);
    };
    auto block = [](AppSession& app) {
        app.Command(ID_SITE_NOTIFICATIONS);
        app.Command(ID_SITE_RELOAD);
    };
    const struct {
        const char* step;
        void (*act)(AppSession& app);
        const char* permission;  // what the new document reads
        bool shown;              // and so its notification reaches Windows
    } kSteps[] = {{"first start", [](AppSession& app) { ASSERT_TRUE(app.Start()); }, "default", false},
                  {"allowed in the bar, reloaded", allow, "granted", true}, {"restarted", restart, "granted", true},
                  {"blocked, reloaded", block, "denied", false}, {"restarted again", restart, "denied", false}};
    AppSession app("url=http://site.test/inbox\r\n", Engine::kChromium);
    for (const auto& s : kSteps) {
        SCOPED_TRACE(s.step);
        std::string read = std::string("title changed permission ") + s.permission;
        size_t reads = app.CountLog(read), shown = app.CountLog("notification shown Hello");
        s.act(app);
        ASSERT_TRUE(app.WaitForLog(read, reads + 1, 20000)) << ::testing::PrintToString(app.Log());
        if (!s.shown) PumpFor(1000);  // time enough for one that should not come
        EXPECT_EQ(app.WaitForLog("notification shown Hello", shown + 1, s.shown ? 10000 : 0), s.shown);
    }
    EXPECT_EQ(app.Quit(), 0u);
}

// An app made from the demo site on a real Chromium has the site's own icon.
TEST(ChromiumAppTest, AnAppMadeFromTheDemoSiteHasTheSitesIcon) {
    AppSession app("url=http://demo.velotide.test/\r\n", Engine::kChromium);
    StartAt(app, "http://demo.velotide.test/");
    ASSERT_TRUE(app.WaitForLog("favicon changed http://demo.velotide.test/icon.png"));
    app.Command(ID_SITE_CREATE_APP);
    HWND prompt = app.process().WaitForWindow(L"VelotidePrompt");
    ASSERT_TRUE(prompt);
    PostMessageW(prompt, WM_COMMAND, IDOK, 0);
    const std::wstring id = L"harbourlight-team-board";
    ASSERT_TRUE(PumpUntil([&] { return FindWindowW((L"VelotideMain.App." + id).c_str(), nullptr) != nullptr; }, 20000));
    EXPECT_EQ(IconCentre(app.dataDir() + L"\\Apps\\" + id + L"\\icon.ico"), 0xFF14345Au);
    ChildProcess remove(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL, L"--remove-app " + id);
    EXPECT_NE(DismissMessageBox(remove, IDYES), L"(no message box)");
    EXPECT_EQ(remove.WaitForExit(30000), 0u);
    EXPECT_EQ(app.Quit(), 0u);
}

// A site's own program made from velotide.exe shows its site on a real Chromium.
TEST(ChromiumAppTest, AProgramMadeForTheSiteShowsIt) {
    ScratchDir dir;
    const std::wstring program = dir / L"Site Test.exe";
    ChildProcess make(VelotideExePath(), L"", nullptr, SW_SHOWNORMAL,
                      L"--make-program \"" + program + L"\" --url http://site.test/ --name \"Site Test\"");
    ASSERT_EQ(make.WaitForExit(30000), 0u);
    AppSession app("", Engine::kChromium);
    app.RunInstead(program, L"VelotideMain.Program.site-test-e7df56ea");  // its id takes in the site
    StartAt(app, "http://site.test/");
    EXPECT_EQ(app.Quit(), 0u);
}

// A busy page out of sight past sleepAfter= sleeps for real: its 10 ms
// timer stops while the window is minimised, and runs again once it is shown.
TEST(ChromiumAppTest, ABusyPageOutOfSightSleepsAndRunsAgainWhenShown) {
    AppSession app("url=http://demo.velotide.test/live.html\r\nsleepAfter=1\r\n", Engine::kChromium);
    ASSERT_TRUE(app.Start() && app.WaitForLog("title changed Harbourlight", 3));
    ShowWindow(app.mainWindow(), SW_MINIMIZE);
    ASSERT_TRUE(app.WaitForLog("memory target low"));
    ASSERT_TRUE(app.WaitForLog("suspended", 1, 90000)) << ::testing::PrintToString(app.Log());
    PumpFor(1500);  // an update already on its way
    size_t updates = app.CountLog("title changed");
    PumpFor(4000);
    EXPECT_EQ(app.CountLog("title changed"), updates);
    ShowWindow(app.mainWindow(), SW_RESTORE);
    EXPECT_TRUE(app.WaitForLog("resumed"));
    EXPECT_TRUE(app.WaitForLog("title changed", updates + 2));
    EXPECT_EQ(app.LastLog("memory target"), "memory target normal");
    EXPECT_EQ(app.Quit(), 0u);
}

// A profile's browser context outlives its view: the next start finds the
// site's cookies, as the runtime's profile keeps them.
TEST(ChromiumAppTest, TheNextStartFindsTheSitesCookies) {
    AppSession app(kSite, Engine::kChromium);
    const char* kScripts[] = {"document.cookie = 'signed=in; max-age=600'",
                              "document.title = 'cookie ' + document.cookie"};
    for (size_t start = 1; start <= 2; ++start) {
        ASSERT_TRUE(app.Start() && app.WaitForLog("navigation completed 1 success", start));
        ASSERT_TRUE(app.Page(L"script " + Wide(kScripts[start - 1])));
        PumpFor(500);  // the cookie set before the window goes
        EXPECT_EQ(app.Quit(), 0u);
    }
    EXPECT_EQ(app.LastLog("title changed cookie"), "title changed cookie signed=in");
}

}  // namespace
