// Windows telling that the network came back (the Network List Manager's
// connectivity events), for the failure page to try again at once. Watched
// only while something waits for it; where Windows can't tell (no Network
// List Manager, or one that raises no events, as Wine's), nothing is said and
// the timed tries carry on alone.
#pragma once

#include <windows.h>

// Whether connectivity lets a page load: some IPv4 or IPv6 traffic beyond
// none at all (a local network counts: the site may be an intranet's).
bool ConnectivityCarriesTraffic(DWORD connectivity);

// Starts or stops watching; onBack runs (from the message loop) whenever the
// connectivity changes to one that carries traffic.
void WatchNetwork(bool on, void (*onBack)());
