// Borderless fullscreen over the whole monitor, and back to the exact earlier
// placement; follows the page when it shows an element fullscreen, and
// leaves with the page only when the page was what entered it.
#pragma once

#include "webview/engine.h"

// A kiosk never leaves it.
void SetFullscreen(bool on);
// Puts the fullscreen window over the whole of that monitor; false when the
// monitor can't be had.
bool CoverMonitor(HMONITOR on);

// Body of the engine's ContainsFullScreenElementChanged event.
HRESULT OnPageFullscreenChanged(ICoreWebView2* sender);
