// Site > Allowed sites...: a small modal dialog that lists the sites allowed
// for sign-in, with Remove.
#pragma once

// Runs the dialog to its end; each removal is saved at once.
void ShowAllowedSites();
