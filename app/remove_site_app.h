// Removing a site app: velotide.exe --remove-app <id> (its entry in Settings >
// Apps, and Site > Remove this app... inside the app) asks first, asks a
// running instance of the app to quit (its page asked first, as for any
// close; when the person stays, nothing is removed), then removes its Run
// value, its shortcut, its folder (the engine's files first, its settings
// last) and its entry.
#pragma once

#include <string>

// Removes the app after asking; the process's exit code: 0 (removed, or the
// person said no), 1 when the app stayed open or files of it are left (said
// in a message box), 2 when id names no app.
int RemoveSiteApp(const std::wstring& id);

// Site > Remove this app... inside an app: velotide.exe --remove-app with its
// id, which asks and, on yes, asks this instance to quit.
void AskToRemoveThisApp();

// An app whose files were held when it was removed, or whose profile in the
// folder it shared with Velotide waits for no Velotide to run, has a mark in
// its folder: what is left of it goes now (at Velotide's start, or the
// app's), unless an instance of it runs again. True when it was being
// removed and no instance runs: it is not to be started.
bool FinishRemovingApp(const std::wstring& id);
