// The site address prompt, driven in-process: a thread timer fires inside the
// prompt's own loop, finds the prompt and acts on it as a user would.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/dpi.h"
#include "app/prompt.h"
#include "settings/config_store.h"
#include "tests/support/fake_engine.h"
#include "tests/support/test_main_window.h"
#include "tests/support/test_support.h"
#include "webview/process_recovery.h"
#include "webview/startup.h"

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

// A top-level window of this thread with the given class (not desktop-wide:
// other test processes may show their own prompts meanwhile).
HWND ThreadWindow(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found;
    } search = {className, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (lstrcmpiW(ClassOf(window).c_str(), s->className) != 0 || !IsWindowVisible(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// Runs act once on the first thread window of className that appears while a
// nested loop (the prompt's or a message box's) dispatches this thread's timers.
class WindowWatch {
public:
    WindowWatch(const wchar_t* className, std::function<void(HWND)> act) : className_(className), act_(std::move(act)) {
        timer_ = SetTimer(nullptr, 0, 10, Tick);
        watches()[timer_] = this;
    }
    ~WindowWatch() {
        KillTimer(nullptr, timer_);
        watches().erase(timer_);
    }
    bool fired() const { return fired_; }

private:
    static std::map<UINT_PTR, WindowWatch*>& watches() {
        static std::map<UINT_PTR, WindowWatch*> all;
        return all;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        auto found = watches().find(timer);
        if (found == watches().end() || found->second->fired_) return;
        WindowWatch* self = found->second;
        HWND window = ThreadWindow(self->className_);
        if (!window) return;
        self->fired_ = true;
        self->act_(window);
    }

    const wchar_t* className_;
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
    bool fired_ = false;
};

// Runs PromptForSiteAddress with act applied to the open prompt. A prompt that
// is still open after five seconds is closed, so a broken loop fails the test
// instead of hanging it.
bool RunPrompt(std::function<void(HWND prompt)> act) {
    WindowWatch watch(L"VelotidePrompt", std::move(act));
    static bool gaveUp;
    gaveUp = false;
    UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
        gaveUp = true;
        if (HWND prompt = ThreadWindow(L"VelotidePrompt")) SendMessageW(prompt, WM_CLOSE, 0, 0);
    });
    PromptForSiteAddress();
    KillTimer(nullptr, guard);
    EXPECT_TRUE(watch.fired()) << "the prompt never appeared";
    EXPECT_FALSE(gaveUp) << "the prompt did not finish by itself";
    return watch.fired() && !gaveUp;
}

HWND Edit(HWND prompt) { return Children(prompt).at(1); }

void Type(HWND prompt, const std::wstring& text) { SetWindowTextW(Edit(prompt), text.c_str()); }

void PostKey(HWND window, UINT key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

const wchar_t kOldSite[] = L"https://old.example/start";

class PromptTest : public ::testing::Test {
protected:
    void SetUp() override {
        HWND main = TestMainWindow();
        SetWindowPos(main, nullptr, 100, 100, 1360, 860, SWP_NOZORDER | SWP_NOACTIVATE);
        g_app.dataDir = scratch.path();
        g_app.siteUrl = kOldSite;
        g_app.homeOrigin = L"https://old.example";
        g_app.webview = nullptr;
        WriteFileBytes(ConfigPath(), "url=https://old.example/start\r\nblockAds=1\r\n");
    }
    void TearDown() override {
        g_app.webview = nullptr;
        g_app.mainWindow = TestMainWindow();
        EXPECT_TRUE(IsWindowEnabled(g_app.mainWindow)) << "the main window was left disabled";
        EXPECT_EQ(ThreadWindow(L"VelotidePrompt"), nullptr) << "the prompt was left open";
    }
    std::wstring ConfigPath() const { return scratch / L"config.ini"; }

    ScratchDir scratch;
};

TEST_F(PromptTest, FinishesOnlyThroughItsOwnWays) {
    const HWND main = TestMainWindow();
    struct Case {
        const char* name;
        std::function<void(HWND prompt)> finish;
        bool accepted;
    };
    auto button = [](HWND prompt, int id) { return GetDlgItem(prompt, id); };
    // Tab moves the focus only through the dialog-message handling; Space then
    // goes to whatever holds the focus on a later tick.
    std::unique_ptr<WindowWatch> then;
    auto TabThenSpace = [&](HWND prompt, int tabs) {
        for (int i = 0; i < tabs; ++i) PostKey(Edit(prompt), VK_TAB);
        then = std::make_unique<WindowWatch>(L"VelotidePrompt", [](HWND) { PostKey(GetFocus(), VK_SPACE); });
    };
    const Case cases[] = {
        {"Enter in the edit field", [](HWND) { PostKey(GetFocus(), VK_RETURN); }, true},
        {"Enter with the focus on Cancel",
         [&](HWND p) {
             SetFocus(button(p, IDCANCEL));
             PostKey(button(p, IDCANCEL), VK_RETURN);
         },
         true},
        {"Enter sent to the main window", [&](HWND) { PostKey(main, VK_RETURN); }, true},
        {"Escape in the edit field", [](HWND) { PostKey(GetFocus(), VK_ESCAPE); }, false},
        {"Escape with the focus on Save",
         [&](HWND p) {
             SetFocus(button(p, IDOK));
             PostKey(button(p, IDOK), VK_ESCAPE);
         },
         false},
        {"Space on Save",
         [&](HWND p) {
             SetFocus(button(p, IDOK));
             PostKey(button(p, IDOK), VK_SPACE);
         },
         true},
        {"Space on Cancel",
         [&](HWND p) {
             SetFocus(button(p, IDCANCEL));
             PostKey(button(p, IDCANCEL), VK_SPACE);
         },
         false},
        {"Tab to Save, then Space", [&](HWND p) { TabThenSpace(p, 1); }, true},
        {"Tab twice to Cancel, then Space", [&](HWND p) { TabThenSpace(p, 2); }, false},
        {"close message", [](HWND p) { PostMessageW(p, WM_CLOSE, 0, 0); }, false},
        {"window menu Close", [](HWND p) { PostMessageW(p, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        then.reset();
        g_app.siteUrl = kOldSite;
        bool mainDisabled = false;
        if (!RunPrompt([&](HWND prompt) {
                mainDisabled = !IsWindowEnabled(main);
                Type(prompt, L"https://new.example/");
                c.finish(prompt);
            }))
            continue;
        EXPECT_TRUE(mainDisabled);
        EXPECT_EQ(g_app.siteUrl, c.accepted ? L"https://new.example/" : kOldSite);
        EXPECT_TRUE(IsWindowEnabled(main));
        EXPECT_EQ(ThreadWindow(L"VelotidePrompt"), nullptr);
    }
}

// The label as the control draws it, in its own font, on one line.
SIZE TextExtent(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, TextOf(control).c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

LOGFONTW FontOf(HFONT font) {
    LOGFONTW face = {};
    GetObjectW(font, sizeof face, &face);
    return face;
}

// The system's metrics, its message font among them, for dpi.
NONCLIENTMETRICSW MetricsForDpi(UINT dpi) {
    auto parametersForDpi = reinterpret_cast<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    EXPECT_TRUE(parametersForDpi && parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi));
    return metrics;
}

// Every size is the 96-DPI one scaled to the prompt's DPI (the test runs at
// 96, 144 and 192 DPI, each in a Wine prefix of its own), in the system's
// message font for that DPI, and every label fits its control.
TEST_F(PromptTest, ShowsItsWindowAndFiveControlsScaledToItsDpi) {
    struct Control {
        std::wstring className, text;
        DWORD exStyle, style;
        RECT rect;
        int id;
        LOGFONTW font;
        SIZE textExtent;
    };
    std::vector<Control> controls;
    std::wstring title, className;
    RECT frame = {};
    HWND owner = nullptr, focus = nullptr, edit = nullptr;
    DWORD style = 0, exStyle = 0;
    LRESULT selection = 0;
    UINT dpi = 0;
    ASSERT_TRUE(RunPrompt([&](HWND prompt) {
        dpi = WindowDpi(prompt);
        className = ClassOf(prompt);
        title = TextOf(prompt);
        style = GetWindowLongW(prompt, GWL_STYLE);
        exStyle = GetWindowLongW(prompt, GWL_EXSTYLE);
        GetWindowRect(prompt, &frame);
        owner = GetWindow(prompt, GW_OWNER);
        focus = GetFocus();
        edit = Edit(prompt);
        selection = SendMessageW(edit, EM_GETSEL, 0, 0);
        for (HWND child : Children(prompt)) {
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, prompt, reinterpret_cast<POINT*>(&r), 2);
            controls.push_back({ClassOf(child), TextOf(child), static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE)),
                                static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)), r, GetDlgCtrlID(child),
                                FontOf(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0))),
                                TextExtent(child)});
        }
        PostKey(prompt, VK_ESCAPE);
    }));

    EXPECT_EQ(dpi, ExpectedDpi());
    auto scaled = [&](int size) { return MulDiv(size, dpi, 96); };
    EXPECT_EQ(className, L"VelotidePrompt");
    EXPECT_EQ(title, L"Velotide \u2013 site address");
    EXPECT_EQ(style & 0x10CF0000u, 0x10C80000u) << std::hex << style;  // no resizing frame, no min/max box
    EXPECT_EQ(exStyle & 0x9u, 0x9u) << std::hex << exStyle;
    EXPECT_EQ(frame.right - frame.left, scaled(560));
    EXPECT_EQ(frame.bottom - frame.top, scaled(210));
    EXPECT_EQ(owner, g_app.mainWindow);
    EXPECT_EQ(focus, edit);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(static_cast<size_t>(HIWORD(selection)), wcslen(kOldSite));

    const NONCLIENTMETRICSW metrics = MetricsForDpi(dpi);
    const Control expected[] = {
        {L"STATIC", L"Enter the address of your Velotide site (for example your Zeabur URL):", 0, 0x50000000,
         {16, 14, 536, 34}, 0, {}, {}},
        {L"EDIT", kOldSite, 0x200, 0x50010080, {16, 42, 536, 68}, 0, {}, {}},
        {L"STATIC", L"Example: https://my-site.zeabur.app", 0, 0x50000000, {16, 76, 536, 96}, 0, {}, {}},
        {L"BUTTON", L"Save && open", 0, 0x50010001, {322, 120, 442, 150}, IDOK, {}, {}},
        {L"BUTTON", L"Cancel", 0, 0x50010000, {452, 120, 536, 150}, IDCANCEL, {}, {}},
    };
    ASSERT_EQ(controls.size(), std::size(expected));
    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const Control &got = controls[i], &want = expected[i];
        EXPECT_EQ(lstrcmpiW(got.className.c_str(), want.className.c_str()), 0) << got.className;
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.style, want.style) << std::hex << got.style;
        RECT rect = {scaled(want.rect.left), scaled(want.rect.top), scaled(want.rect.right), scaled(want.rect.bottom)};
        EXPECT_TRUE(EqualRect(&got.rect, &rect))
            << got.rect.left << "," << got.rect.top << " " << got.rect.right << "," << got.rect.bottom;
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.font.lfHeight, metrics.lfMessageFont.lfHeight);
        EXPECT_STREQ(got.font.lfFaceName, metrics.lfMessageFont.lfFaceName);
        if (got.id || want.className == std::wstring(L"STATIC")) {  // a label: it fits, with room for a button's edges
            int edges = got.id ? scaled(8) : 0;
            EXPECT_LE(got.textExtent.cx + edges, got.rect.right - got.rect.left) << "label too wide";
            EXPECT_LE(got.textExtent.cy, got.rect.bottom - got.rect.top) << "label too tall";
        }
    }
}

// A page's message (an alert, say) takes the lines it needs at the prompt's
// DPI, wrapped to its width, and the buttons stay under it inside the
// window; a message past some sixteen lines is cut rather than growing the
// window off the screen.
TEST_F(PromptTest, AMessageOfManyLinesFitsAboveItsButtonAtItsDpi) {
    struct Case {
        int lines;
        bool whole;  // every line shows
    } cases[] = {{1, true}, {7, true}, {300, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        std::wstring message = L"The first line of the message.";
        for (int i = 1; i < c.lines; ++i) message += L"\nline " + std::to_wstring(i);
        RECT label = {}, button = {}, client = {}, needed = {0, 0, 0, 0};
        WindowWatch watch(L"VelotidePrompt", [&](HWND prompt) {
            HWND text = Children(prompt).at(0);
            GetWindowRect(text, &label);
            MapWindowPoints(nullptr, prompt, reinterpret_cast<POINT*>(&label), 2);
            GetWindowRect(GetDlgItem(prompt, IDOK), &button);
            MapWindowPoints(nullptr, prompt, reinterpret_cast<POINT*>(&button), 2);
            GetClientRect(prompt, &client);
            needed.right = label.right - label.left;
            HDC dc = GetDC(text);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
            DrawTextW(dc, message.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK);
            SelectObject(dc, old);
            ReleaseDC(text, dc);
            PostKey(prompt, VK_RETURN);
        });
        EXPECT_TRUE(AskForAnswer({L"host.example", message.c_str(), L"", L"OK", nullptr}));
        ASSERT_TRUE(watch.fired());
        EXPECT_EQ(needed.bottom <= label.bottom - label.top, c.whole) << needed.bottom;
        EXPECT_GE(button.top, label.bottom);
        EXPECT_LE(button.bottom, client.bottom);
        EXPECT_LE(client.bottom, MulDiv(500, ExpectedDpi(), 96));
    }
}

// Moved to a monitor of another scale (the message sent by hand): the prompt
// takes the suggested rectangle and lays out its controls and font again.
TEST_F(PromptTest, LaysItselfOutAgainOnADpiChange) {
    const UINT dpi = ExpectedDpi() == 192 ? 96 : 192;
    const RECT suggested = {50, 60, 50 + MulDiv(560, dpi, 96), 60 + MulDiv(210, dpi, 96)};
    RECT frame = {}, cancel = {};
    LOGFONTW font = {};
    ASSERT_TRUE(RunPrompt([&](HWND prompt) {
        SendMessageW(prompt, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(prompt, &frame);
        HWND button = GetDlgItem(prompt, IDCANCEL);
        GetWindowRect(button, &cancel);
        MapWindowPoints(nullptr, prompt, reinterpret_cast<POINT*>(&cancel), 2);
        font = FontOf(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
        PostKey(prompt, VK_ESCAPE);
    }));
    EXPECT_TRUE(EqualRect(&frame, &suggested));
    const RECT expected = {MulDiv(452, dpi, 96), MulDiv(120, dpi, 96), MulDiv(536, dpi, 96), MulDiv(150, dpi, 96)};
    EXPECT_TRUE(EqualRect(&cancel, &expected)) << cancel.left << "," << cancel.top << " " << cancel.right << ","
                                               << cancel.bottom;
    EXPECT_EQ(font.lfHeight, MetricsForDpi(dpi).lfMessageFont.lfHeight);
}

// A box raised while the prompt is open (here: the engine can't be started
// again) belongs to the prompt, which stays on top: never hidden under it.
TEST_F(PromptTest, BoxesRaisedWhileItIsOpenBelongToIt) {
    HWND prompt = nullptr, owner = nullptr;
    WindowWatch box(L"#32770", [&](HWND found) {
        owner = GetWindow(found, GW_OWNER);
        PostMessageW(found, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(RunPrompt([&](HWND p) {
        prompt = p;
        g_app.engineRestarted = true;  // a second loss: the start-up failure's box, then quit 1
        RestartWebView();
    }));
    g_app.engineRestarted = false;
    PumpUntil([] { return false; }, 100);  // the failure's quit, posted again by the prompt, goes
    EXPECT_TRUE(box.fired());
    EXPECT_EQ(owner, prompt);
}

TEST_F(PromptTest, CentresOverTheMainWindow) {
    struct Case {
        RECT main;
        POINT corner;
    };
    const Case cases[] = {
        {{100, 100, 1460, 960}, {500, 425}},
        {{-301, 7, 500, 528}, {-181, 162}},  // odd sizes: the half is rounded toward zero
    };
    for (const Case& c : cases) {
        SetWindowPos(g_app.mainWindow, nullptr, c.main.left, c.main.top, c.main.right - c.main.left,
                     c.main.bottom - c.main.top, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT frame = {};
        ASSERT_TRUE(RunPrompt([&](HWND prompt) {
            GetWindowRect(prompt, &frame);
            PostKey(prompt, VK_ESCAPE);
        }));
        EXPECT_EQ(frame.left, c.corner.x);
        EXPECT_EQ(frame.top, c.corner.y);
    }
}

TEST_F(PromptTest, WithoutMainWindowHasNoOwner) {
    HWND owner = TestMainWindow();  // must be overwritten with the prompt's real owner
    g_app.mainWindow = nullptr;
    ASSERT_TRUE(RunPrompt([&](HWND prompt) {
        owner = GetWindow(prompt, GW_OWNER);
        Type(prompt, L"solo.example");
        PostKey(prompt, VK_RETURN);
    }));
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(g_app.siteUrl, L"https://solo.example");
}

TEST_F(PromptTest, AcceptedAddressIsStoredSavedAndOpened) {
    struct Case {
        const wchar_t* typed;
        bool withView;
        const wchar_t* site;
        const wchar_t* origin;
    };
    const Case cases[] = {
        {L" Host ", false, L"https://Host", L"https://host"},
        {L" Host ", true, L"https://Host", L"https://host"},
        {L"http://Sub.Example:8080/a?b#c", true, L"http://Sub.Example:8080/a?b#c", L"http://sub.example:8080"},
        {kOldSite, true, kOldSite, L"https://old.example"},  // unchanged: saved and opened all the same
        // Kept, saved and opened as typed; compared as the engine writes it.
        {L"me@B\u00fccher.Example:443", true, L"https://me@B\u00fccher.Example:443", L"https://xn--bcher-kva.example"},
        {L"0x7F.1:8080", true, L"https://0x7F.1:8080", L"https://127.0.0.1:8080"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.withView ? "view " : "no view ") << c.site);
        DeleteFileW(ConfigPath().c_str());
        g_app.siteUrl = kOldSite;
        FakeView view;
        g_app.webview = c.withView ? &view : nullptr;
        ASSERT_TRUE(RunPrompt([&](HWND prompt) {
            Type(prompt, c.typed);
            PostKey(prompt, VK_RETURN);
        }));
        g_app.webview = nullptr;
        EXPECT_EQ(g_app.siteUrl, c.site);
        EXPECT_EQ(g_app.homeOrigin, c.origin);
        std::string saved = ReadFileBytes(ConfigPath());
        EXPECT_NE(saved.find("url=" + WideToUtf8(c.site) + "\r\n"), std::string::npos) << saved;
        if (c.withView) {
            EXPECT_EQ(view.calls, std::vector<std::wstring>{L"Navigate " + std::wstring(c.site)});
        }
    }
}

TEST_F(PromptTest, LongEntryIsCutBeforeValidation) {
    std::wstring typed = L"https://long.example/" + std::wstring(3000, L'x');
    ASSERT_TRUE(RunPrompt([&](HWND prompt) {
        Type(prompt, typed);
        PostKey(prompt, VK_RETURN);
    }));
    EXPECT_EQ(g_app.siteUrl, typed.substr(0, 2047));
}

TEST_F(PromptTest, InvalidEntryWarnsAndChangesNothing) {
    const std::string before = ReadFileBytes(ConfigPath());
    for (const wchar_t* typed : {L"ftp://files.example", L"   ", L"", L"https://", L"\u2488.example", L"192.168.0.300"}) {
        SCOPED_TRACE(testing::Message() << "typed '" << WideToUtf8(typed) << "'");
        struct Box {
            std::wstring caption;
            std::vector<std::wstring> texts;
            std::vector<int> buttons;
            HICON icon = nullptr;
            HWND owner = nullptr;
        } box;
        WindowWatch boxWatch(L"#32770", [&](HWND found) {
            box.caption = TextOf(found);
            box.owner = GetWindow(found, GW_OWNER);
            for (HWND child : Children(found)) {
                if (lstrcmpiW(ClassOf(child).c_str(), L"Button") == 0) box.buttons.push_back(GetDlgCtrlID(child));
                if (lstrcmpiW(ClassOf(child).c_str(), L"Static") != 0) continue;
                if (HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0))) box.icon = icon;
                if (!TextOf(child).empty()) box.texts.push_back(TextOf(child));
            }
            PostMessageW(found, WM_COMMAND, IDOK, 0);
        });
        FakeView view;
        g_app.webview = &view;
        ASSERT_TRUE(RunPrompt([&](HWND prompt) {
            Type(prompt, typed);
            PostKey(prompt, VK_RETURN);
        }));
        g_app.webview = nullptr;

        ASSERT_TRUE(boxWatch.fired()) << "no warning was shown";
        EXPECT_EQ(box.caption, L"Velotide");
        EXPECT_EQ(box.texts, std::vector<std::wstring>{L"That does not look like a valid web address."});
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_WARNING));
        EXPECT_EQ(box.owner, g_app.mainWindow);

        EXPECT_EQ(g_app.siteUrl, kOldSite);
        EXPECT_EQ(g_app.homeOrigin, L"https://old.example");
        EXPECT_EQ(ReadFileBytes(ConfigPath()), before);
        EXPECT_TRUE(view.calls.empty());
    }
    // Asked again, the prompt offers the address that is still configured.
    std::wstring offered;
    ASSERT_TRUE(RunPrompt([&](HWND prompt) {
        offered = TextOf(Edit(prompt));
        PostKey(prompt, VK_ESCAPE);
    }));
    EXPECT_EQ(offered, kOldSite);
}

// Records, as the prompt window is destroyed, whether its owner was already
// enabled again (so activation can pass back to it).
TEST_F(PromptTest, OwnerIsEnabledBeforeThePromptGoes) {
    static int destroyed;
    static bool ownerEnabled;
    destroyed = 0;
    ownerEnabled = false;
    HHOOK hook = SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HCBT_DESTROYWND && ClassOf(reinterpret_cast<HWND>(wParam)) == L"VelotidePrompt") {
                ++destroyed;
                ownerEnabled = IsWindowEnabled(g_app.mainWindow);
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    bool ran = RunPrompt([](HWND prompt) { PostKey(prompt, VK_ESCAPE); });
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(ran);
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(ownerEnabled);
}

TEST_F(PromptTest, QuitDuringThePromptCancelsAndIsPostedAgain) {
    ASSERT_TRUE(RunPrompt([](HWND prompt) {
        Type(prompt, L"https://new.example/");
        PostQuitMessage(42);
    }));
    EXPECT_EQ(g_app.siteUrl, kOldSite);
    MSG msg = {};
    bool quit = false;
    for (int i = 0; i < 1000 && !quit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        quit = msg.message == WM_QUIT;
        if (!quit) DispatchMessageW(&msg);
    }
    ASSERT_TRUE(quit) << "the quit was swallowed";
    EXPECT_EQ(msg.wParam, 42u);
}

TEST_F(PromptTest, CancelsAtOnceWhenItsWindowCannotBeMade) {
    HHOOK hook = SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HCBT_CREATEWND && ClassOf(reinterpret_cast<HWND>(wParam)) == L"VelotidePrompt") return 1;
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    // A prompt loop waiting for a window that never came would only end here.
    static bool waited;
    waited = false;
    UINT_PTR guard = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) {
        waited = true;
        PostQuitMessage(7);
    });
    PromptForSiteAddress();
    KillTimer(nullptr, guard);
    UnhookWindowsHookEx(hook);
    if (waited) PumpUntil([] { return false; }, 100);  // drop the guard's quit again
    EXPECT_FALSE(waited);
    EXPECT_EQ(g_app.siteUrl, kOldSite);
    EXPECT_TRUE(IsWindowEnabled(g_app.mainWindow));
}

}  // namespace
