// Deleting a site app's profile from the user-data folder it shares with
// Velotide, as the app is removed (velotide.exe --remove-app, a process of
// its own with no window of its own). The runtime deletes a profile only
// when asked through a view of it (ICoreWebView2Profile8), so a hidden view
// of that profile is made for the purpose in an environment on the folder,
// which joins the browser already running there or starts one. The runtime
// deletes it once no browser needs its files: while the shared browser runs
// on, its folder stays, and a profile of that name can't be made.
#pragma once

#include <string>

#include "app/app_state.h"

// The view's profile deleted while it runs (by a removal elsewhere), the
// window says so and the program ends, rather than keep a view that is gone
// (kNoticeStartupFailed). A runtime without ICoreWebView2Profile8 can't say.
void EndWhenProfileDeleted(ICoreWebView2* view);

// Waits for the runtime in a message loop of its own, for waitMs at most.
// Whether it was deleted tells its folder; a runtime that can't be asked (no
// profiles, or no Profile8) leaves it.
void DeleteProfile(const ViewProfile& profile, DWORD waitMs);
