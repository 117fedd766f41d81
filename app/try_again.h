// Trying again without a person: the failure page loads the address that
// failed again when its wait is over or Windows says the network came back,
// and a kiosk brings back a browser it lost, each time after a longer wait.
// A try falls due only while the window is shown; one that fell due while it
// was hidden or minimised is made when it shows again.
#pragma once

#include <windows.h>

// kNoticeTryAgainLater: the failure page shows; its address is loaded again
// after waitMs, or at once when the network comes back.
void TryAgainLater(DWORD waitMs);
// kNoticeOnSite: a page of the site loaded; nothing is left to try.
void StopTryingAgain();
// The window was shown again (or restored): a try that fell due meanwhile is made now.
void TryAgainIfDue();

// kNoticeRestartEngine: the browser process exited. Started again at once;
// a kiosk whose restarted browser was lost again before it showed a page
// starts it after a growing wait (elsewhere the program gives up, as for a
// failed start).
void BringBackEngine();

// The two timers (WM_TIMER); true when id was one of them.
bool OnTryAgainTimer(UINT_PTR id);
