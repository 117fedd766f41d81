// Sizes for the monitor a window is on. Every pixel size the program sets is
// written for 96 DPI (100 %) and scaled to the window's DPI here; at 96 DPI
// nothing changes.
#pragma once

#include <windows.h>

// WM_DPICHANGED, for headers that predate it.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The DPI of the monitor the window is on (GetDpiForWindow), or the screen's
// DPI where the system lacks it; 96 for no window.
UINT WindowDpi(HWND window);
// The DPI a new window on the primary monitor gets.
UINT ScreenDpi();
// A 96-DPI size at dpi, rounded to the nearest pixel.
int ScaleForDpi(int size, UINT dpi);

// The system's message font (the one message boxes use) for dpi. Falls back
// to the font for the screen's DPI, scaled.
LOGFONTW MessageFontFor(UINT dpi);
// That font made; the caller deletes it.
HFONT CreateMessageFont(UINT dpi);
// Gives every child of parent the message font for dpi and deletes old, the
// font they had; returns the new one, for the caller to delete in turn.
HFONT SetMessageFont(HWND parent, UINT dpi, HFONT old);

// WM_DPICHANGED: gives window the rectangle Windows suggests (lParam) for
// its new monitor.
void TakeSuggestedRect(HWND window, LPARAM lParam);

// rect moved and, if it must, shrunk so that it lies wholly inside area.
RECT KeepInside(RECT rect, const RECT& area);
