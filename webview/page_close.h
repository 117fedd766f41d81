// Closing the main window asks the page first, as a browser does: the page's
// beforeunload handler may keep what the person typed. The runtime has no
// "try to close": the view is sent to about:blank, whose NavigationStarting
// comes only once the page agreed to be left (or had no handler); that
// navigation is cancelled and the window closes. Where the program shows the
// page's dialogs itself (webview/page_dialogs), it knows the person's answer
// to the page's question and acts on that. Elsewhere it takes the runtime's
// word: staying, the navigation completes as cancelled without having
// started, and the close is over.
#pragma once

#include <windows.h>

#include <string>

#include "webview/engine.h"

// Asks the page whether it may be left; false when there is nothing to ask
// and the window may close at once: no view, one of the program's own pages,
// or a question already open (a second close never waits for a hung page).
// Dialogs the page had open end as Cancel first.
bool AskPageToLeave();

// NavigationStarting, first: true when the navigation is the close's own,
// which it has cancelled (the person agreed: the window goes).
bool TakeCloseNavigation(ICoreWebView2NavigationStartingEventArgs* args, const std::wstring& address);
// NavigationCompleted, first: a cancelled navigation that never started while
// the close waits is the close's own, stayed; a later close asks again.
void NoteCloseNavigationCompleted(UINT64 id, BOOL isSuccess, COREWEBVIEW2_WEB_ERROR_STATUS status);
