// What plain Velotide does for its site apps at its start: a removal that
// could not finish (the runtime's processes held the app's files) is
// finished, and what starts an app (its Start menu shortcut, its entry in
// Settings > Apps, its Run value) is pointed at this exe when the exe it
// names is gone: Velotide was moved, so its apps would no longer start.
#pragma once

// Cheap when nothing needs doing: the Apps folder listed, a few registry
// values and the Start menu's shortcuts read. Needs COM.
void TendSiteApps();
