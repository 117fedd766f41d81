// The slim bar across the top of the main window that names a link to
// another site the view did not follow: "HOST is another site", with Open in
// browser, Allow in Velotide and a close button. The view gives up the strip
// it takes while it shows; fullscreen hides it.
#pragma once

#include <windows.h>

#include <string>

inline constexpr wchar_t kSiteBarClass[] = L"VelotideSiteBar";

// Shows the bar for address (an http or https address), replacing what it
// named before.
void ShowSiteBar(const std::wstring& address);
// Closes the bar, when it shows; the focus goes back to the view if it was in the bar.
void CloseSiteBar();

// Gives the bar, while it shows, the strip at the top of client (the main
// window's client area) and returns the strip's height; 0 while it is closed
// or the window is fullscreen.
int PlaceSiteBar(const RECT& client);

// Moves the keyboard focus to the bar's first button; false while it is closed.
bool FocusSiteBar();

LRESULT CALLBACK SiteBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
