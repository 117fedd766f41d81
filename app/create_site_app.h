// Site > Create an app for this site...: the site becomes a program of its
// own: a folder with its settings and icon, a Start menu shortcut and an entry
// in Settings > Apps; then it starts, and Velotide's own window stays.
#pragma once

#include <windows.h>

#include "app/timers.h"

// How long the site's icon is waited for (in ms), by the main window's
// timer kSiteIconTimer.
inline constexpr UINT kSiteIconWait = 5000;

// Asks the app's name (the page's title, without its count, to start with),
// then fetches the site's icon; FinishCreatingSiteApp goes on once it comes.
void CreateSiteApp();
// The site's icon came (kNoticeSiteIcon), or the wait for it is over
// (kSiteIconTimer: Velotide's icon then): the app is made, each step undone
// again when a later one fails, which the person is told in plain words.
void FinishCreatingSiteApp();
