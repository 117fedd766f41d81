// velotide.exe --make-program OUT --url ADDRESS --name NAME [--icon
// FILE.ico|FILE.png] [--allow ORIGIN]... [--notifications allow|block|ask]
// [--publisher NAME] [--version A.B.C.D]: a site's own program, written as
// a copy of this exe (app/program_file); and the same from inside a site app.
#pragma once

#include "app/command_line.h"

// Checks everything first (the words, the address, the name, the allowed
// sites, the answer, the icon, the publisher and the version, OUT not this
// exe), then writes OUT. Any fault is one line on standard error (or, with
// none to be had, a message box) and exit code 2, with nothing written; 0
// once OUT is written.
int MakeProgram(const ProgramRequest& request);

// Site > Save as a program file... (in a site app): asks where, with the
// standard save dialog, and writes the same program for this app (its name,
// site, icon and allowed sites); a fault is said in a message box.
void SaveAsProgramFile();
