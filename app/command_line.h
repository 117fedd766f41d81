// What a command line asks of the program: the one velotide.exe was started
// with, and the one Windows keeps in the Run value to start it at sign-in.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"

// "--make-program OUT --url ADDRESS --name NAME [--icon FILE] [--allow
// ORIGIN]... [--notifications allow|block|ask] [--publisher NAME]
// [--version A.B.C.D]": the values as given, not checked.
struct ProgramRequest {
    std::wstring out, url, name, icon, notifications, publisher, version;
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
    // "--kiosk [ADDRESS]", "--kiosk-allow-sleep", "--kiosk-idle-minutes N"
    // and "--kiosk-public"; the last three are checked always, and count
    // only with --kiosk.
    KioskMode kiosk;
    std::wstring site;     // the kiosk's site address, normalised; "" when the line names none
    std::wstring problem;  // what is wrong with the line, in the program's words; "" when nothing is
};

// Splits a whole command line (program first, as GetCommandLineW gives it)
// the way the C runtime would. Words it doesn't know are ignored, unless
// --make-program stands there: they are then its fault. In a kiosk's line
// every word that is no switch names the site, and a --kiosk- switch it
// doesn't know is a problem.
CommandLine ParseCommandLine(const wchar_t* line);

// A word of the command line as a message names it: in quotes, its first 64
// characters, control characters as spaces.
std::wstring QuotedForMessage(const std::wstring& word);

// Says what is wrong with the command line, as the program's other start-up
// messages are said, and gives exit code 2: nothing was started or changed.
int SayCommandLineProblem(const std::wstring& problem);
