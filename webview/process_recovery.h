// Brings the page back when the engine loses one of its processes, and stops
// trying when the loss comes back at once; a kiosk never stops, it waits
// longer before each try.
#pragma once

#include <windows.h>

#include "webview/engine.h"

// A lost renderer is reloaded once; lost again within this time after that
// reload, the page is given up and the failure page says so.
inline constexpr ULONGLONG kRendererRetryWindowMs = 10000;

// Whether a renderer lost at now (milliseconds) may be reloaded, given when
// the last reload after a loss was made (0: never).
bool RendererReloadAllowed(ULONGLONG now, ULONGLONG lastReload);

// Body of the ProcessFailed event: a lost renderer is reloaded (in a kiosk,
// after the recovery schedule's wait, kNoticeTryAgainLater); a lost browser
// process is posted to the window (kNoticeRestartEngine), whose answer is
// RestartWebView. Returns S_OK.
HRESULT OnProcessFailed(ICoreWebView2ProcessFailedEventArgs* args);
