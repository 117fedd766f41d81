// A site app as Windows knows it: its Start menu shortcut and its entry in
// Settings > Apps. Needs COM on the calling thread.
#pragma once

#include <string>

// Whether app id has its entry in Settings > Apps.
bool AppIsRegistered(const std::wstring& id);
// Adds the shortcut (running exe --app id with the app's icon and
// AppUserModelID) and the entry (publisher: the site's host); false, with
// neither left, when one of them could not be made.
bool RegisterApp(const std::wstring& id, const std::wstring& name, const std::wstring& host, const std::wstring& exe);
// Removes the app's entry and every Start menu shortcut that runs it.
void UnregisterApp(const std::wstring& id);
// At the app's start: a shortcut or entry that names an exe which no longer
// exists (Velotide moved) is pointed at this one.
void RepairAppRegistration();
