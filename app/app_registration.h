// A site app as Windows knows it: its Start menu shortcut and its entry in
// Settings > Apps. Needs COM on the calling thread.
#pragma once

#include <string>
#include <vector>

// Whether app id has its entry in Settings > Apps.
bool AppIsRegistered(const std::wstring& id);
// Adds the shortcut (running exe --app id with the app's icon and
// AppUserModelID) and the entry (publisher: the site's host); false, with
// neither left, when one of them could not be made.
bool RegisterApp(const std::wstring& id, const std::wstring& name, const std::wstring& host, const std::wstring& exe);
// Removes every Start menu shortcut that runs app id.
void DeleteAppShortcuts(const std::wstring& id);
// Removes the app's entry and its shortcuts.
void UnregisterApp(const std::wstring& id);
// The shortcuts and entries of apps ids that name an exe which no longer
// exists (Velotide moved) are pointed at this one; the others are only read.
void RepairAppRegistration(const std::vector<std::wstring>& ids);
