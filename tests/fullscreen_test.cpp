// Borderless fullscreen on the real main window, in and out, from every path.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/fullscreen.h"
#include "app/main_window.h"
#include "tests/support/fake_engine.h"
#include "tests/support/test_main_window.h"

namespace {

struct WindowShape {
    WINDOWPLACEMENT placement;
    RECT frame;
    LONG style;
    HMENU menu;
};

WindowShape ShapeOf(HWND window) {
    WindowShape shape = {};
    shape.placement.length = sizeof(shape.placement);
    GetWindowPlacement(window, &shape.placement);
    GetWindowRect(window, &shape.frame);
    shape.style = GetWindowLongW(window, GWL_STYLE);
    shape.menu = GetMenu(window);
    return shape;
}

RECT MonitorRect(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcMonitor;
}

RECT ClientRect(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client;
}

::testing::AssertionResult SameRect(const RECT& got, const RECT& want) {
    if (EqualRect(&got, &want)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << got.left << "," << got.top << " " << got.right << ","
                                         << got.bottom << ", want " << want.left << "," << want.top << " "
                                         << want.right << "," << want.bottom;
}

void ExpectWindowed(HWND window, const WindowShape& before) {
    WindowShape now = ShapeOf(window);
    EXPECT_FALSE(g_app.isFullscreen);
    EXPECT_EQ(now.placement.showCmd, before.placement.showCmd);
    EXPECT_TRUE(SameRect(now.placement.rcNormalPosition, before.placement.rcNormalPosition));
    if (before.placement.showCmd == SW_SHOWMAXIMIZED) {
        // Wine keeps the frame at the monitor's edges where Windows hides it
        // just outside: either way the work area is covered.
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
        RECT covered;
        IntersectRect(&covered, &now.frame, &info.rcWork);
        EXPECT_TRUE(SameRect(covered, info.rcWork));
    } else {
        EXPECT_TRUE(SameRect(now.frame, before.frame));
    }
    EXPECT_EQ(now.style, before.style) << std::hex << now.style;
    EXPECT_EQ(now.menu, g_app.menuBar);
}

void ExpectFullscreen(HWND window, const WindowShape& before) {
    WindowShape now = ShapeOf(window);
    EXPECT_TRUE(g_app.isFullscreen);
    EXPECT_TRUE(SameRect(now.frame, MonitorRect(window)));
    EXPECT_EQ(now.style, static_cast<LONG>(before.style & 0xFF30FFFF)) << std::hex << now.style;
    EXPECT_EQ(now.menu, nullptr);
    // No frame and no menu: the client area is the whole monitor.
    RECT monitor = MonitorRect(window);
    OffsetRect(&monitor, -monitor.left, -monitor.top);
    EXPECT_TRUE(SameRect(ClientRect(window), monitor));
}

class FullscreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = TestMainWindow();
        g_app.controller = nullptr;
        g_app.isFullscreen = false;
        g_app.pageFullscreen = false;
        SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_OVERLAPPEDWINDOW);
        SetMenu(window, g_app.menuBar);
        ShowWindow(window, SW_SHOWNORMAL);
        SetWindowPos(window, nullptr, 120, 80, 1000, 700, SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    void TearDown() override { g_app.controller = nullptr; }

    HWND window = nullptr;
};

TEST_F(FullscreenTest, EntersAndComesBackToTheSavedPlacement) {
    for (bool maximised : {false, true}) {
        SCOPED_TRACE(maximised ? "maximised" : "normal");
        if (maximised) ShowWindow(window, SW_MAXIMIZE);
        const WindowShape before = ShapeOf(window);
        ASSERT_EQ(IsZoomed(window) != FALSE, maximised);

        SetFullscreen(true);
        ExpectFullscreen(window, before);

        SetFullscreen(false);
        ExpectWindowed(window, before);
        EXPECT_EQ(IsZoomed(window) != FALSE, maximised);
        if (maximised) {
            // Restoring afterwards gives back the size from before the maximising.
            ShowWindow(window, SW_RESTORE);
            WindowShape restored = ShapeOf(window);
            EXPECT_TRUE(SameRect(restored.frame, before.placement.rcNormalPosition));
        }
    }
}

TEST_F(FullscreenTest, FollowsThePage) {
    const WindowShape before = ShapeOf(window);
    FakeView view;
    struct Step {
        const char* what;
        enum { Page, PageFails, Toggle } kind;
        bool pageShowsElement;
        bool isFullscreen, pageFullscreen;
    };
    const Step steps[] = {
        {"page element fullscreen", Step::Page, true, true, true},
        {"page element leaves", Step::Page, false, false, false},
        {"page reports none while windowed", Step::Page, false, false, false},
        {"F11 enters", Step::Toggle, false, true, false},
        {"page element fullscreen while fullscreen", Step::Page, true, true, true},
        {"F11 leaves, the page keeps its element", Step::Toggle, false, false, true},
        {"page element fullscreen again", Step::Page, true, true, true},
        {"failed query counts as none", Step::PageFails, true, false, false},
        {"F11 enters again", Step::Toggle, false, true, false},
        // Fullscreen belongs to whoever entered it: the person's F11 outlasts the video.
        {"page element leaves after F11", Step::Page, false, true, false},
        {"F11 leaves", Step::Toggle, false, false, false},
        {"page element fullscreen from the window", Step::Page, true, true, true},
        {"page element leaves what it entered", Step::Page, false, false, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.kind == Step::Toggle) {
            SetFullscreen(!g_app.isFullscreen);
        } else {
            view.containsFullScreenElement = step.pageShowsElement;
            view.failGetters = step.kind == Step::PageFails;
            EXPECT_EQ(OnPageFullscreenChanged(&view), S_OK);
        }
        EXPECT_EQ(g_app.isFullscreen, step.isFullscreen);
        EXPECT_EQ(g_app.pageFullscreen, step.pageFullscreen);
        // Never a second entry: the placement to come back to stays the first one.
        if (step.isFullscreen)
            ExpectFullscreen(window, before);
        else
            ExpectWindowed(window, before);
    }
}

TEST_F(FullscreenTest, MenuCommandSwitchesWithOrWithoutAView) {
    const WindowShape before = ShapeOf(window);
    // Before the engine is ready: the window switches, no bounds to give.
    SendMessageW(window, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    ExpectFullscreen(window, before);
    SendMessageW(window, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    ExpectWindowed(window, before);

    // With a view, the bounds are given once more after the switch is done,
    // beyond those that the window's own WM_SIZE handling gives.
    static int sizeMessages;
    HHOOK hook = SetWindowsHookExW(
        WH_CALLWNDPROCRET,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
            if (code == HC_ACTION && call->message == WM_SIZE && call->hwnd == g_app.mainWindow) ++sizeMessages;
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    FakeController controller;
    g_app.controller = &controller;
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "entering" : "leaving");
        controller.bounds.clear();
        sizeMessages = 0;
        SendMessageW(window, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
        EXPECT_EQ(g_app.isFullscreen, on);
        EXPECT_EQ(controller.bounds.size(), static_cast<size_t>(sizeMessages) + 1);
        ASSERT_FALSE(controller.bounds.empty());
        EXPECT_TRUE(SameRect(controller.bounds.back(), ClientRect(window)));
    }
    UnhookWindowsHookEx(hook);
    ExpectWindowed(window, before);
}

}  // namespace
