// The page's alert, confirm and prompt as a person meets them on the running
// program: in the program's own window, under the site's host, one at a
// time, and never left waiting for a page or a view that went.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/support/app_session.h"

namespace {

const char kSite[] = "url=https://host.test/\r\n";

// What the person chose reaches the page (the engine logs what its script got back).
TEST(PageDialogsAppTest, ThePageGetsWhatThePersonAnswered) {
    // A prompt's text comes back whole, however long, as the page gave it or the person typed it.
    const std::wstring longText(3000, L'x');
    const std::wstring longPrompt = L"prompt " + longText + L" Long?";
    const std::wstring longShown = L"host.test|Long?|" + longText + L"|OK|Cancel";
    const std::string longAnswer = "dialog answered ok " + std::string(3000, 'x');
    struct Case {
        const wchar_t* command;
        int button;
        const wchar_t* typed;  // into a prompt's field; null leaves its text
        const wchar_t* shown;  // the window's title and texts ("&&" shows one "&")
        const char* answer;
    } cases[] = {
        {L"alert Saved & sent", IDOK, nullptr, L"host.test|Saved && sent|OK", "dialog answered ok"},
        {L"confirm Delete it?", IDOK, nullptr, L"host.test|Delete it?|OK|Cancel", "dialog answered ok"},
        {L"confirm Delete it?", IDCANCEL, nullptr, L"host.test|Delete it?|OK|Cancel", "dialog answered cancel"},
        {L"prompt Ann Your name?", IDOK, L"Bea Lund", L"host.test|Your name?|Ann|OK|Cancel", "dialog answered ok Bea Lund"},
        {L"prompt Ann Your name?", IDOK, nullptr, L"host.test|Your name?|Ann|OK|Cancel", "dialog answered ok Ann"},
        {L"prompt Ann Your name?", IDCANCEL, L"Bea", L"host.test|Your name?|Ann|OK|Cancel", "dialog answered cancel"},
        {longPrompt.c_str(), IDOK, nullptr, longShown.c_str(), longAnswer.c_str()},
        {L"prompt Ann Your name?", IDOK, longText.c_str(), L"host.test|Your name?|Ann|OK|Cancel", longAnswer.c_str()},
    };
    AppSession app(kSite);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    size_t answered = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.command)));
        ASSERT_TRUE(app.Page(c.command));
        EXPECT_EQ(AnswerPrompt(app.process(), c.button, c.typed), c.shown);
        ASSERT_TRUE(app.WaitForLog("dialog answered", ++answered));
        EXPECT_EQ(app.LastLog("dialog answered"), c.answer);
    }
    EXPECT_EQ(FindProcessWindow(app.process().id(), L"#32770"), nullptr);  // no box of the runtime's
    EXPECT_EQ(app.Quit(), 0u);
}

// A page's dialog while the window is minimised comes up on the screen, not
// where the minimised window is kept.
TEST(PageDialogsAppTest, ADialogOfAMinimisedWindowIsOnTheScreen) {
    AppSession app(kSite);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    ShowWindow(app.mainWindow(), SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(app.mainWindow()) != FALSE; }));
    ASSERT_TRUE(app.Page(L"alert Your session ends soon"));
    HWND dialog = app.process().WaitForWindow(L"VelotidePrompt");
    ASSERT_TRUE(dialog && PumpUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    RECT rect, screen, inside;
    GetWindowRect(dialog, &rect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    EXPECT_TRUE(IntersectRect(&inside, &rect, &screen) && EqualRect(&inside, &rect));
    EXPECT_EQ(AnswerPrompt(app.process(), IDOK), L"host.test|Your session ends soon|OK");
    EXPECT_EQ(app.Quit(), 0u);
}

// A second dialog waits for the first; closing the window ends the page's
// dialog as Cancel and asks the close's own question; a view that goes takes
// its dialog with it, and the new view's dialogs show again.
TEST(PageDialogsAppTest, DialogsEndWithWhatTheyWaitedFor) {
    AppSession app(kSite);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    ASSERT_TRUE(app.Page(L"alert first"));
    ASSERT_TRUE(app.Page(L"confirm second?"));
    ASSERT_TRUE(app.WaitForLog("dialog confirm"));
    EXPECT_EQ(AnswerPrompt(app.process(), IDOK), L"host.test|first|OK");
    EXPECT_EQ(AnswerPrompt(app.process(), IDCANCEL), L"host.test|second?|OK|Cancel");
    ASSERT_TRUE(app.WaitForLog("dialog answered", 2));  // the engine hears the answer after the box has gone
    EXPECT_EQ(app.LogLines("dialog answered"), (std::vector<std::string>{"dialog answered ok", "dialog answered cancel"}));

    ASSERT_TRUE(app.Page(L"crash 0"));  // the browser process exits: a new view comes
    ASSERT_TRUE(app.WaitForLog("controller created", 2));
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success", 2));
    ASSERT_TRUE(app.Page(L"alert lost"));
    HWND lost = app.process().WaitForWindow(L"VelotidePrompt");
    ASSERT_TRUE(lost);
    ASSERT_TRUE(app.Page(L"crash 0"));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(lost); }));
    ASSERT_TRUE(app.WaitForLog("controller created", 3));
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success", 3));

    ASSERT_TRUE(app.Page(L"beforeunload on"));
    ASSERT_TRUE(app.Page(L"alert open"));
    HWND open = app.process().WaitForWindow(L"VelotidePrompt");
    ASSERT_TRUE(open);
    app.Command(ID_SITE_QUIT);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(open); }));
    EXPECT_EQ(AnswerPrompt(app.process(), IDOK), L"host.test|Leave site?|Changes you made may not be saved.|Leave|Cancel");
    EXPECT_TRUE(app.WaitForLog("dialog answered leave"));  // the answer reaches the engine after the button's click
    EXPECT_EQ(app.LogLines("dialog answered").back(), "dialog answered leave");
    EXPECT_EQ(app.CountLog("dialog answered cancel"), 2u);  // the second dialog's and the open alert's
    EXPECT_EQ(app.process().WaitForExit(), 0u);
}

}  // namespace
