#include "tests/support/app_input.h"

#include <gtest/gtest.h>

#include <cstring>

HeldModifiers::HeldModifiers(const AppSession& app, int mods) : thread_(GetWindowThreadProcessId(app.view(), nullptr)) {
    AttachThreadInput(GetCurrentThreadId(), thread_, TRUE);
    Set(mods);
}

HeldModifiers::~HeldModifiers() {
    Set(kNone);
    AttachThreadInput(GetCurrentThreadId(), thread_, FALSE);
}

void HeldModifiers::Set(int mods) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = mods & kCtrl ? 0x80 : 0;
    keys[VK_MENU] = mods & kAlt ? 0x80 : 0;
    SetKeyboardState(keys);
}

void PostKey(const AppSession& app, UINT vk, int mods, bool down) {
    bool system = mods == kAlt;  // Alt without Ctrl makes system keys
    UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    LPARAM flags = 1 | (system ? 0x20000000 : 0) | (down ? 0 : 0xC0000000u);
    PostMessageW(app.view(), message, vk, flags);
}

std::string Press(const AppSession& app, UINT vk, int mods) {
    HeldModifiers held(app, mods);
    size_t before = app.CountLog("key ");
    PostKey(app, vk, mods, true);
    PostKey(app, vk, mods, false);
    if (!app.WaitForLog("key ", before + 2)) return "(key not seen)";
    std::vector<std::string> keys = app.LogLines("key ");
    EXPECT_EQ(keys[before + 1].rfind("key to page " + std::to_string(vk) + " ", 0), 0u) << keys[before + 1];
    return keys[before];
}

void RunFullscreenScenario(AppSession& app, bool maximised, const std::vector<Step>& steps) {
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
        EXPECT_EQ(app.LastLog("bounds "), "bounds 0,0," + std::to_string(client.right) + "," +
                                                std::to_string(client.bottom));
    }
    if (maximised) {
        ShowWindowAsync(window, SW_RESTORE);
        RECT rect;
        EXPECT_TRUE(PumpUntil([&] { return GetWindowRect(window, &rect) && EqualRect(&rect, &normal); }));
    }
    EXPECT_EQ(app.Quit(), 0u);
}

