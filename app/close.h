// Closing the main window asks the page first, as a browser does: the page's
// beforeunload handler may keep what the person typed. The runtime has no
// "try to close": the view is sent to about:blank, whose NavigationStarting
// comes only once the page agreed to be left (or had no handler); that
// navigation is cancelled and the window closes.
#pragma once

#include <windows.h>

#include <string>

#include "webview/engine.h"

// Posted to the main window once the page agreed: destroys it.
inline constexpr UINT kCloseNowMessage = WM_APP + 10;

// Quit and the close box. Closes at once without a view, on the program's
// own pages, and when an earlier request still waits for the page (a hung
// page never keeps the window open); otherwise asks the page.
void RequestClose();

// The main window was enabled again: a modal box over it, the page's
// question among them, was answered. A later close request asks again.
void OnMainWindowEnabled();

// Called first by the NavigationStarting handler with the navigation's
// address: true when the navigation was the close's own, which it has
// cancelled.
bool TakeCloseNavigation(ICoreWebView2NavigationStartingEventArgs* args, const std::wstring& address);
