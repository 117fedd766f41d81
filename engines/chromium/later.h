// Work the engine does after a while, from the message loop of the thread
// that asked (a thread timer): the bounds on what waits for Chromium.
#pragma once

#include <windows.h>

#include <functional>

void RunLater(DWORD milliseconds, std::function<void()> task);
