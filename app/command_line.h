// What a command line asks of the program: the one velotide.exe was started
// with, and the one Windows keeps in the Run value to start it at sign-in.
#pragma once

#include <string>

struct CommandLine {
    std::wstring program;     // the exe the line starts, unquoted
    bool background = false;  // "--background": started by Windows at sign-in
    std::wstring app;         // "--app <id>": the site app to run (the id as given, not checked)
    std::wstring removeApp;   // "--remove-app <id>": the site app to remove
    bool appGiven = false, removeAppGiven = false;  // the word stood there, with or without an id
};

// Splits a whole command line (program first, as GetCommandLineW gives it)
// the way the C runtime would. Words it doesn't know are ignored.
CommandLine ParseCommandLine(const wchar_t* line);
