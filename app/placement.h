// The main window opens where it was left: its normal rectangle and
// maximised state, kept in config.ini as "window=left,top,right,bottom,max".
#pragma once

#include <windows.h>

#include "app/app_state.h"

// Whether a window at rect can be seen and grabbed on a monitor with this
// work area: its caption row lies on the area, and enough of its width.
bool PlaceShowsOn(const RECT& rect, const RECT& workArea);

// SetWindowPlacement, the rectangle taken as it stands: a move to a monitor
// of another scale on the way doesn't scale it (it was taken at the scale of
// the monitor it belongs to).
void ApplyPlacement(HWND window, const WINDOWPLACEMENT& placement);

// Puts the new main window at g_app.place when that is still on a monitor,
// else keeps its default place, and returns the show command to use for the
// one the process was given (maximised when it was left so).
int RestoreWindowPlace(HWND window, int showCommand);
// The window is being shown (WM_SHOWWINDOW): one that was kept hidden since
// the start and was left maximised is maximised again.
void MaximiseIfLeftSo(HWND window);
// Takes the window's place into g_app.place at quit: from fullscreen, the
// place fullscreen came from; never shown since a hidden start, the place
// it was given.
void TakeWindowPlace(HWND window);
