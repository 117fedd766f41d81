// The view's side of a kiosk: nothing of the runtime's own that leads
// elsewhere (its context menu, its keys for print, find, zoom, history and
// developer tools, swiping through history, downloads), no way to a file or
// print dialog, and a fresh session for each visitor.
#pragma once

#include "webview/engine.h"

// Turns the runtime's context menu, keys and swipe navigation off and hides
// the PDF viewer's Save, Save as and Print, each where the runtime has the
// setting (ICoreWebView2Settings3, 6 and 7). The page's own menus, keys and
// dialogs are left as they are.
void TurnOffRuntimeControls(ICoreWebView2Settings* settings);
// What a page could open on its own: every download is cancelled
// (ICoreWebView2_4), and every "Save as" (ICoreWebView2_25), where the view
// offers the event; a script in every document, every frame, makes print(),
// the file and folder pickers and file inputs do nothing.
void AddKioskRefusals(ICoreWebView2* view);

// The kiosk's idle time has passed: the last visitor's dialogs end and the
// view's profile forgets everything it keeps for sites
// (ICoreWebView2Profile2::ClearBrowsingDataAll), then kNoticeSessionCleared.
void ResetForNextVisitor();
// kNoticeSessionCleared: the view is closed and opened again, so that the
// next visitor has no pages to go back to; the new view sets the site's
// notification answer in the profile again and loads the site.
void StartForNextVisitor();
