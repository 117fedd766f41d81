// Brings the engine up inside the main window: extracts and loads the loader
// library, then completes asynchronously from the message loop.
#pragma once

// Starts the engine. On failure it has shown its message and posted quit 1.
void StartWebView();

// Shows title and text (HTML fragments, not escaped) as a small dark page.
// Does nothing while there is no view.
void ShowMessagePage(const wchar_t* title, const wchar_t* text);
