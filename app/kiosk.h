// Kiosk mode, the window's side: one site on a screen nobody sits at. The
// window covers its monitor without borders or menu from its first frame and
// stays so; nothing leads out of the program or elsewhere; the display stays
// on (unless --kiosk-allow-sleep); the pointer hides while the mouse rests;
// after the idle time the session starts afresh for the next visitor. It ends
// only with the Windows session.
#pragma once

#include <windows.h>

// Whether a kiosk carries out menu command id (posted by a shortcut, or by
// another program): only those that stay on the site.
bool KioskAllowsCommand(int id);

// What the kiosk does when it looks at the time since the last input: clear
// the session now (once for each stretch without input), and when to look
// again. idleMs: how long there has been no input; limitMs: the idle time;
// resetAlready: this stretch's session was cleared before.
struct IdleDecision {
    bool reset;
    ULONGLONG lookAgainMs;
};
IdleDecision DecideIdle(ULONGLONG idleMs, ULONGLONG limitMs, bool resetAlready);

// Sets the kiosk up before the window first shows: covering its monitor, the
// display kept on, the pointer and the idle time watched.
void StartKiosk();
// The kiosk's timers (WM_TIMER); true when id was one of them.
bool OnKioskTimer(UINT_PTR id);
// kNoticeSessionCleared, or the profile's clearing never answered: the next
// visitor gets a view made anew (once for each reset).
void OnKioskSessionCleared();
