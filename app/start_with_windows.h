// "Start with Windows": a value of the per-user Run key that starts this exe
// in the background at sign-in.
#pragma once

// The value exists and starts this exe.
bool StartsWithWindows();
// Writes the value for this exe, or removes it.
void SetStartWithWindows(bool on);
// At start: a value left by an exe that has since moved or gone now starts
// this one, so sign-in keeps starting the program.
void RepairStartWithWindows();
