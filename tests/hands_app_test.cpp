// The site address prompt, fullscreen and the keyboard shortcuts, driven
// through the running velotide.exe and observed in the test engine's log and
// on the program's windows.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/app_session.h"

namespace {

enum Mods { kNone = 0, kCtrl = 1, kAlt = 2 };

std::vector<std::string> Lines(const AppSession& app, const std::string& prefix) {
    std::vector<std::string> lines;
    for (const std::string& line : app.Log())
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

std::string LastLine(const AppSession& app, const std::string& prefix) {
    std::vector<std::string> lines = Lines(app, prefix);
    return lines.empty() ? "" : lines.back();
}

// Ctrl and Alt as the program's thread sees them through GetKeyState: our
// thread shares its input state for the life of the object. (Keys sent with
// SendInput never reach a Wine program under a bare Xvfb, so the key
// messages themselves are posted to the view.)
class HeldModifiers {
public:
    HeldModifiers(const AppSession& app, int mods) : thread_(GetWindowThreadProcessId(app.view(), nullptr)) {
        AttachThreadInput(GetCurrentThreadId(), thread_, TRUE);
        Set(mods);
    }
    ~HeldModifiers() {
        Set(kNone);
        AttachThreadInput(GetCurrentThreadId(), thread_, FALSE);
    }

private:
    static void Set(int mods) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = mods & kCtrl ? 0x80 : 0;
        keys[VK_MENU] = mods & kAlt ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    DWORD thread_;
};

void PostKey(const AppSession& app, UINT vk, int mods, bool down) {
    bool system = mods == kAlt;  // Alt without Ctrl makes system keys
    UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    LPARAM flags = 1 | (system ? 0x20000000 : 0) | (down ? 0 : 0xC0000000u);
    PostMessageW(app.view(), message, vk, flags);
}

// Presses and releases vk on the view; the engine's line for the key-down.
// A release is never the program's business.
std::string Press(const AppSession& app, UINT vk, int mods = kNone) {
    HeldModifiers held(app, mods);
    size_t before = app.CountLog("key ");
    PostKey(app, vk, mods, true);
    PostKey(app, vk, mods, false);
    if (!app.WaitForLog("key ", before + 2)) return "(key not seen)";
    std::vector<std::string> keys = Lines(app, "key ");
    EXPECT_EQ(keys[before + 1].rfind("key to page " + std::to_string(vk) + " ", 0), 0u) << keys[before + 1];
    return keys[before];
}

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

    ASSERT_TRUE(PumpUntil([&] { return LastLine(app, "page shown ") == "page shown https://host.test/start"; }))
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
        {'R', kCtrl | kAlt, "key handled 82 0", "navigation started 4 https://host.test/other"},
        {VK_HOME, kAlt, "key handled 36 2", "navigation started 5 https://host.test/"},
        {VK_HOME, kCtrl | kAlt, "key handled 36 0", "navigation started 6 https://host.test/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyLine);
        EXPECT_EQ(Press(app, c.vk, c.mods), c.keyLine);
        if (c.navigation) {
            EXPECT_TRUE(app.WaitForLog(c.navigation)) << ::testing::PrintToString(app.Log());
        }
    }
    EXPECT_EQ(app.CountLog("navigation started"), 6u);
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
    HWND edit = PromptEdit(prompt);
    EXPECT_EQ(EditText(edit), L"https://host.test/");
    PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(prompt); }));
    EXPECT_EQ(app.Quit(), 0u);
}

// One step of a fullscreen scenario: a page command or a key (or neither, for
// what the page does by itself), the log line it leads to, and the window's
// state afterwards.
struct Step { const wchar_t* page; UINT key; const char* log; bool fullscreen; };

void RunFullscreenScenario(bool maximised, const std::vector<Step>& steps) {
    AppSession app("url=https://host.test/\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed"));
    HWND window = app.mainWindow();
    RECT normal, windowed;
    GetWindowRect(window, &normal);
    // (Under Wine a start-up show command doesn't reach the program.) The
    // style changes before the size does, so wait for both.
    if (maximised) {
        ShowWindowAsync(window, SW_MAXIMIZE);
        ASSERT_TRUE(PumpUntil([&] {
            GetWindowRect(window, &windowed);
            return IsZoomed(window) && !EqualRect(&windowed, &normal);
        }));
    }
    GetWindowRect(window, &windowed);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);

    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE(step.log);
        size_t seen = 0;
        for (size_t j = 0; j <= i; ++j) seen += std::strcmp(steps[j].log, step.log) == 0;
        if (step.page) {
            ASSERT_TRUE(app.Page(step.page));
        }
        if (step.key) Press(app, step.key);
        ASSERT_TRUE(app.WaitForLog(step.log, seen)) << ::testing::PrintToString(app.Log());
        // Once this returns, the program has finished what the line set off.
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);

        RECT rect, client;
        GetWindowRect(window, &rect);
        GetClientRect(window, &client);
        bool framed = GetWindowLongW(window, GWL_STYLE) & WS_CAPTION;
        EXPECT_EQ(framed, !step.fullscreen);
        EXPECT_EQ(GetMenu(window) != nullptr, !step.fullscreen);
        // Wine leaves a maximised window given back by its placement at the
        // monitor's rectangle, not with its frame beyond the edges; its
        // restore size is checked below.
        if (step.fullscreen || !maximised) {
            EXPECT_TRUE(EqualRect(&rect, step.fullscreen ? &monitor.rcMonitor : &windowed));
        }
        EXPECT_EQ(IsZoomed(window) != FALSE, maximised);
        // The view follows the client area both ways.
        EXPECT_EQ(LastLine(app, "bounds "), "bounds 0,0," + std::to_string(client.right) + "," +
                                                std::to_string(client.bottom));
    }
    if (maximised) {
        ShowWindowAsync(window, SW_RESTORE);
        RECT rect;
        EXPECT_TRUE(PumpUntil([&] { return GetWindowRect(window, &rect) && EqualRect(&rect, &normal); }));
    }
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
        {"maximised, F11 then the page leaving its element", true,
         {{nullptr, VK_F11, "key handled 122 0", true},
          {L"fullscreen on", 0, "fullscreen element on", true},
          {L"fullscreen off", 0, "fullscreen element off", false}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        RunFullscreenScenario(s.maximised, s.steps);
    }
}

}  // namespace
