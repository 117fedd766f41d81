// Brings the page back when the engine loses one of its processes, and stops
// trying when the loss comes back at once.
#pragma once

#include <windows.h>

#include "webview/engine.h"

// Posted to the main window when the engine's browser process has exited:
// the view is gone for good, so the engine is started again on the address
// that was shown (RestartWebView).
inline constexpr UINT kRestartEngineMessage = WM_APP + 1;

// A lost renderer is reloaded once; lost again within this time after that
// reload, the page is given up and the failure page says so.
inline constexpr ULONGLONG kRendererRetryWindowMs = 10000;
// Whether a renderer lost at now (milliseconds) may be reloaded, given when
// the last reload after a loss was made (0: never).
bool RendererReloadAllowed(ULONGLONG now, ULONGLONG lastReload);

// Body of the ProcessFailed event. Returns S_OK.
HRESULT OnProcessFailed(ICoreWebView2ProcessFailedEventArgs* args);

// Starts a new engine after the browser process exited. The restarted engine
// must show a page before another loss is met with another restart; a loss
// before that ends the program as a failed start-up does.
void RestartWebView();
