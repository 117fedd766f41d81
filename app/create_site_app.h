// Site > Create an app for this site...: the site becomes a program of its
// own: a folder with its settings and icon, a Start menu shortcut and an entry
// in Settings > Apps; then it starts, and Velotide's own window stays.
#pragma once

// Asks the app's name (the page's title, without its count, to start with),
// then fetches the site's icon; FinishCreatingSiteApp goes on once it comes.
void CreateSiteApp();
// The site's icon came (kNoticeSiteIcon): the app is made, each step undone
// again when a later one fails, which the person is told in plain words.
void FinishCreatingSiteApp();
