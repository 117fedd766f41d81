// A site's own program carries what it was made with (its preset: site,
// name, allowed sites, notification answer) in its exe, in config.ini's own
// lines: url=, name=, allow= and notifications=.
#pragma once

#include <string>

#include "app/app_state.h"

// The preset's lines; notifications= only for an answer other than asking;
// last id=, the program's id from its name and site's origin.
std::string PresetText(const ProgramPreset& preset);

// Reads the lines into preset: the site normalised, allowed sites reduced to
// their origins (invalid and repeated dropped) and the id made from the name
// and, after an id= line, the site's origin (without one, a program made
// before ids took in the site, from the name alone; the line's value is
// never taken). False when they name no valid site or no valid program name.
bool ReadPreset(const std::string& text, ProgramPreset* preset);
