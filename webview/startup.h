// Brings the engine up inside the main window: extracts and loads the loader
// library, then completes asynchronously from the message loop.
#pragma once

#include <windows.h>

// Starts the engine. On failure it has shown its message and posted quit 1.
void StartWebView();
// Lets go of the view, controller and environment (each only if set).
void ReleaseWebView();

// Posted to the main window when the engine's browser process has exited:
// the view is gone for good, so the engine is started again, once, on the
// address that was shown (RestartWebView). A second loss ends the program
// as a failed start-up does.
inline constexpr UINT kRestartEngineMessage = WM_APP + 1;
void RestartWebView();

// Shows title and text (HTML fragments, not escaped) as a small dark page.
// Does nothing while there is no view.
void ShowMessagePage(const wchar_t* title, const wchar_t* text);
