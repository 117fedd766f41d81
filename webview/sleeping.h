// A site out of sight costs little. While the window is hidden in the
// notification area or minimised, the view asks the runtime to keep little
// memory (a LOW memory target), and a site that may not notify is suspended
// after "sleepAfter=" minutes, as a browser puts a tab in the background to
// sleep: its timers and animations stop until it is shown again. A site
// allowed to notify never sleeps, since asleep it could not.
#pragma once

#include "app/app_state.h"

// How the window shows the view.
enum class Sight { kShown, kHidden, kMinimised };

// Whether the view may be suspended now: out of sight, sleeping not turned
// off (sleepAfterMinutes 0), the site not allowed to notify, and the runtime
// not having said, since the view was last shown, that it can't sleep
// (playing audio, say).
bool MaySleep(Sight sight, NotificationsAnswer notifications, unsigned sleepAfterMinutes, bool runtimeRefused);

// The view's memory target (ICoreWebView2_19): LOW out of sight, NORMAL shown.
// A runtime without it keeps its own.
void SetViewMemoryTarget(bool outOfSight);
// Asks the runtime to suspend the view, which must be invisible; its answer
// is kept in g_app.nav (asleep, or refused until the view is shown again).
// A runtime without ICoreWebView2_3 keeps the page running.
void SuspendView();
// Wakes the view if it was asked to sleep (it may still be invisible).
void WakeView();
// Whether the view asked to sleep is awake by now (the runtime wakes it for a
// navigation), as the runtime says (IsSuspended); it then counts as awake.
bool ViewWoke();
