// The view's side of a kiosk: nothing of the runtime's own that leads
// elsewhere (its context menu, its keys for print, find, zoom, history and
// developer tools, downloads), and a fresh session for each visitor.
#pragma once

#include "webview/engine.h"

// Turns the runtime's context menu and keys off, where the runtime has the
// setting (ICoreWebView2Settings3 for the keys). The page's own menus, keys
// and dialogs are left as they are.
void TurnOffRuntimeControls(ICoreWebView2Settings* settings);
// Registers DownloadStarting, cancelling every download, where the view
// offers it (ICoreWebView2_4).
void AddDownloadRefusal(ICoreWebView2* view);

// The kiosk's idle time has passed: the last visitor's dialogs end and the
// view's profile forgets everything it keeps for sites
// (ICoreWebView2Profile2::ClearBrowsingDataAll), then kNoticeSessionCleared.
void ResetForNextVisitor();
// kNoticeSessionCleared: the site's notification answer is set in the
// profile again and the site loads anew; a public kiosk's view is closed
// and opened again instead, which does both.
void StartForNextVisitor();
