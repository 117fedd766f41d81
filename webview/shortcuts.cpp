#include "webview/shortcuts.h"

#include "app/app_state.h"
#include "app/commands.h"
#include "app/fullscreen.h"
#include "webview/navigation_policy.h"
#include "webview/view_notices.h"

static bool IsKeyDown(COREWEBVIEW2_KEY_EVENT_KIND kind) {
    return kind == COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN || kind == COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN;
}

ShortcutAction MapAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT virtualKey, bool ctrlDown,
                                 bool altDown, bool repeat, bool isFullscreen, bool pageFullscreen) {
    if (!IsKeyDown(kind)) return ShortcutAction::None;
    // A held F11 or Ctrl+L acts once, not at every repeat.
    if (virtualKey == VK_F11) return repeat ? ShortcutAction::None : ShortcutAction::ToggleFullscreen;
    if (virtualKey == VK_ESCAPE) {
        // While the page shows an element fullscreen, Esc belongs to the page.
        return isFullscreen && !pageFullscreen ? ShortcutAction::LeaveFullscreen : ShortcutAction::None;
    }
    // AltGr arrives as Ctrl+Alt: with Alt down these keys type characters.
    if (ctrlDown && !altDown && virtualKey == 'R') return ShortcutAction::ReloadPage;
    if (ctrlDown && !altDown && virtualKey == 'L')
        return repeat ? ShortcutAction::None : ShortcutAction::ChangeSiteAddress;
    if (altDown && virtualKey == VK_HOME) return ShortcutAction::GoHome;
    if (virtualKey == VK_F6 && !ctrlDown && !altDown) return repeat ? ShortcutAction::None : ShortcutAction::FocusSiteBar;
    return ShortcutAction::None;
}

HRESULT OnAcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
    // A failed getter must lead nowhere: a key-up and key 0 match no shortcut.
    COREWEBVIEW2_KEY_EVENT_KIND kind = COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP;
    args->get_KeyEventKind(&kind);
    UINT key = 0;
    args->get_VirtualKey(&key);
    if (!IsKeyDown(kind)) return S_OK;
    COREWEBVIEW2_PHYSICAL_KEY_STATUS status = {};  // a failed call: a first press
    args->get_PhysicalKeyStatus(&status);
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    bool alt = GetKeyState(VK_MENU) < 0;

    ShortcutAction action = MapAcceleratorKey(kind, key, ctrl, alt, status.WasKeyDown, g_app.isFullscreen,
                                              g_app.pageFullscreen);
    // A kiosk keeps only the keys that stay on the site; the rest (Esc, F11,
    // Ctrl+L, F6) are the page's.
    if (g_app.kiosk.on && action != ShortcutAction::ReloadPage && action != ShortcutAction::GoHome) return S_OK;
    switch (action) {
    case ShortcutAction::None:
        return S_OK;
    case ShortcutAction::ToggleFullscreen:
        SetFullscreen(!g_app.isFullscreen);
        break;
    case ShortcutAction::LeaveFullscreen:
        SetFullscreen(false);
        break;
    case ShortcutAction::ReloadPage:
        ReloadView();
        break;
    // The prompt, Home and the bar's focus come from the main loop, after this
    // callback returns.
    case ShortcutAction::ChangeSiteAddress:
        PostMessageW(g_app.mainWindow, WM_COMMAND, ID_SITE_CHANGE, 0);
        break;
    case ShortcutAction::GoHome:
        PostMessageW(g_app.mainWindow, WM_COMMAND, ID_SITE_HOME, 0);
        break;
    case ShortcutAction::FocusSiteBar:
        if (!g_app.siteBar || !IsWindowVisible(g_app.siteBar)) return S_OK;  // no bar: F6 is the page's
        PostViewNotice(kNoticeFocusBar);
        break;
    }
    // Consumed: the page does not see this key.
    args->put_Handled(TRUE);
    return S_OK;
}
