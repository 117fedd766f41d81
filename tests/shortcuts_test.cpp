// The keyboard shortcuts: the decision rule on its own, and the event body
// with a stand-in event, the real main window and the thread's key state.
#include <gtest/gtest.h>

#include <vector>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/fullscreen.h"
#include "tests/support/fake_engine.h"
#include "tests/support/test_main_window.h"
#include "webview/shortcuts.h"

namespace {

using A = ShortcutAction;
const auto kDown = COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
const auto kUp = COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP;
const auto kSysDown = COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN;
const auto kSysUp = COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP;

struct Key {
    COREWEBVIEW2_KEY_EVENT_KIND kind;
    UINT key;
    bool ctrl, alt, isFullscreen, pageFullscreen;
    bool repeat = false;  // the key was down already
};

// Shift is no input of the rule, so Shift+F11 is F11 and Ctrl+Shift+R is Ctrl+R.
TEST(ShortcutMapTest, FollowsTheKeyTable) {
    struct Case {
        Key in;
        ShortcutAction action;
    };
    const Case cases[] = {
        // Releases never act, F11 and Esc included.
        {{kUp, VK_F11, false, false, false, false}, A::None},
        {{kSysUp, VK_F11, false, true, true, false}, A::None},
        {{kUp, VK_ESCAPE, false, false, true, false}, A::None},
        {{kSysUp, 'R', true, true, false, false}, A::None},
        {{kUp, 'L', true, false, false, false}, A::None},
        {{kSysUp, VK_HOME, false, true, false, false}, A::None},
        {{static_cast<COREWEBVIEW2_KEY_EVENT_KIND>(7), VK_F11, false, false, false, false}, A::None},
        // F11 toggles with any modifiers and in any state.
        {{kDown, VK_F11, false, false, false, false}, A::ToggleFullscreen},
        {{kSysDown, VK_F11, false, true, false, false}, A::ToggleFullscreen},
        {{kDown, VK_F11, true, false, true, false}, A::ToggleFullscreen},
        {{kDown, VK_F11, true, true, true, true}, A::ToggleFullscreen},
        // Esc only leaves a fullscreen that the page does not hold.
        {{kDown, VK_ESCAPE, false, false, true, false}, A::LeaveFullscreen},
        {{kSysDown, VK_ESCAPE, true, true, true, false}, A::LeaveFullscreen},
        {{kDown, VK_ESCAPE, false, false, true, true}, A::None},
        {{kDown, VK_ESCAPE, false, false, false, false}, A::None},
        {{kDown, VK_ESCAPE, false, false, false, true}, A::None},
        // F6 moves into the site bar, once per press; with Ctrl or Alt it is the page's.
        {{kDown, VK_F6, false, false, false, false}, A::FocusSiteBar},
        {{kDown, VK_F6, false, false, false, false, true}, A::None},
        {{kDown, VK_F6, true, false, false, false}, A::None},
        {{kSysDown, VK_F6, false, true, false, false}, A::None},
        // Ctrl+R; R alone, Alt+R and Ctrl+Alt+R (AltGr+R, a character) are the page's.
        {{kDown, 'R', true, false, false, false}, A::ReloadPage},
        {{kDown, 'R', true, false, false, false, true}, A::ReloadPage},  // held: reloads again
        {{kSysDown, 'R', true, true, true, false}, A::None},
        {{kDown, 'R', true, true, false, false}, A::None},
        {{kDown, 'R', false, false, false, false}, A::None},
        {{kSysDown, 'R', false, true, false, false}, A::None},
        // Ctrl+L, once while held; L alone, Alt+L and AltGr+L ("ł") are the page's.
        {{kDown, 'L', true, false, false, false}, A::ChangeSiteAddress},
        {{kDown, 'L', true, false, false, false, true}, A::None},
        {{kSysDown, 'L', true, true, false, false}, A::None},
        {{kDown, 'L', true, true, false, false}, A::None},
        {{kDown, 'L', false, false, false, false}, A::None},
        {{kSysDown, 'L', false, true, false, false}, A::None},
        // A held F11 toggles once; a held Esc still only leaves.
        {{kDown, VK_F11, false, false, true, false, true}, A::None},
        {{kDown, VK_ESCAPE, false, false, true, false, true}, A::LeaveFullscreen},
        // Alt+Home, also with Ctrl; Home and Ctrl+Home are the page's.
        {{kSysDown, VK_HOME, false, true, false, false}, A::GoHome},
        {{kSysDown, VK_HOME, true, true, true, true}, A::GoHome},
        {{kDown, VK_HOME, false, false, false, false}, A::None},
        {{kDown, VK_HOME, true, false, false, false}, A::None},
        // Anything else, and the key code a failed query leaves.
        {{kDown, 'X', true, true, false, false}, A::None},
        {{kDown, VK_F3, true, false, false, false}, A::None},  // 0x72 is 'r', not 'R'
        {{kDown, 0, true, true, true, false}, A::None},
    };
    for (const Case& c : cases) {
        const Key& k = c.in;
        SCOPED_TRACE(testing::Message() << "kind " << k.kind << " key 0x" << std::hex << k.key << " ctrl " << k.ctrl
                                        << " alt " << k.alt << " fullscreen " << k.isFullscreen << " page "
                                        << k.pageFullscreen << " repeat " << k.repeat);
        EXPECT_EQ(MapAcceleratorKey(k.kind, k.key, k.ctrl, k.alt, k.repeat, k.isFullscreen, k.pageFullscreen),
                  c.action);
    }
}

struct FakeKeyEvent : FakeUnknown<ICoreWebView2AcceleratorKeyPressedEventArgs> {
    COREWEBVIEW2_KEY_EVENT_KIND kind = COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
    UINT key = 0;
    BOOL repeat = FALSE;
    bool failKind = false, failKey = false;
    std::vector<BOOL> handled;

    HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* value) override {
        if (failKind) return E_FAIL;
        *value = kind;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* value) override {
        if (failKey) return E_FAIL;
        *value = key;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* value) override {
        value->WasKeyDown = repeat;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) override {
        handled.push_back(value);
        return S_OK;
    }
};

// Ctrl and Alt as this thread's keyboard state, where GetKeyState reads them.
void HoldModifiers(bool ctrl, bool alt) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    keys[VK_MENU] = keys[VK_LMENU] = alt ? 0x80 : 0;
    SetKeyboardState(keys);
}

// The WM_COMMAND id waiting in the main window's queue, 0 for none.
WPARAM TakePostedCommand(HWND window, LPARAM* lParam = nullptr) {
    MSG msg;
    if (!PeekMessageW(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) return 0;
    if (lParam) *lParam = msg.lParam;
    return msg.wParam;
}

TEST(ShortcutHandlerTest, ActsOnTheKeyAndConsumesOnlyWhatItUsed) {
    HWND window = TestMainWindow();
    FakeView view;
    g_app.webview = &view;
    struct Case {
        const char* what;
        Key in;
        bool failKind, failKey;
        bool handled;
        bool reloads;
        WPARAM posted;
        bool fullscreenAfter;
    };
    const Case cases[] = {
        {"F11", {kDown, VK_F11, false, false, false, false}, false, false, true, false, 0, true},
        {"Alt+F11 leaves", {kSysDown, VK_F11, false, true, true, false}, false, false, true, false, 0, false},
        {"F11 over a page element", {kDown, VK_F11, false, false, true, true}, false, false, true, false, 0, false},
        {"F11 released", {kUp, VK_F11, false, false, false, false}, false, false, false, false, 0, false},
        {"Esc leaves", {kDown, VK_ESCAPE, false, false, true, false}, false, false, true, false, 0, false},
        {"Esc left to the page", {kDown, VK_ESCAPE, false, false, true, true}, false, false, false, false, 0, true},
        {"Esc windowed", {kDown, VK_ESCAPE, false, false, false, false}, false, false, false, false, 0, false},
        {"Ctrl+R", {kDown, 'R', true, false, false, false}, false, false, true, true, 0, false},
        {"AltGr+R", {kSysDown, 'R', true, true, false, false}, false, false, false, false, 0, false},
        {"F11 held", {kDown, VK_F11, false, false, false, false, true}, false, false, false, false, 0, false},
        {"Ctrl+L held", {kDown, 'L', true, false, false, false, true}, false, false, false, false, 0, false},
        {"R", {kDown, 'R', false, false, false, false}, false, false, false, false, 0, false},
        {"Ctrl+R released", {kUp, 'R', true, false, false, false}, false, false, false, false, 0, false},
        {"Ctrl+L", {kDown, 'L', true, false, false, false}, false, false, true, false, ID_SITE_CHANGE, false},
        {"Alt+L", {kSysDown, 'L', false, true, false, false}, false, false, false, false, 0, false},
        {"Alt+Home", {kSysDown, VK_HOME, false, true, false, false}, false, false, true, false, ID_SITE_HOME, false},
        {"Ctrl+Home", {kDown, VK_HOME, true, false, false, false}, false, false, false, false, 0, false},
        {"kind unreadable", {kDown, VK_F11, false, false, false, false}, true, false, false, false, 0, false},
        {"key unreadable", {kDown, VK_F11, false, false, false, false}, false, true, false, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        while (TakePostedCommand(window)) {
        }
        if (c.in.isFullscreen) SetFullscreen(true);
        g_app.pageFullscreen = c.in.pageFullscreen;
        view.calls.clear();
        HoldModifiers(c.in.ctrl, c.in.alt);
        ASSERT_EQ(GetKeyState(VK_CONTROL) < 0, c.in.ctrl);
        ASSERT_EQ(GetKeyState(VK_MENU) < 0, c.in.alt);

        FakeKeyEvent event;
        event.kind = c.in.kind;
        event.key = c.in.key;
        event.failKind = c.failKind;
        event.failKey = c.failKey;
        event.repeat = c.in.repeat;
        EXPECT_EQ(OnAcceleratorKeyPressed(&event), S_OK);

        EXPECT_EQ(event.handled, c.handled ? std::vector<BOOL>{TRUE} : std::vector<BOOL>{});
        EXPECT_EQ(view.calls, c.reloads ? std::vector<std::wstring>{L"Reload"} : std::vector<std::wstring>{});
        // Posted, not run inside the event: the command waits in the queue.
        LPARAM lParam = -1;
        EXPECT_EQ(TakePostedCommand(window, &lParam), c.posted);
        if (c.posted) {
            EXPECT_EQ(lParam, 0);
        }
        EXPECT_EQ(TakePostedCommand(window), 0u);
        EXPECT_EQ(g_app.isFullscreen, c.fullscreenAfter);
        EXPECT_EQ(g_app.pageFullscreen, c.in.pageFullscreen);

        if (g_app.isFullscreen) SetFullscreen(false);
    }
    HoldModifiers(false, false);
    g_app.webview = nullptr;
    g_app.pageFullscreen = false;
}

}  // namespace
