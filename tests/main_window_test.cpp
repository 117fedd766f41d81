// The main window in-process: its menu bar, its commands and its messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/dpi.h"
#include "app/fullscreen.h"
#include "app/main_window.h"
#include "app/placement.h"
#include "app/site_bar.h"
#include "settings/config_store.h"
#include "tests/support/fake_engine.h"
#include "tests/support/test_support.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_app = AppState{};
        g_app.instance = GetModuleHandleW(nullptr);
        g_app.dataDir = dir.path();
        RegisterMainWindowClass();
    }
    void TearDown() override {
        if (IsWindow(g_app.mainWindow)) DestroyWindow(g_app.mainWindow);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}  // drop the WM_QUIT of WM_DESTROY
        g_app = AppState{};
    }
    void CreateWindowWithMenu() {
        g_app.menuBar = BuildMenuBar();
        g_app.mainWindow = CreateMainWindow();
        ASSERT_TRUE(g_app.mainWindow);
    }
    LRESULT Command(int id) { return SendMessageW(g_app.mainWindow, WM_COMMAND, id, 0); }

    ScratchDir dir;
};

struct MenuItem {
    int popup;
    UINT id;  // 0 for a separator
    const wchar_t* text;
};

std::wstring ItemText(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

TEST_F(MainWindowTest, MenuBarHoldsSiteAndViewItemsInOrder) {
    CreateWindowWithMenu();
    HMENU bar = GetMenu(g_app.mainWindow);
    ASSERT_EQ(bar, g_app.menuBar);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(ItemText(bar, 0), L"Site");
    EXPECT_EQ(ItemText(bar, 1), L"View");

    const MenuItem expected[] = {
        {0, 101, L"Change site address\u2026\tCtrl+L"},
        {0, 102, L"Reload\tCtrl+R"},
        {0, 103, L"Home\tAlt+Home"},
        {0, 0, L""},
        {0, 104, L"Block ad domains"},
        {0, 109, L"Allowed sites\u2026"},
        {0, 110, L"Show notifications"},
        {0, 113, L"Create an app for this site\u2026"},
        {0, 0, L""},
        {0, 106, L"Quit"},
        {1, 105, L"Fullscreen\tF11"},
        {1, 107, L"Back"},
        {1, 108, L"Forward"},
        {1, 0, L""},
        {1, 111, L"Keep running in the notification area"},
        {1, 112, L"Start with Windows"},
    };
    UINT position[2] = {0, 0};
    for (const MenuItem& item : expected) {
        HMENU popup = GetSubMenu(bar, item.popup);
        UINT at = position[item.popup]++;
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoW(popup, at, TRUE, &info));
        SCOPED_TRACE(item.text);
        EXPECT_EQ(info.wID, item.id);
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, item.id == 0);
        EXPECT_EQ(ItemText(popup, at), item.text);
        if (item.id) {
            EXPECT_EQ(info.fState & (MFS_DISABLED | MFS_GRAYED), 0u);  // every command stays enabled
        }
    }
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 10);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 1)), 6);
}

TEST_F(MainWindowTest, BlockAdsItemStartsCheckedFromSetting) {
    for (bool blockAds : {true, false}) {
        g_app.blockAds = blockAds;
        HMENU bar = BuildMenuBar();
        UINT state = GetMenuState(bar, ID_SITE_BLOCK_ADS, MF_BYCOMMAND);
        EXPECT_EQ((state & MF_CHECKED) != 0, blockAds);
        DestroyMenu(bar);
    }
}

// The items whose settings policies fix, or that they turn off, show their
// state greyed; the rest stay available.
TEST_F(MainWindowTest, ItemsPoliciesFixShowTheirStateGreyed) {
    g_app.fixed = {true, true, true, true, true};
    g_app.blockAds = false;
    g_app.keepInTray = g_app.startWithWindowsOff = g_app.createAppsOff = true;
    HMENU bar = BuildMenuBar();
    std::set<UINT> greyed;
    for (UINT id = ID_SITE_CHANGE; id <= ID_SITE_REMOVE_APP; ++id)
        if (UINT state = GetMenuState(bar, id, MF_BYCOMMAND); state != static_cast<UINT>(-1) && (state & MF_GRAYED))
            greyed.insert(id);
    EXPECT_EQ(greyed, (std::set<UINT>{ID_SITE_CHANGE, ID_SITE_BLOCK_ADS, ID_SITE_NOTIFICATIONS, ID_VIEW_KEEP_IN_TRAY,
                                      ID_VIEW_START_WITH_WINDOWS, ID_SITE_CREATE_APP}));
    EXPECT_EQ(GetMenuState(bar, ID_SITE_BLOCK_ADS, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_NE(GetMenuState(bar, ID_VIEW_KEEP_IN_TRAY, MF_BYCOMMAND) & MF_CHECKED, 0u);
    DestroyMenu(bar);
}

TEST_F(MainWindowTest, WindowHasClassTitleStyleAndSize) {
    CreateWindowWithMenu();
    wchar_t name[64];
    GetClassNameW(g_app.mainWindow, name, 64);
    EXPECT_STREQ(name, L"VelotideMain");
    GetWindowTextW(g_app.mainWindow, name, 64);
    EXPECT_STREQ(name, L"Velotide");
    EXPECT_EQ(GetWindowLongW(g_app.mainWindow, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongW(g_app.mainWindow, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    RECT rect;
    GetWindowRect(g_app.mainWindow, &rect);
    EXPECT_EQ(rect.right - rect.left, 1360);
    EXPECT_EQ(rect.bottom - rect.top, 860);
    WNDCLASSW wc;
    ASSERT_TRUE(GetClassInfoW(g_app.instance, L"VelotideMain", &wc));
    EXPECT_EQ(wc.style, 0u);
    LOGBRUSH brush;
    ASSERT_TRUE(GetObjectW(wc.hbrBackground, sizeof brush, &brush));
    EXPECT_EQ(brush.lbColor, RGB(14, 15, 22));
}

TEST_F(MainWindowTest, BlockAdsBeforeViewFlipsFlagCheckMarkAndFile) {
    CreateWindowWithMenu();
    for (bool expected : {false, true}) {
        EXPECT_EQ(Command(ID_SITE_BLOCK_ADS), 0);
        EXPECT_EQ(g_app.blockAds, expected);
        EXPECT_EQ((GetMenuState(g_app.menuBar, ID_SITE_BLOCK_ADS, MF_BYCOMMAND) & MF_CHECKED) != 0, expected);
        EXPECT_EQ(ReadFileBytes(dir / L"config.ini"),
                  std::string("url=\r\nblockAds=") + (expected ? "1" : "0") + "\r\n");
    }
}

TEST_F(MainWindowTest, BlockAdsWithViewReloadsPage) {
    CreateWindowWithMenu();
    FakeView view;
    g_app.webview = &view;
    Command(ID_SITE_BLOCK_ADS);
    EXPECT_EQ(view.calls, std::vector<std::wstring>{L"Reload"});
    g_app.webview = nullptr;
}

// Each command id against a view: what the view is asked to do.
TEST_F(MainWindowTest, ViewCommandsReachTheView) {
    struct Case {
        int id;
        const wchar_t* siteUrl;
        std::vector<std::wstring> calls;
        LRESULT result;
    };
    const Case cases[] = {
        {ID_SITE_RELOAD, L"https://Host", {L"Reload"}, 0},
        {ID_SITE_HOME, L"https://Host/a/b?q=1#f", {L"Navigate https://Host/a/b?q=1#f"}, 0},
        {ID_SITE_HOME, L"", {}, 0},
        {ID_VIEW_BACK, L"", {L"GoBack"}, 0},
        {ID_VIEW_FORWARD, L"", {L"GoForward"}, 0},
        {100, L"https://Host", {}, 0},
        {199, L"https://Host", {}, 0},
    };
    CreateWindowWithMenu();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        FakeView view;
        g_app.webview = &view;
        g_app.siteUrl = c.siteUrl;
        EXPECT_EQ(Command(c.id), c.result);
        EXPECT_EQ(view.calls, c.calls);
        EXPECT_FALSE(FileExists(dir / L"config.ini"));
        EXPECT_TRUE(g_app.blockAds);
        EXPECT_FALSE(g_app.isFullscreen);
        EXPECT_TRUE(IsWindow(g_app.mainWindow));
    }
    g_app.webview = nullptr;
}

TEST_F(MainWindowTest, ViewCommandsDoNothingBeforeTheViewExists) {
    CreateWindowWithMenu();
    g_app.siteUrl = L"https://Host";
    for (int id : {ID_SITE_RELOAD, ID_SITE_HOME, ID_VIEW_BACK, ID_VIEW_FORWARD}) EXPECT_EQ(Command(id), 0);
    EXPECT_TRUE(IsWindow(g_app.mainWindow));
}

// 1360x860 and at least 800x520 at 96 DPI, scaled to the window's DPI (the
// test runs at 96, 144 and 192 DPI, each in a Wine prefix of its own).
TEST_F(MainWindowTest, DefaultAndMinimumSizesFollowTheDpi) {
    CreateWindowWithMenu();
    UINT dpi = WindowDpi(g_app.mainWindow);
    EXPECT_EQ(dpi, ExpectedDpi());
    RECT rect;
    GetWindowRect(g_app.mainWindow, &rect);
    EXPECT_EQ(rect.right - rect.left, MulDiv(1360, dpi, 96));
    EXPECT_EQ(rect.bottom - rect.top, MulDiv(860, dpi, 96));

    const struct {
        bool fullscreen;
        POINT least;  // the least size the window may take
    } kCases[] = {
        {false, {MulDiv(800, dpi, 96), MulDiv(520, dpi, 96)}},
        // Exactly its monitor, however small that is for the scale (800x480 at
        // 96 DPI, 1366x768 at 150 %): the system's least size stays.
        {true, {1, 1}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.fullscreen);
        if (c.fullscreen != g_app.isFullscreen) SetFullscreen(c.fullscreen);
        MINMAXINFO info = {};
        info.ptMinTrackSize = {1, 1};
        info.ptMaxTrackSize = {8000, 6000};
        EXPECT_EQ(SendMessageW(g_app.mainWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
        EXPECT_EQ(info.ptMinTrackSize.x, c.least.x);
        EXPECT_EQ(info.ptMinTrackSize.y, c.least.y);
        EXPECT_EQ(info.ptMaxTrackSize.x, 8000);  // the rest as the system filled it
    }
    SetFullscreen(false);
}

// A move to a monitor of another scale, sent by hand: the window takes the
// suggested rectangle and the view its new client area; in fullscreen the
// window covers the monitor instead.
TEST_F(MainWindowTest, DpiChangeTakesTheSuggestedRectangle) {
    CreateWindowWithMenu();
    ShowWindow(g_app.mainWindow, SW_SHOWNORMAL);
    FakeController controller;
    g_app.controller = &controller;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(g_app.mainWindow, MONITOR_DEFAULTTONEAREST), &monitor);
    struct Case {
        bool fullscreen;
        RECT suggested, expected;
    } cases[] = {
        // Sizes above the minimum at 192 DPI and within the 96-DPI tests' screen.
        {false, {40, 10, 1800, 1070}, {40, 10, 1800, 1070}},
        {false, {-200, 0, 1700, 1050}, {-200, 0, 1700, 1050}},
        {true, {40, 30, 1100, 820}, monitor.rcMonitor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.suggested.right);
        if (c.fullscreen != g_app.isFullscreen) SetFullscreen(c.fullscreen);
        controller.bounds.clear();
        UINT dpi = ExpectedDpi() == 96 ? 144 : 96;
        EXPECT_EQ(SendMessageW(g_app.mainWindow, kDpiChangedMessage, MAKEWPARAM(dpi, dpi),
                               reinterpret_cast<LPARAM>(&c.suggested)),
                  0);
        RECT rect, client;
        GetWindowRect(g_app.mainWindow, &rect);
        GetClientRect(g_app.mainWindow, &client);
        EXPECT_TRUE(EqualRect(&rect, &c.expected)) << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
        ASSERT_FALSE(controller.bounds.empty());
        EXPECT_TRUE(EqualRect(&controller.bounds.back(), &client));
    }
    SetFullscreen(false);
    g_app.controller = nullptr;
}

// Windows moves a window to a monitor of another scale, then tells it with
// WM_DPICHANGED: sent here by hand after the first move a placement makes
// (not a change of frame or menu).
WNDPROC windowProcedure = nullptr;
bool sendDpiChange = false;
LRESULT CALLBACK DpiChangeAfterMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGED && sendDpiChange &&
        !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOMOVE)) {
        sendDpiChange = false;
        RECT suggested = {10, 10, 1910, 1070};  // what the window's rectangle would be, rescaled
        SendMessageW(window, kDpiChangedMessage, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    }
    return CallWindowProcW(windowProcedure, window, message, wParam, lParam);
}

// A placement is taken at the scale of the monitor it belongs to: put back
// there, a change of scale on the way rescales nothing, and a window leaving
// fullscreen is a framed window by then, not one to cover the monitor with.
TEST_F(MainWindowTest, APlacementPutBackIsNotRescaledOnTheWay) {
    CreateWindowWithMenu();
    ShowWindow(g_app.mainWindow, SW_SHOWNORMAL);
    windowProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(g_app.mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DpiChangeAfterMove)));
    const RECT kPlace = {120, 90, 1000, 700};
    for (bool fromFullscreen : {true, false}) {
        SCOPED_TRACE(fromFullscreen ? "leaving fullscreen" : "restoring the stored place");
        SetWindowPos(g_app.mainWindow, nullptr, 300, 200, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        if (fromFullscreen) {
            SetWindowPos(g_app.mainWindow, nullptr, kPlace.left, kPlace.top, kPlace.right - kPlace.left,
                         kPlace.bottom - kPlace.top, SWP_NOZORDER | SWP_NOACTIVATE);
            SetFullscreen(true);
            sendDpiChange = true;
            SetFullscreen(false);
        } else {
            g_app.place = {kPlace, false, true};
            sendDpiChange = true;
            ShowWindow(g_app.mainWindow, RestoreWindowPlace(g_app.mainWindow, SW_SHOWNORMAL));
        }
        EXPECT_FALSE(sendDpiChange);  // it was sent
        RECT rect;
        GetWindowRect(g_app.mainWindow, &rect);
        EXPECT_TRUE(EqualRect(&rect, &kPlace)) << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
    }
}

// A change and closing write the settings, the window's place with them,
// unless the settings file could not be read at start: then it is left as it
// is, not replaced with defaults, and the bar says so.
TEST_F(MainWindowTest, DestroyStoresThePlaceUnlessTheSettingsWereUnread) {
    const std::string settings = "url=https://Host/\r\nblockAds=0\r\n";
    for (bool locked : {false, true}) {
        SCOPED_TRACE(locked ? "locked at start" : "read at start");
        g_app = AppState{};
        g_app.instance = GetModuleHandleW(nullptr);
        g_app.dataDir = dir.path();
        WriteFileBytes(dir / L"config.ini", settings);
        HANDLE held = locked ? CreateFileW((dir / L"config.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr)
                             : INVALID_HANDLE_VALUE;
        LoadConfig();
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        CreateWindowWithMenu();
        SetWindowPos(g_app.mainWindow, nullptr, 30, 40, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        Command(ID_SITE_BLOCK_ADS);
        wchar_t told[128] = L"";
        GetWindowTextW(FindWindowExW(FindWindowExW(g_app.mainWindow, nullptr, kSiteBarClass, nullptr), nullptr,
                                     L"Static", nullptr),
                       told, 128);
        EXPECT_EQ(std::wstring(told), locked ? L"Velotide can't save its settings file, so changes last only until it quits." : L"");
        const std::string changed = "url=https://Host/\r\nblockAds=1\r\n";
        EXPECT_EQ(ReadFileBytes(dir / L"config.ini"), locked ? settings : changed);
        DestroyWindow(g_app.mainWindow);
        EXPECT_EQ(ReadFileBytes(dir / L"config.ini"), locked ? settings : changed + "window=30,40,930,640,0\r\n");
    }
}

TEST(KeepInside, MovesThenShrinksIntoTheArea) {
    const RECT area = {0, 0, 1920, 1040};
    struct Case {
        RECT rect, expected;
    } cases[] = {
        {{100, 80, 1460, 940}, {100, 80, 1460, 940}},      // inside already
        {{800, 300, 2160, 1160}, {560, 180, 1920, 1040}},  // moved back left and up
        {{-50, -20, 1310, 840}, {0, 0, 1360, 860}},        // moved right and down
        {{10, 10, 2730, 1730}, {0, 0, 1920, 1040}},        // larger than the area: the area
    };
    for (const Case& c : cases) {
        RECT got = KeepInside(c.rect, area);
        EXPECT_TRUE(EqualRect(&got, &c.expected)) << got.left << "," << got.top << " " << got.right << "," << got.bottom;
    }
}

TEST_F(MainWindowTest, ViewFollowsClientAreaAndFocus) {
    CreateWindowWithMenu();
    FakeController controller;
    g_app.controller = &controller;
    ShowWindow(g_app.mainWindow, SW_SHOWNORMAL);
    RECT client;
    GetClientRect(g_app.mainWindow, &client);
    SendMessageW(g_app.mainWindow, WM_SIZE, SIZE_RESTORED, 0);
    ASSERT_FALSE(controller.bounds.empty());
    EXPECT_TRUE(EqualRect(&controller.bounds.back(), &client));

    // Minimised, the view is hidden too (the runtime may throttle it), and
    // shown again on restore; a move is reported to the runtime.
    controller.calls.clear();
    ShowWindow(g_app.mainWindow, SW_MINIMIZE);
    RECT empty = {};
    EXPECT_TRUE(EqualRect(&controller.bounds.back(), &empty));
    ShowWindow(g_app.mainWindow, SW_RESTORE);
    EXPECT_TRUE(EqualRect(&controller.bounds.back(), &client));
    auto calls = [&](const wchar_t* call) { return std::count(controller.calls.begin(), controller.calls.end(), call); };
    EXPECT_EQ(calls(L"put_IsVisible 0"), 1);
    EXPECT_EQ(calls(L"put_IsVisible 1"), 1);
    controller.calls.clear();
    SetWindowPos(g_app.mainWindow, nullptr, 60, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GE(calls(L"NotifyParentWindowPositionChanged"), 1);

    controller.calls.clear();
    SendMessageW(g_app.mainWindow, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(controller.calls, std::vector<std::wstring>{L"MoveFocus 0"});
    g_app.controller = nullptr;
}

TEST_F(MainWindowTest, QuitClosesControllerAndPostsExitCodeZero) {
    CreateWindowWithMenu();
    FakeController controller;
    g_app.controller = &controller;
    EXPECT_EQ(Command(ID_SITE_QUIT), 0);
    EXPECT_FALSE(IsWindow(g_app.mainWindow));
    EXPECT_EQ(controller.calls, std::vector<std::wstring>{L"Close"});
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    g_app.controller = nullptr;
}

}  // namespace
