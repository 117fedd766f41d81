// The program runs as plain Velotide, as a site app (velotide.exe --app
// <id>): a site of its own in the Start menu and on the taskbar, with its own
// folder, settings, sign-in and single instance; or as a site's own program
// (an exe with a preset, made with --make-program), known by its own id the
// same way. What tells them apart is here, from g_app.appId (empty for plain
// Velotide) and g_app.program.id (empty but in a site's own program).
#pragma once

#include <windows.h>

#include <string>

// Velotide's folder in the per-user local application data ("." when Windows
// has none), and a site app's inside it.
std::wstring VelotideFolder();
std::wstring AppFolder(const std::wstring& id);
// This program's data directory: Velotide's, a site app's, or a site's own
// program's (Programs\<id>, so it never shares their settings or sign-in).
std::wstring DataFolder();
// Makes DataFolder(), with the folders above it up from Velotide's own.
void MakeDataFolder();

// Deletes folder with everything in it; false when something in it could
// not go (an app that still runs holds its files).
bool DeleteFolderWhole(const std::wstring& folder);

// Whether id names an app that exists: a valid id with a settings file.
bool AppExists(const std::wstring& id);

// What this program is known by: its window class (how a second start finds
// its window), its single-instance mutex, its AppUserModelID (Windows' name
// for its taskbar button and notifications) and its Run value.
std::wstring MainWindowClass();
std::wstring InstanceMutexName();
std::wstring AppUserModelId();
std::wstring AppUserModelIdOf(const std::wstring& id);  // a site app's
std::wstring RunValueName();
// What the Run value starts this program with, after the exe.
std::wstring RunArguments();
// The window's title: the app's name, or "Velotide".
std::wstring ProgramName();

// Starts this exe again with arguments (an app, a removal), letting it come
// to the front; false when it could not be started.
bool StartVelotide(const std::wstring& arguments);

// The message for an id that names no app, and exit code 2: nothing is made.
int SayThereIsNoSuchApp(const std::wstring& id);
// The message for a site's own program whose preset can't be read or names
// no valid site, and exit code 2: the file is at fault, not the person.
int SayProgramIsDamaged();

// Gives a site app's window its icon (icon.ico in its folder) at the
// window's DPI; plain Velotide keeps its class icon.
void SetAppWindowIcon(HWND window);
