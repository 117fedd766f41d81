// A site's own program as a file: a copy of this exe whose resources carry
// what it was made with (its preset), its icon and its name; and the preset
// read back when such a copy starts.
#pragma once

#include <windows.h>

#include <string>

#include "app/app_state.h"

// Who makes a site's own program and which version of it this is, as its
// version block says them to Windows (the file's properties, App Control);
// the texts are the caller's, kept while the program is written.
struct ProgramVersion {
    const wchar_t* publisher = L"";  // the company; empty: the site's host
    const wchar_t* text = L"1.0.0.0";
    WORD numbers[4] = {1, 0, 0, 0};
};

// text as a version: one to four numbers from 0 to 65535 with dots between,
// the missing ones 0 (as version has them); false when it isn't one.
bool ParseProgramVersion(const std::wstring& text, ProgramVersion* version);

// Writes a copy of this exe to out: the preset as its own resource (in place
// of any this exe carries: a program made from a program has one preset),
// the icon group made of icon's images (an .ico file's bytes, checked with
// IconFileFault; empty keeps this exe's) and a version block of its own: its
// name as description and product, its id as internal and original file
// name, version's company and version. A signature this exe carries is not
// copied (it would no longer match), so the owner signs the copy as any
// program of theirs. The copy is made beside out under a temporary name and
// moved in place once complete; the same inputs give the same bytes. False,
// with error saying why in one line and nothing left behind, when it could
// not be written.
bool WriteProgramFile(const std::wstring& out, const ProgramPreset& preset, const std::string& icon,
                      std::wstring* error, const ProgramVersion& version = {});

// What this exe carries: no preset (Velotide itself), a preset read into
// preset, or one that can't be read or names no valid site or name.
enum class OwnPreset { kNone, kRead, kDamaged };
OwnPreset ReadOwnPreset(ProgramPreset* preset);
