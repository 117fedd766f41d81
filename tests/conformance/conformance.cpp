// Velotide's behaviour suite: what a person sees and what a site can do, on
// the running program with whatever browser is behind its view (README.md,
// "The behaviour suite"). A failing row says what it expected and what it
// saw, and leaves a screenshot.
// Usage: velotide_conformance VELOTIDE.EXE OUTPUT_FOLDER [ROW_NAME_PART]
#include <winsock2.h>

#include <shlobj.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <set>

#include "settings/config_store.h"
#include "tests/conformance/devtools.h"
#include "tests/conformance/site.h"
#include "tests/support/app_session.h"

namespace {

struct Suite {
    std::wstring exe, out;
    std::string endpoint;
    bool realRuntime = false;
    Site* site = nullptr;
    std::vector<std::string> failures;  // the current row's
    std::wstring screenshot;            // of its first failure, as it was seen
    std::set<std::string> earlierPages;  // the browser's pages before the row: never its own
    std::string home;                   // the address the row's view opens
} g;

// A check here is a request to the browser: asked every 100 ms, not 10.
bool Until(const std::function<bool()>& check, DWORD timeoutMs = 10000) { return PumpUntil(check, timeoutMs, 100); }

std::string Title(HWND window) { return WideToUtf8(TitleOf(window)); }

// The first visible window under parent (itself included) whose text
// contains part; null when none.
HWND FindByText(HWND parent, const std::string& part) {
    if (!parent) return nullptr;
    if (IsWindowVisible(parent) && Title(parent).find(part) != std::string::npos) return parent;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HWND found = FindByText(child, part)) return found;
    return nullptr;
}

// Input as a person gives it goes to the window in front.
void Send(std::vector<INPUT> inputs, HWND window) {
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
        Until([&] { return GetForegroundWindow() == window; }, 2000);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(300);
}

// mods: VK_CONTROL, VK_MENU or 0.
void PressKey(HWND window, WORD vk, WORD mods = 0) {
    std::vector<INPUT> inputs;
    const WORD keys[] = {mods, vk, vk, mods};  // down, down, up, up
    for (int i = 0; i < 4; ++i) {
        if (!keys[i]) continue;
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = keys[i];
        in.ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    }
    Send(inputs, window);
}

// A left click in the middle of the window.
void ClickOn(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    std::vector<INPUT> inputs(2);
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send(inputs, GetAncestor(window, GA_ROOT));
}

// The whole screen as a 24-bit BMP file; false when it could not be written.
bool SaveScreen(const std::wstring& path) {
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                      nullptr, 0);
    bool saved = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
               GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
        SelectObject(memory, old);
        DWORD size = ((width * 3 + 3) & ~3) * height;
        BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + size), 0, 0,
                                 sizeof file + sizeof header};
        if (FILE* out = _wfopen(path.c_str(), L"wb")) {
            saved = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
                    fwrite(bits, size, 1, out) == 1;
            saved = fclose(out) == 0 && saved;
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

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

// What script gives on the first of the row's pages (the browser's own
// included) where wanted holds of it; else what it gave last.
std::string OnAnyPage(const std::string& script, const std::function<bool(const std::string&)>& wanted,
                      DWORD timeoutMs) {
    std::string seen;
    Until(
        [&] {
            for (const PageTarget& p : PagesAt(""))
                if (wanted(seen = PageSession(g.endpoint, p).Eval(script))) return true;
            return false;
        },
        timeoutMs);
    return seen;
}

// The view's page once it shows an address beginning with prefix, loaded and connected.
std::unique_ptr<PageSession> Attach(const std::string& prefix) {
    std::vector<PageTarget> pages;
    Until([&] { return !(pages = PagesAt(prefix)).empty(); }, 20000);
    std::string all;
    for (const PageTarget& p : ListPages(g.endpoint)) all += " " + p.url;
    Expect(!pages.empty(), "the view's page", prefix, "the browser's pages:" + all);
    if (pages.empty()) return nullptr;
    auto session = std::make_unique<PageSession>(g.endpoint, pages[0]);
    Expect(session->connected(), "the page's DevTools session", "connected", "refused");
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

bool Running(const ChildProcess& process) { return process.WaitForExit(0) == STILL_ACTIVE; }

bool Started(AppSession& app, const std::wstring& arguments = L"") {
    bool started = app.Start(true, SW_SHOWNORMAL, arguments);
    Expect(started, "velotide.exe", "its main window", Running(app.process()) ? "no window" : "it ended");
    return started;
}

// That closing the window ends the program within 15 seconds, with exit code 0.
void ExpectEndsWithZero(const ChildProcess& process, const std::string& after, HWND close = nullptr) {
    if (close) PostMessageW(close, WM_CLOSE, 0, 0);
    DWORD code = process.WaitForExit(15000);
    Expect(code == 0, after, "exit code 0",
           code == STILL_ACTIVE ? "still running" : "exit code " + std::to_string(code));
}

// The windows on the desktop and the browser's pages, counted when made.
struct Counts {
    size_t windows = 0, pages = ListPages(g.endpoint).size();
    Counts() {
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, nullptr));) windows += IsWindowVisible(w) != 0;
    }
    std::string Text() const { return std::to_string(windows) + " windows, " + std::to_string(pages) + " pages"; }
};
void ExpectNoneNew(const Counts& before, const std::string& after) {
    Counts now;
    Expect(now.windows <= before.windows && now.pages <= before.pages, after, "at most " + before.Text(), now.Text());
}

// --- The rows: each is given velotide.exe started on the row's own data
// folder, its view opening g.home; a window still open after it is closed
// and must end with 0. ---

void TheSiteLoadsUnderTheProgramsTitle(AppSession& app) {
    auto page = Attach(g.home);
    if (!page) return;
    ExpectEq("the page's title", "Conformance home", page->Eval("return document.title"));
    ExpectEq("the window's title", "Velotide", Title(app.mainWindow()));
    page->Eval("location.href = '/next'; return 'going'", true);
    Until([&] { return page->Eval("return document.title") == "Next page"; });
    ExpectEq("a page of the site, followed", "Next page", page->Eval("return document.title"));
    ExpectEq("the window's title after it", "Velotide", Title(app.mainWindow()));
}

void OtherSitesLeaveThePageOnTheSite(AppSession& app) {
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
            HWND bar = FindByText(app.mainWindow(), "localhost");
            Expect(!bar, after, "no bar", "a bar: " + (bar ? Title(bar) : ""));
        } else {
            Expect(Until([&] { return FindByText(app.mainWindow(), c.barNames) != nullptr; }, 5000), after,
                   "a bar naming " + c.barNames, "no such bar");
        }
    }
}

void PopUpsOpenNoWindow(AppSession&) {
    auto page = Attach(g.home);
    if (!page) return;
    Counts before;
    page->Eval("window.open(" + Quote(g.site->OtherOrigin() + "/pop") + "); return 'opened'", true);
    page->Eval(Click(g.site->Origin() + "/next", "_blank"), true);
    Sleep(2000);
    ExpectNoneNew(before, "after window.open and target=_blank");
    ExpectEq("the page", g.home, page->Eval("return location.href"));
}

void AdRequestsGet403WhileBlockingIsOn(AppSession&) {
    auto page = Attach(g.home);
    if (!page) return;
    page->Call("Network.enable");
    page->Eval("fetch('http://doubleclick.net/conformance-ad.js', {mode: 'no-cors'}).catch(() => {}); return 1");
    Json response = page->Read(
        [](const Json& m) {
            return Text(m, "/method") == "Network.responseReceived" &&
                   Has(Text(m, "/params/response/url"), "doubleclick.net/conformance-ad.js");
        },
        10000);
    const Json& status = At(response, "/params/response/status");
    Expect(status == 403, "the ad request", "status 403", response.is_null() ? "no answer" : status.dump());
}

void PageFullscreenCoversTheMonitorAndComesBack(AppSession& app) {
    auto page = Attach(g.home);
    if (!page) return;
    HWND w = app.mainWindow();
    RECT before, now, monitor = MonitorOf(w).rcMonitor;
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
               s.fullscreen ? "the monitor " + RectText(monitor) : "the window as it was " + RectText(before),
               RectText(now));
    }
}

void AllowedNotificationsHoldAndShow(AppSession& app) {
    const char kPermission[] = "return Notification.permission";
    auto page = Attach(g.home);
    if (!page) return;
    page->Eval("Notification.requestPermission(); return 1", true);
    bool asked = Until([&] { return FindByText(app.mainWindow(), "wants to show notifications") != nullptr; });
    Expect(asked, "the site's wish to notify", "a bar asking", "none");
    // Allow, reached with F6 and Tab and pressed with Space, as a person
    // with the keyboard does.
    PressKey(app.mainWindow(), VK_F6);
    for (int tab = 0; tab < 4; ++tab) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(app.mainWindow(), nullptr), &info);
        if (Title(info.hwndFocus) == "Allow") break;
        PressKey(app.mainWindow(), VK_TAB);
    }
    PressKey(app.mainWindow(), VK_SPACE);
    Until([&] { return page->Eval(kPermission) == "granted"; }, 5000);
    ExpectEq("after Allow", "granted", page->Eval(kPermission));
    PressKey(app.mainWindow(), 'R', VK_CONTROL);
    Sleep(1000);
    if (!(page = Attach(g.home))) return;
    ExpectEq("after a reload", "granted", page->Eval(kPermission));
    ExpectEndsWithZero(app.process(), "closing the window", app.mainWindow());
    if (!Started(app) || !(page = Attach(g.home))) return;
    ExpectEq("after a restart", "granted", page->Eval(kPermission));
    std::string shown = page->Eval(
        "return await new Promise(done => { const n = new Notification('Hello from the suite');"
        " n.onshow = () => done('shown'); n.onerror = () => done('error'); setTimeout(() => done('nothing'), 8000); })",
        false, 12000);
    ExpectEq("a notification", "shown", shown);
}

void UnsavedTextAsksBeforeLeaving(AppSession& app) {
    auto page = Attach(g.home);
    if (!page) return;
    // Typed as a person types: a click into the page, then the keys.
    const char kTyped[] = "unsaved";
    ClickOn(app.mainWindow());
    page->Eval("text.focus(); return 1");
    for (const char* c = kTyped; *c; ++c) PressKey(app.mainWindow(), static_cast<WORD>(toupper(*c)));
    ExpectEq("the text typed", kTyped, page->Eval("return text.value"));
    for (int answer : {IDCANCEL, IDOK}) {  // Stay, then Leave
        PostMessageW(app.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
        std::string shown = WideToUtf8(AnswerPrompt(app.process(), answer));
        Expect(Has(shown, "Leave site?"), "closing a page with unsaved text", "Velotide's \"Leave site?\" dialog",
               shown);
        if (answer == IDOK) break;
        Sleep(1000);
        Expect(Running(app.process()) && IsWindowVisible(app.mainWindow()), "after Stay", "the window", "it went");
        ExpectEq("the text after Stay", kTyped, page->Eval("return text.value"));
    }
    ExpectEndsWithZero(app.process(), "after Leave");
}

void AStoppedServerShowsTheFailureAndTheSiteComesBack(AppSession& app) {
    if (!Attach(g.home)) return;
    g.site->Stop();
    PressKey(app.mainWindow(), 'R', VK_CONTROL);
    std::string address = "127.0.0.1:" + std::to_string(g.site->port());
    std::string text =
        OnAnyPage("return document.body.innerText", [&](const std::string& t) { return Has(t, address); }, 15000);
    Expect(Has(text, address), "with the server stopped", "a page naming " + address, "\"" + text + "\"");
    g.site->Start();
    // Velotide tries again by itself (after 10 seconds first).
    bool back = Until([&] { return !PagesAt(g.home).empty(); }, 30000);
    Expect(back, "with the server up again", "the site back by itself", "no page of the site");
    auto page = back ? Attach(g.home) : nullptr;
    if (page) ExpectEq("the page", "Conformance home", page->Eval("return document.title"));
}

void ASiteAppRunsBesideWithItsOwnCookies(AppSession& main) {
    std::wstring folder = main.dataDir() + L"\\Apps\\suite-app";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    WriteFileBytes(folder + L"\\config.ini", "name=Suite App\r\nurl=" + g.home + "\r\n");
    ChildProcess app(g.exe, L"", nullptr, SW_SHOWNORMAL, L"--app suite-app");
    HWND window = app.WaitForWindow(L"VelotideMain.App.suite-app", 30000);
    ExpectEq("the app's window", "Suite App", Title(window));
    std::vector<PageTarget> pages;
    Until([&] { return (pages = PagesAt(g.home)).size() == 2; }, 20000);
    Expect(pages.size() == 2, "pages of the site on the one browser", "2", std::to_string(pages.size()));
    if (pages.size() != 2) return;
    PageSession first(g.endpoint, pages[0]), second(g.endpoint, pages[1]);
    first.Eval("document.cookie = 'who=first; max-age=600'; return 1");
    second.Eval("document.cookie = 'who=second; max-age=600'; return 1");
    ExpectEq("the first page's cookies", "who=first", first.Eval("return document.cookie"));
    ExpectEq("the second page's cookies", "who=second", second.Eval("return document.cookie"));
    ExpectEndsWithZero(app, "closing the app's window", window);
}

void AKioskCoversTheMonitorAndOpensNoWindow(AppSession& app) {
    auto page = Attach(g.home);
    if (!page) return;
    HWND w = app.mainWindow();
    RECT r, monitor = MonitorOf(w).rcMonitor;
    GetWindowRect(w, &r);
    Expect(EqualRect(&r, &monitor), "the kiosk's window", "the monitor " + RectText(monitor), RectText(r));
    Counts before;
    const struct {
        const char* name;
        WORD key, mods;  // or the page's script
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
            PressKey(w, c.key, c.mods);
        } else {
            page->Eval(c.script, true);
        }
        Sleep(2000);
        Expect(Running(app.process()), after, "the kiosk running", "it ended");
        ExpectNoneNew(before, after);
        GetWindowRect(w, &r);
        Expect(EqualRect(&r, &monitor), after, "the monitor covered", RectText(r));
        if (PagesAt(g.home).empty()) page = Attach(g.home);
        if (!page) return;
    }
}

void AKiosksIdleResetForgetsTheVisitor(AppSession&) {
    auto page = Attach(g.home);
    if (!page) return;
    auto history = [&] {  // the addresses in the view's history, oldest first
        std::string addresses;
        Json answer = page->Call("Page.getNavigationHistory");
        for (const Json& entry : At(answer, "/entries")) addresses += Text(entry, "/url").substr(0, 60) + " ";
        return addresses.empty() ? "(no history read)" : addresses;
    };
    page->Eval("document.cookie = 'visitor=1; max-age=3600'; location.href = '/next'; return 1", true);
    Until([&] { return page->Eval("return document.title") == "Next page"; });
    std::string visited = history();
    Expect(Has(visited, "/next"), "the visitor's history", "the page visited", visited);
    // Nobody touches anything for the idle minute (and a little more).
    Until([&] { return page->Eval("return document.title") == "Conformance home"; }, 90000);
    if (!(page = Attach(g.home))) return;
    ExpectEq("the page after the idle minute", "Conformance home", page->Eval("return document.title"));
    ExpectEq("the cookies after the idle minute", "", page->Eval("return document.cookie"));
    visited = history();
    Expect(Has(visited, g.site->Origin()) && !Has(visited, "/next"), "the history after the idle minute",
           "the site's page and not the visitor's", visited);
}

void AKiosksPdfHasNoPrintOrSave(AppSession&) {
    // The viewer is a page of the browser's own inside the view's.
    std::string buttons = OnAnyPage(
        "const v = document.querySelector('pdf-viewer'); const t = v && v.shadowRoot.querySelector("
        "'viewer-toolbar'); if (!t) return ''; return ['#print', '#save', '#download'].filter(b => {"
        " const e = t.shadowRoot.querySelector(b); return e && e.offsetParent; }).join(' ') || 'none'",
        [](const std::string& seen) { return !seen.empty() && seen.rfind("(error)", 0) != 0; }, 15000);
    ExpectEq("the PDF viewer's print and save buttons", "none", buttons);
}

const struct {
    const char* name;
    const char* home;   // the page of the suite's site the view opens
    const char* kiosk;  // a kiosk's switches after its address; null for a window
    void (*run)(AppSession& app);
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
    std::string only = argc > 3 ? WideToUtf8(argv[3]) : "";
    SHCreateDirectoryExW(nullptr, g.out.c_str(), nullptr);
    const wchar_t kArgumentsPolicy[] = L"Software\\Policies\\Microsoft\\Edge\\WebView2\\AdditionalBrowserArguments";
    std::wstring policyValue;
    wchar_t given[64] = L"";
    if (GetEnvironmentVariableW(L"VELOTIDE_CHROMIUM_DEVTOOLS", given, 64) && *given) {
        g.endpoint = WideToUtf8(given);
    } else {
        // The runtime opens its DevTools on this port for every program
        // started with the variable: velotide.exe inherits it from us.
        g.realRuntime = true;
        int port = 9300 + GetCurrentProcessId() % 600;
        g.endpoint = "127.0.0.1:" + std::to_string(port);
        std::wstring arguments = Utf8ToWide("--remote-debugging-port=" + std::to_string(port));
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
            AppSession app("url=" + g.home + "\r\n", Engine::kNone);
            app.RunInstead(g.exe, L"");
            if (Started(app, row.kiosk ? Utf8ToWide("--kiosk " + g.home + " " + row.kiosk) : L"")) row.run(app);
            // A kiosk ignores closing; it is ended by force.
            if (!row.kiosk && Running(app.process()))
                ExpectEndsWithZero(app.process(), "closing the window", app.mainWindow());
        }
        if (g.failures.empty()) {
            printf("PASS  %s\n", row.name);
            ++passed;
        } else {
            printf("FAIL  %s\n", row.name);
            for (const std::string& f : g.failures) printf("      %s\n", f.c_str());
            std::string shot = g.screenshot.empty() ? "(could not be saved)" : WideToUtf8(g.screenshot);
            printf("      screenshot: %s\n", shot.c_str());
            ++failed;
        }
        if (!site.listening()) site.Start();  // a row that failed with it stopped
    }
    if (!policyValue.empty()) RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kArgumentsPolicy, policyValue.c_str());
    printf("%d passed, %d failed, %d not run here\n", passed, failed, notRun);
    return failed ? 1 : 0;
}
