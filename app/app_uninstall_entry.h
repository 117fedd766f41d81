// A site app's entry in Settings > Apps (and Programs and Features): its
// name, icon and publisher, and the command that removes it. Only removal is
// offered: no modify or repair.
#pragma once

#include <string>

struct UninstallEntry {
    std::wstring name;
    std::wstring icon;       // the app's .ico file
    std::wstring publisher;  // the site's host
    std::wstring folder;     // the app's own folder
    std::wstring exe;        // the exe the removal command runs
};

// Writes the entry of app id; removal runs "<exe>" --remove-app <id>. On a
// failure no half-written entry is left and the result is false.
bool WriteUninstallEntry(const std::wstring& id, const UninstallEntry& entry);
// The entry of app id, the exe as its removal command names it; false when
// there is none or it can't be read.
bool ReadUninstallEntry(const std::wstring& id, UninstallEntry* entry);
// True when app id has no entry any more, removed now or never written.
bool DeleteUninstallEntry(const std::wstring& id);
