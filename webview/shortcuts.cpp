#include "webview/shortcuts.h"
// placeholder until the shortcuts land
ShortcutAction MapAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND, UINT, bool, bool, bool, bool) { return ShortcutAction::None; }
HRESULT OnAcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventArgs*) { return S_OK; }
