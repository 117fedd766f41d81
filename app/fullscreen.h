// Borderless fullscreen over the whole monitor, and back to the exact earlier
// placement; follows the page when it shows an element fullscreen.
#pragma once

#include "webview/engine.h"

void SetFullscreen(bool on);

// Body of the engine's ContainsFullScreenElementChanged event.
HRESULT OnPageFullscreenChanged(ICoreWebView2* sender);
