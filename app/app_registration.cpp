#include "app/app_registration.h"

#include <windows.h>
#include <shlobj.h>

#include "app/app_shortcut.h"
#include "app/app_uninstall_entry.h"
#include "app/exe_path.h"
#include "app/site_app.h"

static std::wstring Arguments(const std::wstring& id) { return L"--app " + id; }

// Calls found with the path of each Start menu shortcut and what it holds.
template <typename F>
static void ForEachShortcut(F found) {
    wchar_t programs[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs))) return;
    WIN32_FIND_DATAW file;
    HANDLE search = FindFirstFileW((std::wstring(programs) + L"\\*.lnk").c_str(), &file);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring path = std::wstring(programs) + L"\\" + file.cFileName;
        Shortcut shortcut;
        if (ReadShortcut(path, &shortcut)) found(path, shortcut);
    } while (FindNextFileW(search, &file));
    FindClose(search);
}

bool AppIsRegistered(const std::wstring& id) {
    UninstallEntry entry;
    return ReadUninstallEntry(id, &entry);
}

bool RegisterApp(const std::wstring& id, const std::wstring& name, const std::wstring& host, const std::wstring& exe) {
    std::wstring icon = AppFolder(id) + L"\\icon.ico";
    std::wstring path = StartMenuShortcutPath(name, id);
    // Another app (or program) of the same name keeps its shortcut: this one
    // is told apart by its id.
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) path = StartMenuShortcutPath(name + L" (" + id + L")", id);
    if (path.empty() || !WriteShortcut(path, {exe, Arguments(id), icon, AppUserModelId(id), name})) return false;
    if (WriteUninstallEntry(id, {name, icon, host, AppFolder(id), exe})) return true;
    DeleteShortcut(path);
    return false;
}

void DeleteAppShortcuts(const std::wstring& id) {
    ForEachShortcut([&](const std::wstring& path, const Shortcut& shortcut) {
        if (shortcut.arguments == Arguments(id)) DeleteShortcut(path);
    });
}

void UnregisterApp(const std::wstring& id) {
    DeleteUninstallEntry(id);
    DeleteAppShortcuts(id);
}

void RepairAppRegistration(const std::vector<std::wstring>& ids) {
    std::wstring exe = ThisExePath();
    if (exe.empty() || ids.empty()) return;
    ForEachShortcut([&](const std::wstring& path, Shortcut shortcut) {
        if (!ExeIsGone(shortcut.target)) return;
        for (const std::wstring& id : ids) {
            if (shortcut.arguments != Arguments(id)) continue;
            shortcut.target = exe;
            WriteShortcut(path, shortcut);
            return;
        }
    });
    for (const std::wstring& id : ids) {
        UninstallEntry entry;
        if (ReadUninstallEntry(id, &entry) && ExeIsGone(entry.exe)) {
            entry.exe = exe;
            WriteUninstallEntry(id, entry);
        }
    }
}
