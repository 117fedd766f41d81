// The main window opens where it was left: its normal rectangle and
// maximised state, kept in config.ini as "window=left,top,right,bottom,max".
#pragma once

#include <windows.h>

#include <string>

#include "app/app_state.h"

// "window=" value <-> place. A value that doesn't parse, or an empty
// rectangle, gives false and leaves place alone.
bool ParseWindowPlace(const std::string& value, WindowPlace* place);
std::string FormatWindowPlace(const WindowPlace& place);

// Whether a window at rect can be seen and grabbed on a monitor with this
// work area: its caption row lies on the area, and enough of its width.
bool PlaceShowsOn(const RECT& rect, const RECT& workArea);

// Puts the new main window at g_app.place when that is still on a monitor,
// else keeps its default place, and returns the show command to use for the
// one the process was given (maximised when it was left so).
int RestoreWindowPlace(HWND window, int showCommand);
// Takes the window's place into g_app.place at quit: from fullscreen, the
// place fullscreen came from.
void TakeWindowPlace(HWND window);
