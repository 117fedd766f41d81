// When the program tries again by itself, without a person: the failure page
// loading its address again, and a kiosk bringing back a page or browser it
// lost. Each is a schedule of waits, counted by the tries made so far.
#pragma once

#include <windows.h>

// The failure page's wait before its next try: 10 s, then 30 s, then every
// 60 s, as long as the address keeps failing.
DWORD FailureRetryDelayMs(unsigned tries);
// A kiosk's wait before it brings back what it lost again and again: the
// first loss at once, then 5 s, 10 s, 20 s, 40 s, and a minute from then on.
DWORD RecoveryDelayMs(unsigned tries);
// A loss this long after the last one starts the recovery schedule afresh:
// the page or browser had come back.
inline constexpr ULONGLONG kRecoveredAfterMs = 60000;

// A wait of either schedule, or the kiosk's pointer's, as this run takes it:
// VELOTIDE_WAIT_SCALE, a percentage from 1 to 100, shortens them all (for
// tests, which must not sit through a minute for nothing); anything else
// leaves them whole.
DWORD ScaledWait(DWORD ms);
