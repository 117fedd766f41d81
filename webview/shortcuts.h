// The keyboard shortcuts, seen by the view before the page: F11, Esc,
// Ctrl+R, Ctrl+L, Alt+Home and F6 (into the site bar).
#pragma once

#include "webview/engine.h"

enum class ShortcutAction { None, ToggleFullscreen, LeaveFullscreen, ReloadPage, ChangeSiteAddress, GoHome,
                            FocusSiteBar };

// repeat: the key was down already (auto-repeat).
ShortcutAction MapAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT virtualKey, bool ctrlDown,
                                 bool altDown, bool repeat, bool isFullscreen, bool pageFullscreen);

// Body of the controller's AcceleratorKeyPressed event. Returns S_OK.
HRESULT OnAcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventArgs* args);
