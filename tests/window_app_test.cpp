// The main window as a person meets it on the running program: its size at
// the screen's DPI, where it opens, and closing it with the page asked first.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/support/app_session.h"

namespace {

const char kSite[] = "url=https://host.test/\r\nblockAds=1\r\n";

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The real program at the prefix's DPI (96 here, 144 and 192 in prefixes of
// their own): 1360x860 scaled, inside the work area.
TEST(WindowAppTest, OpensAtTheSizeForItsDpi) {
    AppSession app(kSite);
    ASSERT_TRUE(app.Start());
    RECT rect = WindowRect(app.mainWindow()), work = MonitorOf(app.mainWindow()).rcWork;
    UINT dpi = ExpectedDpi();
    EXPECT_EQ(rect.right - rect.left, MulDiv(1360, dpi, 96));
    EXPECT_EQ(rect.bottom - rect.top, MulDiv(860, dpi, 96));
    RECT inside;
    IntersectRect(&inside, &rect, &work);
    EXPECT_TRUE(EqualRect(&inside, &rect)) << RectText(rect);
    EXPECT_EQ(app.Quit(), 0u);
}

// The "window=" line: used at start when it is still on a monitor, written
// at quit with the normal rectangle and the maximised state, never fullscreen.
TEST(WindowAppTest, OpensWhereItWasLeft) {
    enum Action { kNothing, kMaximise, kFullscreen, kMaximiseThenFullscreen };
    struct Case {
        const char* name;
        const char* line;       // the stored place, "" for none
        bool usedAtStart;       // the window opens at 120,90,1000,700
        bool maximisedAtStart;
        Action action;
        const char* saved;      // "" for the default place the window opened at
    } cases[] = {
        {"none stored", "", false, false, kNothing, ""},
        {"round trip", "window=120,90,1000,700,0", true, false, kNothing, "120,90,1000,700,0"},
        {"maximised kept", "window=120,90,1000,700,1", true, true, kNothing, "120,90,1000,700,1"},
        {"maximised at quit", "window=120,90,1000,700,0", true, false, kMaximise, "120,90,1000,700,1"},
        {"fullscreen not stored", "window=120,90,1000,700,0", true, false, kFullscreen, "120,90,1000,700,0"},
        {"fullscreen from maximised", "window=120,90,1000,700,0", true, false, kMaximiseThenFullscreen,
         "120,90,1000,700,1"},
        {"off screen", "window=9000,9000,9900,9600,0", false, false, kNothing, ""},
        {"above the screen", "window=100,-2000,1000,-1400,0", false, false, kNothing, ""},
        {"larger than any window", "window=-100000,90,100000,700,0", false, false, kNothing, ""},
        {"not a place", "window=120,90,1000", false, false, kNothing, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppSession app(std::string(kSite) + (*c.line ? std::string(c.line) + "\r\n" : ""));
        ASSERT_TRUE(app.Start());
        HWND window = app.mainWindow();
        RECT opened = WindowRect(window);
        EXPECT_EQ(IsZoomed(window) != FALSE, c.maximisedAtStart);
        if (c.usedAtStart && !c.maximisedAtStart) {
            EXPECT_EQ(RectText(opened), "120,90,1000,700");
        }
        if (!c.usedAtStart) {
            EXPECT_EQ(opened.right - opened.left, MulDiv(1360, ExpectedDpi(), 96));
            EXPECT_EQ(opened.bottom - opened.top, MulDiv(860, ExpectedDpi(), 96));
        }
        if (c.action == kMaximise || c.action == kMaximiseThenFullscreen) {
            ShowWindow(window, SW_MAXIMIZE);
            EXPECT_TRUE(PumpUntil([&] { return IsZoomed(window) != FALSE; }));
        }
        if (c.action == kFullscreen || c.action == kMaximiseThenFullscreen) {
            app.Command(ID_VIEW_FULLSCREEN);
            EXPECT_TRUE(PumpUntil([&] { return GetMenu(window) == nullptr; }));
        }
        EXPECT_EQ(app.Quit(), 0u);
        std::string saved = *c.saved ? c.saved : RectText(opened) + ",0";
        EXPECT_EQ(ReadFileBytes(app.dataDir() + L"\\config.ini"), std::string(kSite) + "window=" + saved + "\r\n");
    }
}

// Quit and the close box let the page's beforeunload run: with a handler the
// person is asked "Leave site?" in the program's own window (or, where the
// runtime keeps the page's dialogs to itself, in its box), and staying keeps
// the window and the page whether the runtime then reports the close's
// navigation as cancelled or says nothing at all.
TEST(WindowAppTest, ClosingAsksThePageFirst) {
    enum Close { kQuit, kCloseBox };
    enum Asker { kNobody, kProgram, kRuntimeBox };
    struct Case {
        const char* name;
        Asker asker;         // who asks; kNobody: the page has no handler
        const wchar_t* stay;  // how the runtime reports staying: "" cancelled, "silent" not at all
        Close close;
        int answer;
        bool closes;
    } cases[] = {
        {"no handler: closes", kNobody, L"", kQuit, 0, true},
        {"leave", kProgram, L"", kQuit, IDOK, true},
        {"stay, reported cancelled", kProgram, L"", kQuit, IDCANCEL, false},
        {"stay, nothing reported", kProgram, L"silent", kQuit, IDCANCEL, false},
        {"close box, stay, nothing reported", kProgram, L"silent", kCloseBox, IDCANCEL, false},
        {"close box, leave, nothing reported", kProgram, L"silent", kCloseBox, IDOK, true},
        {"runtime's box, leave", kRuntimeBox, L"", kQuit, IDOK, true},
        {"runtime's box, stay, reported cancelled", kRuntimeBox, L"", kCloseBox, IDCANCEL, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppSession app(kSite, Engine::kTest,
                       {{L"VELOTIDE_TEST_ENGINE_STAY", c.stay},
                        {L"VELOTIDE_TEST_ENGINE_DIALOGS", c.asker == kRuntimeBox ? L"runtime" : L""}});
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
        if (c.asker != kNobody) {
            ASSERT_TRUE(app.Page(L"beforeunload on"));
        }
        if (c.close == kQuit) {
            app.Command(ID_SITE_QUIT);
        } else {
            PostMessageW(app.mainWindow(), WM_CLOSE, 0, 0);
        }
        if (c.asker == kProgram) {
            EXPECT_EQ(AnswerPrompt(app.process(), c.answer),
                      L"host.test|Leave site?|Changes you made may not be saved.|Leave|Cancel");
        } else if (c.asker == kRuntimeBox) {
            EXPECT_EQ(DismissMessageBox(app.process(), c.answer), L"Changes you made may not be saved.");
        }
        EXPECT_EQ(app.process().WaitForExit(c.closes ? 10000 : 1000), c.closes ? 0u : STILL_ACTIVE);
        if (c.closes) continue;
        EXPECT_EQ(app.LastLog("dialog answered"), "dialog answered stay");
        EXPECT_EQ(app.CountLog("navigation started"), 1u);  // the page stays
        EXPECT_EQ(app.LastLog("page shown"), "page shown https://host.test/");
        // Staying ended the close: the page's own about:blank (a sign-out)
        // is the page's, and the window stays.
        ASSERT_TRUE(app.Page(L"navigate about:blank"));
        ASSERT_TRUE(app.WaitForLog("page shown about:blank"));
        ASSERT_TRUE(app.Page(L"link https://host.test/"));
        ASSERT_TRUE(app.WaitForLog("page shown https://host.test/", 2));
        EXPECT_EQ(app.process().WaitForExit(0), STILL_ACTIVE);
        // Asked again after staying; a second request while the question is
        // open (or the page has not answered) closes at once, so a hung page
        // never keeps the window.
        app.Command(ID_SITE_QUIT);
        ASSERT_TRUE(app.WaitForLog("dialog beforeunload", 2));
        app.Command(ID_SITE_QUIT);
        EXPECT_EQ(app.process().WaitForExit(), 0u);
    }
}

// The program's own pages have nothing to lose: the window closes at once.
TEST(WindowAppTest, ClosesAtOnceOnItsOwnPages) {
    AppSession app("");  // no site: the welcome page and the prompt
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("page shown data:"));
    HWND prompt = app.process().WaitForWindow(L"VelotidePrompt");
    ASSERT_TRUE(prompt);
    PostMessageW(prompt, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(prompt); }));
    PostMessageW(app.mainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.process().WaitForExit(), 0u);
    EXPECT_EQ(app.CountLog("navigation started"), 1u);
}

}  // namespace
