// The modal "site address" prompt: asks, validates, stores and opens.
#pragma once

#include <windows.h>

// Runs the prompt to its end (its own message loop) and applies the result.
void PromptForSiteAddress();

LRESULT CALLBACK PromptWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The owner for a message box: the prompt while it is open, so the box never
// hides under it (the prompt stays on top), else the main window.
HWND MessageBoxOwner();
