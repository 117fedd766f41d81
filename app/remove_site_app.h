// Removing a site app: velotide.exe --remove-app <id> (its entry in Settings >
// Apps, and Site > Remove this app... inside the app) asks first, asks a
// running instance of the app to quit (its page asked first, as for any
// close), then removes its shortcut, its entry and its folder.
#pragma once

#include <string>

// Removes the app after asking; the process's exit code: 0 (removed, or the
// person said no), 2 when id names no app.
int RemoveSiteApp(const std::wstring& id);

// Site > Remove this app... inside an app: velotide.exe --remove-app with its
// id, which asks and, on yes, asks this instance to quit.
void AskToRemoveThisApp();

// An app that was still running when it was removed left its folder with a
// mark: the folder goes at its next start.
void FinishRemovingApp(const std::wstring& id);
