// The site address prompt, fullscreen and the keyboard shortcuts, driven
// through the running velotide.exe and observed in the test engine's log and
// on the program's windows.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/app_input.h"
#include "tests/support/app_session.h"

namespace {

// The prompt's edit control, waited for: the window is found before its
// controls exist.
HWND PromptEdit(HWND prompt) {
    HWND edit = nullptr;
    PumpUntil([&] { return (edit = FindWindowExW(prompt, nullptr, L"Edit", nullptr)) != nullptr; });
    return edit;
}

// Asked of the control itself: another process's GetWindowTextW gets only
// the text the control was created with.
std::wstring EditText(HWND edit) {
    wchar_t text[256] = {};
    SendMessageW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(HandsAppTest, FirstStartWelcomesThenThePromptSavesAndOpensTheAddress) {
    AppSession app;
    ASSERT_TRUE(app.Start());
    HWND prompt = app.process().WaitForWindow(L"VelotidePrompt");
    ASSERT_TRUE(prompt);
    EXPECT_TRUE(app.WaitForLog("page shown data: Welcome to Velotide"));
    EXPECT_FALSE(IsWindowEnabled(app.mainWindow()));
    HWND edit = PromptEdit(prompt);
    EXPECT_EQ(EditText(edit), L"");
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L" host.test/start "));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);

    ASSERT_TRUE(PumpUntil([&] { return app.LastLog("page shown ") == "page shown https://host.test/start"; }))
        << ::testing::PrintToString(app.Log());
    EXPECT_FALSE(IsWindow(prompt));
    EXPECT_TRUE(IsWindowEnabled(app.mainWindow()));
    EXPECT_EQ(ReadFileBytes(app.dataDir() + L"\\config.ini"), "url=https://host.test/start\r\nblockAds=1\r\n");
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(HandsAppTest, AQuitWhileThePromptIsOpenStillEndsTheProgram) {
    for (WPARAM quitCode : {WPARAM(0), WPARAM(5)}) {
        SCOPED_TRACE(quitCode);
        AppSession app;
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.process().WaitForWindow(L"VelotidePrompt"));
        if (quitCode == 0) {  // Quit from the menu: the main window goes, then its WM_QUIT
            app.Command(106);
        } else {
            PostThreadMessageW(GetWindowThreadProcessId(app.mainWindow(), nullptr), WM_QUIT, quitCode, 0);
        }
        EXPECT_EQ(app.process().WaitForExit(), quitCode);
    }
}

TEST(HandsAppTest, ShortcutsAreHandledAndOtherKeysReachThePage) {
    AppSession app("url=https://host.test/\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.Page(L"link https://host.test/other"));
    ASSERT_TRUE(app.WaitForLog("navigation completed", 2));
    // The navigation a key starts, if any, is the last column.
    struct Case { UINT vk; int mods; const char* keyLine; const char* navigation; } cases[] = {
        {'R', kNone, "key to page 82 0", nullptr},
        {'R', kAlt, "key to page 82 2", nullptr},
        {'L', kAlt, "key to page 76 2", nullptr},
        {VK_HOME, kNone, "key to page 36 0", nullptr},
        {VK_HOME, kCtrl, "key to page 36 0", nullptr},
        // Stray navigations from the keys above would take these ids.
        {'R', kCtrl, "key handled 82 0", "navigation started 3 https://host.test/other"},
        {'R', kCtrl | kAlt, "key to page 82 0", nullptr},  // AltGr+R types a character
        {'L', kCtrl | kAlt, "key to page 76 0", nullptr},
        {VK_HOME, kAlt, "key handled 36 2", "navigation started 4 https://host.test/"},
        {VK_HOME, kCtrl | kAlt, "key handled 36 0", "navigation started 5 https://host.test/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyLine);
        EXPECT_EQ(Press(app, c.vk, c.mods), c.keyLine);
        if (c.navigation) {
            EXPECT_TRUE(app.WaitForLog(c.navigation)) << ::testing::PrintToString(app.Log());
        }
    }
    EXPECT_EQ(app.CountLog("navigation started"), 5u);
    EXPECT_FALSE(FindProcessWindow(app.process().id(), L"VelotidePrompt"));
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(HandsAppTest, CtrlLOpensThePromptOnceTheKeyHandlerHasReturned) {
    AppSession app("url=https://host.test/\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed"));
    HWND prompt;
    {
        HeldModifiers held(app, kCtrl);
        PostKey(app, 'L', kCtrl, true);
        prompt = app.process().WaitForWindow(L"VelotidePrompt");
        ASSERT_TRUE(prompt);
        // Called from inside the handler, the prompt would be open before
        // the engine could log the key.
        EXPECT_EQ(app.CountLog("key handled 76 0"), 1u);
    }
    // Asked again while it is open (a held Ctrl+L, the menu), the prompt
    // comes to the front; no second one opens inside it.
    {
        HeldModifiers held(app, kCtrl);
        PostMessageW(app.view(), WM_KEYDOWN, 'L', 1 | (1 << 30));  // a repeat
    }
    app.Command(101);
    PumpFor(300);
    EXPECT_EQ(ProcessWindows(app.process().id(), L"VelotidePrompt").size(), 1u);
    EXPECT_EQ(GetForegroundWindow(), prompt);
    HWND edit = PromptEdit(prompt);
    EXPECT_EQ(EditText(edit), L"https://host.test/");
    PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(prompt); }));
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(HandsAppTest, FullscreenFollowsThePageAndTheKeys) {
    struct Scenario { const char* name; bool maximised; std::vector<Step> steps; } scenarios[] = {
        {"page element in and out", false,
         {{L"fullscreen on", 0, "fullscreen element on", true},
          {L"fullscreen off", 0, "fullscreen element off", false}}},
        {"F11 leaves page fullscreen, Esc then goes to the page", false,
         {{L"fullscreen on", 0, "fullscreen element on", true},
          {nullptr, VK_F11, "key handled 122 0", false},
          {nullptr, VK_ESCAPE, "key to page 27 0", false},
          {nullptr, 0, "fullscreen element off", false}}},
        {"Esc leaves fullscreen entered by F11", false,
         {{nullptr, VK_F11, "key handled 122 0", true},
          {nullptr, VK_ESCAPE, "key handled 27 0", false}}},
        {"maximised, F11 then the page leaving its element keeps the person's fullscreen", true,
         {{nullptr, VK_F11, "key handled 122 0", true},
          {L"fullscreen on", 0, "fullscreen element on", true},
          {L"fullscreen off", 0, "fullscreen element off", true},
          {nullptr, VK_ESCAPE, "key handled 27 0", false}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        AppSession app("url=https://host.test/\r\n");
        ASSERT_TRUE(app.Start());
        RunFullscreenScenario(app, s.maximised, s.steps);
    }
}

}  // namespace
