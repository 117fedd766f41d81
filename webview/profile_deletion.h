// Deleting a site app's profile from the user-data folder it shares with
// Velotide, as the app is removed (velotide.exe --remove-app, a process of
// its own with no window of its own). The runtime deletes a profile only
// when asked through a view of it (ICoreWebView2Profile8), so a hidden view
// of that profile is made for the purpose in an environment on the folder,
// which joins the browser already running there or starts one.
#pragma once

#include <string>

#include "app/app_state.h"

enum class ProfileDeletion {
    kDeleted,     // the runtime deletes it: its views close, its files go once no browser needs them
    kNotOffered,  // the runtime can't be asked (no profiles, or no Profile8), or did not answer in time
};

// Waits for the runtime in a message loop of its own, for waitMs at most.
ProfileDeletion DeleteProfile(const ViewProfile& profile, DWORD waitMs);
