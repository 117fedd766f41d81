// Brings the engine up inside the main window: extracts and loads the loader
// library, then completes asynchronously from the message loop.
#pragma once

#include <windows.h>

#include <string>

#include "webview/engine.h"

// The loader's export, or null when the loader could not be loaded.
using CreateEnvironment = decltype(&CreateCoreWebView2EnvironmentWithOptions);
// Writes the loader (resource 2) into folder unless it is there already,
// loads it for the life of the process and returns its export.
CreateEnvironment LoadLoader(const std::wstring& folder);

// Starts the engine, in g_app.profile. area gives the view's rectangle in
// the main window (its client area less what the window shows beside the
// view); every view made,
// this one and any after a restart, fits it before it shows anything. A
// failure, now or in a completion, is posted to the main window
// (kNoticeStartupFailed), which shows it and ends with exit code 1.
void StartWebView(RECT (*area)());
// Starts a new engine after the browser process exited, on the page that was
// shown, with a fresh record of the view's navigations. The restarted engine
// must show a page before another loss is met with another restart; a loss
// before that ends the program as a failed start-up does, except in a kiosk,
// which starts it again (app/try_again waits before each such restart).
void RestartWebView();
// Closes the view and makes a new one in the same environment, which opens
// the site: a public kiosk's fresh start for the next visitor.
void ReopenView();
// Lets go of the view, controller and environment (each only if set).
void ReleaseWebView();
