// The exe that Windows is told to run: this one, and whether what a shortcut,
// an uninstall entry or the Run value names must be made to name this one.
#pragma once

#include <string>

// This exe's full path; empty when it can't be had.
std::wstring ThisExePath();

// True when exe is known to be gone: the program was moved, or installed
// elsewhere and the old copy removed, so what names it no longer starts
// anything and should name the exe that is running now. False for an exe
// that's there, an empty path, and one that can't be looked at right now (a
// network share or a drive that may come back).
bool ExeIsGone(const std::wstring& exe);
