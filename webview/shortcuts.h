// The keyboard shortcuts, seen by the view before the page: F11, Esc,
// Ctrl+R, Ctrl+L and Alt+Home.
#pragma once

#include "webview/engine.h"

enum class ShortcutAction { None, ToggleFullscreen, LeaveFullscreen, ReloadPage, ChangeSiteAddress, GoHome };

// repeat: the key was down already (auto-repeat).
ShortcutAction MapAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT virtualKey, bool ctrlDown,
                                 bool altDown, bool repeat, bool isFullscreen, bool pageFullscreen);

// Body of the controller's AcceleratorKeyPressed event. Returns S_OK.
HRESULT OnAcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventArgs* args);
