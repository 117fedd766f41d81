// The main window (class "VelotideMain", a site app's its own): its class, menu bar, window procedure and
// the menu commands.
#pragma once

#include <windows.h>

// Registers the window class; the result is not needed by anyone.
void RegisterMainWindowClass();

// Builds the Site and View menus; "Block ad domains" checked from blockAds.
HMENU BuildMenuBar();

// The main window's outer size at 96 DPI.
inline constexpr int kMainWidth = 1360, kMainHeight = 860;

// Creates the main window with g_app.menuBar (not shown yet): 1360x860 at
// 96 DPI, scaled to its monitor's DPI and kept inside its work area.
HWND CreateMainWindow();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
