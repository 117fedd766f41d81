// Windows keys in the words of the DevTools protocol's key events.
#pragma once

#include <windows.h>

#include <string>

// The DOM key value of a virtual key: its name for keys that type nothing
// ("Enter", "ArrowLeft", "F11"), else the character it types in the current
// layout with Shift and AltGr as given and Ctrl ignored ("a", "A", "ł").
std::string DomKey(UINT virtualKey, UINT scanCode, const BYTE keyState[256]);
// Alt 1, Ctrl 2, Meta 4, Shift 8, as the keys are down now.
int DomModifiers();
