// "Start with Windows": a value of the per-user Run key that starts this exe
// in the background at sign-in, one for plain Velotide (id empty) and one
// for each site app that asks for it.
#pragma once

#include <string>

// The value exists and starts this exe.
bool StartsWithWindows(const std::wstring& id);
// Writes the value for this exe, or removes it.
void SetStartWithWindows(const std::wstring& id, bool on);
// A value left by an exe that has since moved or gone now starts this one,
// so sign-in keeps starting the program.
void RepairStartWithWindows(const std::wstring& id);
