// Brings the engine up inside the main window: extracts and loads the loader
// library, then completes asynchronously from the message loop.
#pragma once

// Starts the engine. On failure it has shown its message and posted quit 1.
void StartWebView();
// Loads the extracted loader and asks it for an environment and a view; the
// rest follows from the message loop. Also used to start the engine again.
void StartEngine();
// Lets go of the view, controller and environment (each only if set).
void ReleaseWebView();
// Says the runtime was not found and posts quit 1, as a failed start-up does.
void ReportRuntimeMissing();
