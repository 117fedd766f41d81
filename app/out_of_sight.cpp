#include "app/out_of_sight.h"

#include "app/app_state.h"
#include "app/try_again.h"

static bool sleepDue = false;  // the timer runs

Sight WindowSight(HWND window) {
    if (IsIconic(window)) return Sight::kMinimised;
    return IsWindowVisible(window) ? Sight::kShown : Sight::kHidden;
}

static bool MaySleepNow(Sight sight) {
    return MaySleep(sight, g_app.notifications, g_app.sleepAfterMinutes, g_app.nav.sleepRefused);
}

// Runs the clock from the moment the window went out of sight: going from
// hidden to minimised doesn't start it again. Not while the window is being
// made (not shown yet, as it is sized): its first show says.
static void StartSleepClock(Sight sight) {
    if (sleepDue || !g_app.mainWindow || !MaySleepNow(sight)) return;
    sleepDue = SetTimer(g_app.mainWindow, kTimerSleep, g_app.sleepAfterMinutes * 60000u, nullptr) != 0;
}

static void StopSleepClock() {
    if (sleepDue) KillTimer(g_app.mainWindow, kTimerSleep);
    sleepDue = false;
}

// Invisible, the runtime can throttle the page, which keeps running; and the
// view of a minimised window would get an empty rectangle anyway.
void FollowWindowSight(Sight sight) {
    bool outOfSight = sight != Sight::kShown;
    if (outOfSight)
        StartSleepClock(sight);
    else
        StopSleepClock();
    if (!g_app.controller || outOfSight == g_app.nav.hidden) return;
    g_app.controller->put_IsVisible(outOfSight ? FALSE : TRUE);
    g_app.nav.hidden = outOfSight;
    SetViewMemoryTarget(outOfSight);
    if (outOfSight) return;
    g_app.nav.sleepRefused = false;  // shown, the runtime is asked afresh next time
    WakeView();
    TryAgainIfDue();  // a failure page's try that fell due while out of sight
}

void OnSleepTimer() {
    StopSleepClock();
    if (g_app.nav.hidden && MaySleepNow(WindowSight(g_app.mainWindow))) SuspendView();
}

void SleepRuleChanged() {
    Sight sight = WindowSight(g_app.mainWindow);
    if (sight == Sight::kShown) return;
    if (MaySleepNow(sight)) {
        if (!g_app.nav.asleep) StartSleepClock(sight);
        return;
    }
    StopSleepClock();
    WakeView();
}
