// Where the main window was left, as the "window=" line of config.ini keeps
// it: "left,top,right,bottom,max", the normal (restored) rectangle in
// workspace coordinates and whether it was maximised.
#pragma once

#include <windows.h>

#include <string>

struct WindowPlace {
    RECT normal = {};
    bool maximised = false;
    bool known = false;  // read from the file or taken at quit
};

// "window=" value <-> place. A value that doesn't parse, or an empty
// rectangle, gives false and leaves place alone.
bool ParseWindowPlace(const std::string& value, WindowPlace* place);
std::string FormatWindowPlace(const WindowPlace& place);
