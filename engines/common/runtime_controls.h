// What the runtime itself offers the person beside the page: its context
// menu on a right click, and its keys (print, save, find, zoom, history,
// reload, developer tools), each as the view's settings allow. The engines
// draw no menu and print nothing: they log what the runtime would do, and
// carry out what a view can (history, reload, and SaveAsUIShowing for save).
#pragma once

#include "engines/common/browser.h"

// The runtime's key a key message is, or null: keys going down only, Ctrl,
// Alt and Shift as GetKeyState has them now.
const wchar_t* RuntimeKeyName(UINT message, WPARAM key);
// Whether the view's settings leave the runtime its keys (AreBrowserAcceleratorKeysEnabled).
bool RuntimeKeysOn(const Browser& browser);

// A key no handler of the program took reached the page: when it is one of
// the runtime's keys and the settings leave them on, the runtime acts too
// ("runtime key <name>").
void RunRuntimeKey(Browser& browser, UINT message, WPARAM key);
// A right click on the page: the runtime's menu opens unless the settings
// turned it off ("context menu shown" or "context menu suppressed"); the
// page's own contextmenu event is the page's either way.
void OpenContextMenu(Browser& browser);
