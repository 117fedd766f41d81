// The program runs as plain Velotide, as a site app (velotide.exe --app
// <id>): a site of its own in the Start menu and on the taskbar, with its own
// folder, settings, sign-in and single instance; or as a site's own program
// (an exe with a preset, made with --make-program), known by its own id the
// same way. What tells them apart is here, from g_app.appId (empty for plain
// Velotide) and g_app.program.id (empty but in a site's own program).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"

// Velotide's folder in the per-user local application data ("." when Windows
// has none), and a site app's inside it.
std::wstring VelotideFolder();
std::wstring AppFolder(const std::wstring& id);
// This program's data directory: Velotide's, a site app's, or a site's own
// program's (Programs\<id>, so it never shares their settings or sign-in).
std::wstring DataFolder();
// Makes DataFolder(), with the folders above it up from Velotide's own.
void MakeDataFolder();
// Where plain Velotide (id empty; a site's own program in its place) or app
// id keeps the site's sign-in. Velotide and its apps share Velotide's own
// user-data folder (Velotide\WebView2), each app as a profile named after
// its id ("Velotide.App.<id>"), so that all of them run on one set of the
// runtime's processes. An app whose folder already holds a WebView2 folder
// (made before apps shared, or where the runtime could not make its
// profile) keeps that folder, where its sign-in is, until it is removed; a
// site's own program keeps its own.
ViewProfile ProfileOf(const std::wstring& id);
// The ids of the folders in Apps: every app, and what is left of removed ones.
std::vector<std::wstring> AppIds();

// Deletes folder (or a file) with everything in it; false when something in
// it could not go (an app that still runs holds its files).
bool DeleteFolderWhole(const std::wstring& folder);

// Whether id names an app that exists: a valid id with a settings file.
bool AppExists(const std::wstring& id);

// Whether an instance of app id runs: its single-instance mutex exists.
bool AppIsRunning(const std::wstring& id);

// What plain Velotide (id empty; a site's own program in its place) or app
// id is known by: its window class (how a second start finds its window),
// its single-instance mutex, its AppUserModelID (Windows' name for its
// taskbar button and notifications) and its Run value.
std::wstring MainWindowClass(const std::wstring& id);
std::wstring InstanceMutexName(const std::wstring& id);
std::wstring AppUserModelId(const std::wstring& id);
std::wstring RunValueName(const std::wstring& id);
// What the Run value starts it with, after the exe.
std::wstring RunArguments(const std::wstring& id);
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

// This program's icon at pixels: a site app's own (icon.ico in its folder),
// else Velotide's. The caller destroys it.
HICON LoadOwnIcon(int pixels);

// Gives a site app's window its icon (icon.ico in its folder) at the
// window's DPI; plain Velotide keeps its class icon.
void SetAppWindowIcon(HWND window);
