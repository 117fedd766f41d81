// Velotide's behaviour suite: what a person sees and what a site can do,
// checked on the running program with whatever browser stands behind its
// view (the WebView2 Runtime on Windows, our Chromium engine under Wine).
// It starts velotide.exe with a prepared data folder and its own site on
// 127.0.0.1, reads the windows with Win32, presses keys and clicks with
// SendInput, and reads and drives the page over the browser's DevTools
// protocol. Each row is an outcome; a failing one says what it expected and
// what it saw, and leaves a screenshot.
//
// Usage: velotide_conformance VELOTIDE.EXE OUTPUT_FOLDER [ROW_NAME_PART]
// The browser's DevTools endpoint is VELOTIDE_CHROMIUM_DEVTOOLS when set
// (our engine's Chromium); otherwise the runtime is asked to open one, by
// WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS.
#include <winsock2.h>

#include <shlobj.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <set>

#include "tests/conformance/desktop.h"
#include "tests/conformance/devtools.h"
#include "tests/conformance/site.h"

namespace {

// A fresh per-user folder for one row, its Velotide\config.ini holding
// settings, and the local application data folder pointed at it.
struct DataFolder {
    ScratchDir root;
    LocalAppDataOverride redirect{root.path()};
    explicit DataFolder(const std::string& settings) { Write(L"Velotide\\config.ini", settings); }
    void Write(const std::wstring& file, const std::string& text) const {
        std::wstring path = root / file;
        SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
        WriteFileBytes(path, text);
    }
};

struct Suite {
    std::wstring exe, out;
    std::string endpoint;
    bool realRuntime = false;
    Site* site = nullptr;
    std::vector<std::string> failures;  // the current row's
    std::wstring screenshot;            // of its first failure, as it was seen
    std::set<std::string> earlierPages;  // the browser's pages before the row: never its own
    std::string home;                   // the address the row's view opens
    const DataFolder* data = nullptr;   // the row's
} g;

void Expect(bool ok, const std::string& what, const std::string& expected, const std::string& seen) {
    if (ok) return;
    if (g.failures.empty() && !SaveScreen(g.screenshot)) g.screenshot.clear();
    g.failures.push_back(what + ": expected " + expected + ", saw " + seen);
}
void ExpectEq(const std::string& what, const std::string& expected, const std::string& seen) {
    Expect(seen == expected, what, "\"" + expected + "\"", "\"" + seen + "\"");
}
bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The row's pages at an address beginning with prefix. (A page of an
// earlier row may outlive it: a kiosk that ignores closing is ended by force,
// and our engine's browser keeps its page.)
std::vector<PageTarget> PagesAt(const std::string& prefix) {
    std::vector<PageTarget> found;
    for (const PageTarget& p : ListPages(g.endpoint))
        if (p.url.rfind(prefix, 0) == 0 && !g.earlierPages.count(p.id)) found.push_back(p);
    return found;
}

// The view's page once it shows an address beginning with prefix, connected.
std::unique_ptr<PageSession> Attach(const std::string& prefix) {
    std::vector<PageTarget> pages;
    Until([&] { return !(pages = PagesAt(prefix)).empty(); }, 20000);
    std::string all;
    for (const PageTarget& p : ListPages(g.endpoint)) all += " " + p.url;
    Expect(!pages.empty(), "the view's page", prefix, "the browser's pages:" + all);
    if (pages.empty()) return nullptr;
    auto session = std::make_unique<PageSession>(g.endpoint, pages[0]);
    Expect(session->connected(), "the page's DevTools session", "connected", "refused");
    // A page that has begun to load is read once it has.
    std::string address;
    Until(
        [&] {
            address = session->Eval("return document.readyState + ' ' + location.href");
            return address.rfind("complete " + prefix, 0) == 0;
        },
        10000);
    Expect(address.rfind("complete " + prefix, 0) == 0, "the view's page", "loaded at " + prefix, address);
    return session->connected() ? std::move(session) : nullptr;
}


std::string Click(const std::string& href, const std::string& target = "") {
    return "const a = document.createElement('a'); a.href = " + Quote(href) + "; a.target = " + Quote(target) +
           "; document.body.append(a); a.click(); return 'clicked';";
}

bool Started(Velotide& app, const std::wstring& arguments = L"") {
    bool started = app.Start(arguments);
    Expect(started, "velotide.exe", "its main window", app.Running() ? "no window" : "it ended");
    return started;
}

// That the program ends within 15 seconds, with exit code 0.
void ExpectEndsWithZero(Velotide& app, const std::string& after) {
    DWORD code = app.Wait(15000);
    Expect(code == 0, after, "exit code 0",
           code == STILL_ACTIVE ? "still running" : "exit code " + std::to_string(code));
}

void QuitWithZero(Velotide& app) {
    PostMessageW(app.window(), WM_CLOSE, 0, 0);
    ExpectEndsWithZero(app, "closing the window");
}

// The windows on the desktop and the browser's pages, counted when made.
struct Counts {
    size_t windows = TopWindows().size(), pages = ListPages(g.endpoint).size();
    std::string Text() const { return std::to_string(windows) + " windows, " + std::to_string(pages) + " pages"; }
};
void ExpectNoneNew(const Counts& before, const std::string& after) {
    Counts now;
    Expect(now.windows <= before.windows && now.pages <= before.pages, after, "at most " + before.Text(), now.Text());
}

// --- The rows: each is given velotide.exe started on the row's own data
// folder, its view opening g.home; a window still open after it is closed
// and must end with 0. ---

void TheSiteLoadsUnderTheProgramsTitle(Velotide& app) {
    auto page = Attach(g.home);
    if (!page) return;
    ExpectEq("the page's title", "Conformance home", page->Eval("return document.title"));
    ExpectEq("the window's title", "Velotide", WindowText(app.window()));
    page->Eval("location.href = '/next'; return 'going'", true);
    Until([&] { return page->Eval("return document.title") == "Next page"; });
    ExpectEq("a page of the site, followed", "Next page", page->Eval("return document.title"));
    ExpectEq("the window's title after it", "Velotide", WindowText(app.window()));
}

void OtherSitesLeaveThePageOnTheSite(Velotide& app) {
    auto page = Attach(g.home);
    if (!page) return;
    const std::string other = g.site->OtherOrigin(), third = "http://127.0.0.2:" + std::to_string(g.site->port());
    const struct {
        const char* name;
        std::string script;
        bool gesture;
        std::string barNames;  // the host the bar must name, or "" for no bar
    } kCases[] = {
        {"a script", "location.href = " + Quote(other + "/script") + "; return 'sent'", false, ""},
        {"a redirect", Click(g.site->Origin() + "/redirect?to=" + other + "/off"), true, "localhost"},
        {"a link", Click(third + "/away"), true, "127.0.0.2"},
    };
    for (const auto& c : kCases) {
        const std::string after = std::string("after ") + c.name;
        page->Eval(c.script, c.gesture);
        Sleep(1500);  // time for the browser to leave the page
        std::string address = page->Eval("return location.href");
        Expect(address.rfind(g.home, 0) == 0, after, "a page of the site", address);
        if (c.barNames.empty()) {
            HWND bar = FindByText(app.window(), "localhost");
            Expect(!bar, after, "no bar", "a bar: " + (bar ? WindowText(bar) : ""));
        } else {
            Expect(Until([&] { return FindByText(app.window(), c.barNames) != nullptr; }, 5000), after,
                   "a bar naming " + c.barNames, "no such bar");
        }
    }
}

void PopUpsOpenNoWindow(Velotide&) {
    auto page = Attach(g.home);
    if (!page) return;
    Counts before;
    page->Eval("window.open(" + Quote(g.site->OtherOrigin() + "/pop") + "); return 'opened'", true);
    page->Eval(Click(g.site->Origin() + "/next", "_blank"), true);
    Sleep(2000);
    ExpectNoneNew(before, "after window.open and target=_blank");
    ExpectEq("the page", g.home, page->Eval("return location.href"));
}

void AdRequestsGet403WhileBlockingIsOn(Velotide&) {
    auto page = Attach(g.home);
    if (!page) return;
    page->Call("Network.enable");
    page->Eval("fetch('http://doubleclick.net/conformance-ad.js', {mode: 'no-cors'}).catch(() => {}); return 1");
    Json response = page->WaitForEvent("Network.responseReceived", "doubleclick.net/conformance-ad.js", 10000);
    const Json& status = At(response, "/response/status");
    Expect(status == 403, "the ad request", "status 403", response.is_null() ? "no answer" : status.dump());
}

void PageFullscreenCoversTheMonitorAndComesBack(Velotide& app) {
    auto page = Attach(g.home);
    if (!page) return;
    HWND w = app.window();
    RECT before, now, monitor = MonitorRect(w);
    GetWindowRect(w, &before);
    const struct {
        const char* step;
        WORD key;  // or the page's own request
        bool fullscreen;
    } kSteps[] = {{"the page's requestFullscreen()", 0, true}, {"Esc", VK_ESCAPE, false},
                  {"F11", VK_F11, true}, {"F11 again", VK_F11, false}};
    for (const auto& s : kSteps) {
        if (s.key) {
            PressKey(w, s.key);
        } else {
            page->Eval("document.documentElement.requestFullscreen(); return 1", true);
        }
        bool ok = Until([&] {
            return GetWindowRect(w, &now) && (s.fullscreen ? EqualRect(&now, &monitor)
                                                           : EqualRect(&now, &before) && GetMenu(w));
        }, 5000);
        Expect(ok, std::string("after ") + s.step,
               s.fullscreen ? "the monitor " + Describe(monitor) : "the window as it was " + Describe(before),
               Describe(now));
    }
}

void AllowedNotificationsHoldAndShow(Velotide& app) {
    const char kPermission[] = "return Notification.permission";
    auto page = Attach(g.home);
    if (!page) return;
    page->Eval("Notification.requestPermission(); return 1", true);
    bool asked = Until([&] { return FindByText(app.window(), "wants to show notifications") != nullptr; });
    Expect(asked, "the site's wish to notify", "a bar asking", "none");
    // Allow, moved to with F6 and Tab and pressed with Space, as a person
    // with the keyboard does.
    PressKey(app.window(), VK_F6);
    for (int tab = 0; tab < 4; ++tab) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(app.window(), nullptr), &info);
        if (WindowText(info.hwndFocus) == "Allow") break;
        PressKey(app.window(), VK_TAB);
    }
    PressKey(app.window(), VK_SPACE);
    Until([&] { return page->Eval(kPermission) == "granted"; }, 5000);
    ExpectEq("after Allow", "granted", page->Eval(kPermission));
    PressKey(app.window(), 'R', VK_CONTROL);
    Sleep(1000);
    if (!(page = Attach(g.home))) return;
    ExpectEq("after a reload", "granted", page->Eval(kPermission));
    QuitWithZero(app);
    if (!Started(app) || !(page = Attach(g.home))) return;
    ExpectEq("after a restart", "granted", page->Eval(kPermission));
    std::string shown = page->Eval(
        "return await new Promise(done => { const n = new Notification('Hello from the suite');"
        " n.onshow = () => done('shown'); n.onerror = () => done('error'); setTimeout(() => done('nothing'), 8000); })",
        false, 12000);
    ExpectEq("a notification", "shown", shown);
}

void UnsavedTextAsksBeforeLeaving(Velotide& app) {
    auto page = Attach(g.home);
    if (!page) return;
    // Typed as a person types: a click into the page, then the keys.
    const char kTyped[] = "unsaved";
    ClickOn(app.window());
    page->Eval("text.focus(); return 1");
    for (const char* c = kTyped; *c; ++c) PressKey(app.window(), static_cast<WORD>(toupper(*c)));
    ExpectEq("the text typed", kTyped, page->Eval("return text.value"));
    for (const char* answer : {"Cancel", "Leave"}) {
        PostMessageW(app.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        HWND dialog = nullptr;
        Until([&] {
            for (HWND w : TopWindows(app.pid()))
                if (w != app.window() && FindByText(w, "Leave site?")) return (dialog = w) != nullptr;
            return false;
        });
        Expect(dialog != nullptr, "closing a page with unsaved text", "Velotide's \"Leave site?\" dialog", "none");
        if (!dialog) return;
        HWND button = FindWindowExW(dialog, nullptr, L"Button", Widen(answer).c_str());
        Expect(button != nullptr, "the dialog", std::string("a button ") + answer, "none");
        if (!button) return;
        ClickOn(button);
        if (std::string(answer) == "Leave") break;
        Sleep(1000);
        Expect(app.Running() && IsWindowVisible(app.window()), "after Stay", "the window", "it went");
        ExpectEq("the text after Stay", kTyped, page->Eval("return text.value"));
    }
    ExpectEndsWithZero(app, "after Leave");
}

void AStoppedServerShowsTheFailureAndTheSiteComesBack(Velotide& app) {
    if (!Attach(g.home)) return;
    g.site->Stop();
    PressKey(app.window(), 'R', VK_CONTROL);
    std::string address = "127.0.0.1:" + std::to_string(g.site->port()), text;
    Until(
        [&] {
            for (const PageTarget& p : PagesAt("")) {
                PageSession s(g.endpoint, p);
                if (s.connected() && Has(text = s.Eval("return document.body.innerText"), address)) return true;
            }
            return false;
        },
        15000);
    Expect(Has(text, address), "with the server stopped", "a page naming " + address, "\"" + text + "\"");
    g.site->Start();
    // Velotide tries again by itself (after 10 seconds first).
    bool back = Until([&] { return !PagesAt(g.home).empty(); }, 30000);
    Expect(back, "with the server up again", "the site back by itself", "no page of the site");
    auto page = back ? Attach(g.home) : nullptr;
    if (page) ExpectEq("the page", "Conformance home", page->Eval("return document.title"));
}

void ASiteAppRunsBesideWithItsOwnCookies(Velotide&) {  // beside the row's main window
    g.data->Write(L"Velotide\\Apps\\suite-app\\config.ini", "name=Suite App\r\nurl=" + g.home + "\r\n");
    Velotide app(g.exe);
    if (!Started(app, L"--app suite-app")) return;
    ExpectEq("the app's window", "Suite App", WindowText(app.window()));
    std::vector<PageTarget> pages;
    Until([&] { return (pages = PagesAt(g.home)).size() == 2; }, 20000);
    Expect(pages.size() == 2, "pages of the site on the one browser", "2", std::to_string(pages.size()));
    if (pages.size() != 2) return;
    PageSession first(g.endpoint, pages[0]), second(g.endpoint, pages[1]);
    first.Eval("document.cookie = 'who=first; max-age=600'; return 1");
    second.Eval("document.cookie = 'who=second; max-age=600'; return 1");
    ExpectEq("the first page's cookies", "who=first", first.Eval("return document.cookie"));
    ExpectEq("the second page's cookies", "who=second", second.Eval("return document.cookie"));
    QuitWithZero(app);
}

void AKioskCoversTheMonitorAndOpensNoWindow(Velotide& app) {
    auto page = Attach(g.home);
    if (!page) return;
    RECT r, monitor = MonitorRect(app.window());
    GetWindowRect(app.window(), &r);
    Expect(EqualRect(&r, &monitor), "the kiosk's window", "the monitor " + Describe(monitor), Describe(r));
    Counts before;
    const struct {
        const char* name;
        WORD key, mods;
        std::string script;
    } kCases[] = {
        {"Alt+F4", VK_F4, VK_MENU, ""},
        {"Ctrl+P", 'P', VK_CONTROL, ""},
        {"the page's print()", 0, 0, "setTimeout(() => print(), 0); return 1"},
        {"a file input's click", 0, 0,
         "const i = document.createElement('input'); i.type = 'file'; document.body.append(i); i.click(); return 1"},
        {"a PDF", 0, 0, Click(g.site->Origin() + "/doc.pdf")},
    };
    for (const auto& c : kCases) {
        const std::string after = std::string("after ") + c.name;
        if (c.key) {
            PressKey(app.window(), c.key, c.mods);
        } else {
            page->Eval(c.script, true);
        }
        Sleep(2000);
        Expect(app.Running(), after, "the kiosk running", "it ended");
        ExpectNoneNew(before, after);
        GetWindowRect(app.window(), &r);
        Expect(EqualRect(&r, &monitor), after, "the monitor covered", Describe(r));
        if (PagesAt(g.home).empty()) page = Attach(g.home);
        if (!page) return;
    }
}

// The addresses in the view's history, oldest first.
std::string History(PageSession& page) {
    std::string addresses;
    Json answer = page.Call("Page.getNavigationHistory");  // kept: the loop reads into it
    for (const Json& entry : At(answer, "/entries")) addresses += Text(entry, "/url").substr(0, 60) + " ";
    return addresses.empty() ? "(no history read)" : addresses;
}

void AKiosksIdleResetForgetsTheVisitor(Velotide&) {
    auto page = Attach(g.home);
    if (!page) return;
    page->Eval("document.cookie = 'visitor=1; max-age=3600'; location.href = '/next'; return 1", true);
    Until([&] { return page->Eval("return document.title") == "Next page"; });
    std::string history = History(*page);
    Expect(Has(history, "/next"), "the visitor's history", "the page visited", history);
    // Nobody touches anything for the idle minute (and a little more).
    Until([&] { return page->Eval("return document.title") == "Conformance home"; }, 90000);
    if (!(page = Attach(g.home))) return;
    ExpectEq("the page after the idle minute", "Conformance home", page->Eval("return document.title"));
    ExpectEq("the cookies after the idle minute", "", page->Eval("return document.cookie"));
    history = History(*page);
    Expect(Has(history, g.site->Origin()) && !Has(history, "/next"), "the history after the idle minute",
           "the site's page and not the visitor's", history);
}

void AKiosksPdfHasNoPrintOrSave(Velotide&) {
    // The viewer is a page of the browser's own inside the view's.
    std::string buttons;
    Until(
        [&] {
            for (const PageTarget& p : PagesAt("")) {
                PageSession s(g.endpoint, p);
                buttons = s.Eval(
                    "const v = document.querySelector('pdf-viewer'); const t = v && v.shadowRoot.querySelector("
                    "'viewer-toolbar'); if (!t) return ''; return ['#print', '#save', '#download'].filter(b => {"
                    " const e = t.shadowRoot.querySelector(b); return e && e.offsetParent; }).join(' ') || 'none'");
                if (!buttons.empty() && buttons.rfind("(error)", 0) != 0) return true;
            }
            return false;
        },
        15000);
    ExpectEq("the PDF viewer's print and save buttons", "none", buttons);
}

const struct {
    const char* name;
    const char* home;   // the page of the suite's site the view opens
    const char* kiosk;  // a kiosk's switches after its address; null for a window
    void (*run)(Velotide& app);
    const char* notHere = nullptr;  // why the row can't run on our engine, when it can't
} kRows[] = {
    {"the site loads under the program's title", "/", nullptr, TheSiteLoadsUnderTheProgramsTitle},
    {"links, scripts and redirects to another site stay on the site", "/", nullptr, OtherSitesLeaveThePageOnTheSite},
    {"window.open and target=_blank open no window", "/", nullptr, PopUpsOpenNoWindow},
    {"an ad domain's request gets 403", "/", nullptr, AdRequestsGet403WhileBlockingIsOn},
    {"page fullscreen covers the monitor; Esc and F11 bring the window back", "/", nullptr,
     PageFullscreenCoversTheMonitorAndComesBack},
    {"notifications allowed from the keyboard hold after a reload and a restart", "/", nullptr,
     AllowedNotificationsHoldAndShow},
    {"unsaved text asks Leave site?; Stay keeps it, Leave ends with 0", "/form", nullptr,
     UnsavedTextAsksBeforeLeaving},
    {"a stopped server gives the failure page; the site comes back", "/", nullptr,
     AStoppedServerShowsTheFailureAndTheSiteComesBack},
    {"a site app runs beside Velotide with its own cookies", "/", nullptr, ASiteAppRunsBesideWithItsOwnCookies},
    {"a kiosk covers the monitor and opens no window", "/", "", AKioskCoversTheMonitorAndOpensNoWindow},
    {"a kiosk's idle reset forgets cookies and history", "/", "--kiosk-idle-minutes 1",
     AKiosksIdleResetForgetsTheVisitor},
    {"a kiosk's PDF viewer has no print or save button", "/doc.pdf", "", AKiosksPdfHasNoPrintOrSave,
     "the runtime's PDF viewer and its toolbar exist only in the WebView2 Runtime"},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: velotide_conformance VELOTIDE.EXE OUTPUT_FOLDER [ROW_NAME_PART]\n");
        return 2;
    }
    g.exe = argv[1];
    g.out = argv[2];
    std::string only = argc > 3 ? Narrow(argv[3]) : "";
    SHCreateDirectoryExW(nullptr, g.out.c_str(), nullptr);
    const wchar_t kArgumentsPolicy[] = L"Software\\Policies\\Microsoft\\Edge\\WebView2\\AdditionalBrowserArguments";
    std::wstring policyValue;
    wchar_t given[64] = L"";
    if (GetEnvironmentVariableW(L"VELOTIDE_CHROMIUM_DEVTOOLS", given, 64) && *given) {
        g.endpoint = Narrow(given);
    } else {
        // The runtime opens its DevTools on this port for every program
        // started with the variable: velotide.exe inherits it from us.
        g.realRuntime = true;
        int port = 9300 + GetCurrentProcessId() % 600;
        g.endpoint = "127.0.0.1:" + std::to_string(port);
        std::wstring arguments = Widen("--remote-debugging-port=" + std::to_string(port));
        SetEnvironmentVariableW(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", arguments.c_str());
        // A runtime of version 150 or later ignores the variable in an
        // elevated program (as on hosted CI runners) and heeds the machine's
        // policy instead: set it too where the suite may, for this run only,
        // unless the machine's administrator has set one.
        std::wstring exeName = g.exe.substr(g.exe.find_last_of(L"\\/") + 1);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kArgumentsPolicy, exeName.c_str(), RRF_RT_ANY, nullptr, nullptr,
                         nullptr) == ERROR_FILE_NOT_FOUND &&
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, kArgumentsPolicy, exeName.c_str(), REG_SZ, arguments.c_str(),
                            static_cast<DWORD>((arguments.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS)
            policyValue = exeName;
    }
    Site site;
    if (!site.port()) {
        fprintf(stderr, "The suite's site could not listen on 127.0.0.1.\n");
        return 2;
    }
    g.site = &site;
    printf("Velotide's behaviour suite: %ls, DevTools at %s, the site at %s\n", g.exe.c_str(), g.endpoint.c_str(),
           site.Origin().c_str());
    int passed = 0, failed = 0, notRun = 0, number = 0;
    for (const auto& row : kRows) {
        ++number;
        if (!only.empty() && !Has(row.name, only)) continue;
        if (row.notHere && !g.realRuntime) {
            printf("NOT RUN HERE  %s: %s\n", row.name, row.notHere);
            ++notRun;
            continue;
        }
        g.failures.clear();
        g.screenshot = g.out + L"\\row-" + std::to_wstring(number) + L".bmp";
        g.earlierPages.clear();
        for (const PageTarget& p : ListPages(g.endpoint)) g.earlierPages.insert(p.id);
        g.home = site.Origin() + row.home;
        fflush(stdout);
        {
            DataFolder data(row.kiosk ? "" : "url=" + g.home + "\r\n");
            g.data = &data;
            Velotide app(g.exe);
            if (Started(app, row.kiosk ? Widen("--kiosk " + g.home + " " + row.kiosk) : L"")) row.run(app);
            // A kiosk ignores closing; it is ended by force.
            if (!row.kiosk && app.Running()) QuitWithZero(app);
        }
        if (g.failures.empty()) {
            printf("PASS  %s\n", row.name);
            ++passed;
        } else {
            printf("FAIL  %s\n", row.name);
            for (const std::string& f : g.failures) printf("      %s\n", f.c_str());
            std::string shot = g.screenshot.empty() ? "(could not be saved)" : Narrow(g.screenshot);
            printf("      screenshot: %s\n", shot.c_str());
            ++failed;
        }
        if (!site.listening()) site.Start();  // a row that failed with it stopped
    }
    if (!policyValue.empty()) RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kArgumentsPolicy, policyValue.c_str());
    printf("%d passed, %d failed, %d not run here\n", passed, failed, notRun);
    return failed ? 1 : 0;
}
