// The exe that Windows is told to run: this one, and whether what a shortcut,
// an uninstall entry or the Run value names must be made to name this one.
#pragma once

#include <windows.h>

#include <string>

// This exe's full path; empty when it can't be had.
std::wstring ThisExePath();

// True when exe is known to be gone: the program was moved, or installed
// elsewhere and the old copy removed, so what names it no longer starts
// anything and should name the exe that is running now. False for an exe
// that's there, an empty path, and one that can't be looked at right now (a
// network share or a drive that may come back).
bool ExeIsGone(const std::wstring& exe);

// Whether path names this exe's own file (by what the file system knows it
// as, so another spelling or a link to it counts too).
bool IsThisExe(const std::wstring& path);

// A resource's bytes in module (this exe when null); empty when it has none
// of that name and type.
std::string ExeResource(HMODULE module, const wchar_t* name, const wchar_t* type);
