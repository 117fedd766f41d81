// A site app's Start menu shortcut: it runs this exe with the app's id, shows
// the app's icon, and carries the app's AppUserModelID, which ties the app's
// windows on the taskbar to it. Needs COM on the calling thread.
#pragma once

#include <string>

struct Shortcut {
    std::wstring target;     // the exe
    std::wstring arguments;  // what follows it on the command line
    std::wstring icon;       // an .ico file, its first image
    std::wstring appUserModelId;
    std::wstring description;  // the shortcut's tooltip
};

// "<Start menu programs>\<name as a file name>.lnk", fallback naming the file
// when nothing of name is left; empty when the folder can't be found.
std::wstring StartMenuShortcutPath(const std::wstring& name, const std::wstring& fallback);

// Writes shortcut at path, replacing any file there.
bool WriteShortcut(const std::wstring& path, const Shortcut& shortcut);
// What the shortcut at path holds, read through the shell; false when it
// can't be read. A shortcut with no AppUserModelID gives it empty.
bool ReadShortcut(const std::wstring& path, Shortcut* shortcut);
// True when there is no file at path any more, removed now or gone before.
bool DeleteShortcut(const std::wstring& path);
