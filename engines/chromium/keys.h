// Windows keys in the words of the DevTools protocol's key events.
#pragma once

#include <windows.h>

#include <string>

// The DOM key value of a virtual key going down at window: its name for keys
// that type nothing ("Enter", "ArrowLeft", "F11"), else the character it
// types, as TranslateMessage queued it ("a", "A", "ł", "Dead" for a dead key),
// or with Ctrl held the key's own character.
std::string DomKey(UINT virtualKey, HWND window);
// Alt 1, Ctrl 2, Meta 4, Shift 8, as the keys are down now.
int DomModifiers();
