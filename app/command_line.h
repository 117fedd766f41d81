// What a command line asks of the program: the one velotide.exe was started
// with, and the one Windows keeps in the Run value to start it at sign-in.
#pragma once

#include <string>
#include <vector>

// "--make-program OUT --url ADDRESS --name NAME [--icon FILE] [--allow
// ORIGIN]... [--notifications allow|block|ask]": the values as given, not
// checked.
struct ProgramRequest {
    std::wstring out, url, name, icon, notifications;
    std::vector<std::wstring> allow;
    std::wstring fault;  // what is wrong with the words themselves, in one line; empty when nothing
};

struct CommandLine {
    std::wstring program;     // the exe the line starts, unquoted
    bool background = false;  // "--background": started by Windows at sign-in
    std::wstring app;         // "--app <id>": the site app to run (the id as given, not checked)
    std::wstring removeApp;   // "--remove-app <id>": the site app to remove
    bool appGiven = false, removeAppGiven = false;  // the word stood there, with or without an id
    bool makeProgramGiven = false;  // "--make-program": everything else is for it
    ProgramRequest makeProgram;
};

// Splits a whole command line (program first, as GetCommandLineW gives it)
// the way the C runtime would. Words it doesn't know are ignored, unless
// --make-program stands there: they are then its fault.
CommandLine ParseCommandLine(const wchar_t* line);
