// The window out of sight: hidden in the notification area or minimised.
// The view follows it (invisible, little memory), and a site that may sleep
// (webview/sleeping) is suspended once the window has been out of sight for
// "sleepAfter=" minutes, by its timer (kTimerSleep), which runs only while
// that is due; shown again, it wakes.
#pragma once

#include <windows.h>

#include "app/timers.h"
#include "webview/sleeping.h"

// How the window shows now.
Sight WindowSight(HWND window);
// The window is shown, hidden or minimised (sight: as it is about to be).
void FollowWindowSight(Sight sight);
// The timer: the window has been out of sight for long enough.
void OnSleepTimer();
// What the rule reads has changed (the answer about notifications): a site
// that may no longer sleep wakes, one that now may is put on the clock.
void SleepRuleChanged();
