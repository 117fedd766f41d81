// Saving the settings when the person changes one: when they can't be saved
// (the file could not be read at start, or can't be written), the change
// lasts for this run and the bar says so, once.
#pragma once

void SaveSettings();
