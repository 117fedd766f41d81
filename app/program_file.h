// A site's own program as a file: a copy of this exe whose resources carry
// what it was made with (its preset), its icon and its name; and the preset
// read back when such a copy starts.
#pragma once

#include <string>

#include "app/app_state.h"

// Writes a copy of this exe to out: the preset as its own resource (in place
// of any this exe carries: a program made from a program has one preset),
// the icon group made of icon's images (an .ico file's bytes, checked with
// IconFileFault; empty keeps this exe's) and the version block's
// FileDescription and ProductName set to the name. The copy is made beside
// out under a temporary name and moved in place once complete; the same
// inputs give the same bytes. False, with error saying why in one line and
// nothing left behind, when it could not be written.
bool WriteProgramFile(const std::wstring& out, const ProgramPreset& preset, const std::string& icon,
                      std::wstring* error);

// What this exe carries: no preset (Velotide itself), a preset read into
// preset, or one that can't be read or names no valid site or name.
enum class OwnPreset { kNone, kRead, kDamaged };
OwnPreset ReadOwnPreset(ProgramPreset* preset);
