#include "app/kiosk.h"

#include "app/app_state.h"
#include "app/commands.h"
#include "app/fullscreen.h"
#include "app/timers.h"
#include "webview/kiosk.h"
#include "webview/retry_schedule.h"

namespace {

const DWORD kPointerRestMs = 5000;  // the pointer hides once the mouse rested this long
const DWORD kClearingMs = 15000;    // how long the profile's clearing may take to answer

HHOOK mouseHook = nullptr;
bool pointerHidden = false;

// The session's start, and the input stretches the idle watch has seen:
// GetLastInputInfo's time stamp of the last input when the kiosk started, and
// that of the stretch whose session was cleared.
ULONGLONG startedAt = 0;
DWORD inputAtStart = 0;
bool cleared = false;
DWORD clearedFor = 0;
bool awaitingClearing = false;  // the reset waits for the profile to answer

// Any mouse input, anywhere on the screen (the runtime's view is another
// process's window): the pointer shows, and hides again after a rest.
LRESULT CALLBACK OnMouse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        if (pointerHidden) {
            ShowCursor(TRUE);
            pointerHidden = false;
        }
        SetTimer(g_app.mainWindow, kTimerPointer, ScaledWait(kPointerRestMs), nullptr);
    }
    return CallNextHookEx(mouseHook, code, wParam, lParam);
}

// A window of another process is made or shown: a dialog over the kiosk's
// window (a file, folder or print dialog the browser opened for the page,
// which leads to the whole machine) is closed at once, as its Cancel would.
// The kiosk's own dialogs are its own process's, which the hook skips.
void CALLBACK OnWindowShown(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    const ULONG_PTR kDialogClass = 32770;  // the atom of every dialog's class, "#32770"
    if (object == OBJID_WINDOW && child == CHILDID_SELF && GetClassLongPtrW(window, GCW_ATOM) == kDialogClass &&
        GetAncestor(window, GA_ROOTOWNER) == g_app.mainWindow)
        PostMessageW(window, WM_CLOSE, 0, 0);
}

void HidePointer() {
    KillTimer(g_app.mainWindow, kTimerPointer);
    if (pointerHidden) return;
    ShowCursor(FALSE);
    pointerHidden = true;
}

// Looks at the time since the last input: the session is cleared once the
// idle time passed, and the next look falls when it could pass next.
void WatchIdleTime() {
    LASTINPUTINFO input = {sizeof(input), 0};
    GetLastInputInfo(&input);
    // The tick count wraps after 49 days; the difference stays right across it.
    bool inputSinceStart = input.dwTime != inputAtStart;
    ULONGLONG idle = inputSinceStart ? static_cast<DWORD>(GetTickCount() - input.dwTime) : GetTickCount64() - startedAt;
    bool resetAlready = cleared && clearedFor == input.dwTime;
    IdleDecision decision = DecideIdle(idle, g_app.kiosk.idleMinutes * 60000ull, resetAlready);
    if (decision.reset) {
        cleared = true;
        clearedFor = input.dwTime;
        // A runtime that never answers the clearing must not leave the last
        // visitor's pages in the view: the view is made anew all the same.
        awaitingClearing = true;
        SetTimer(g_app.mainWindow, kTimerCleared, ScaledWait(kClearingMs), nullptr);
        ResetForNextVisitor();
    }
    SetTimer(g_app.mainWindow, kTimerIdle, static_cast<UINT>(decision.lookAgainMs), nullptr);
}

}  // namespace

bool KioskAllowsCommand(int id) { return id == ID_SITE_RELOAD || id == ID_SITE_HOME; }

IdleDecision DecideIdle(ULONGLONG idleMs, ULONGLONG limitMs, bool resetAlready) {
    if (idleMs < limitMs) return {false, limitMs - idleMs};
    return {!resetAlready, limitMs};
}

void StartKiosk() {
    // Kept in the notification area, the close box would hide the window.
    g_app.keepInTray = false;
    SetFullscreen(true);
    // Windows would otherwise turn the display off, or sleep, while nobody touches it.
    if (!g_app.kiosk.allowSleep) SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
    mouseHook = SetWindowsHookExW(WH_MOUSE_LL, OnMouse, g_app.instance, 0);
    SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnWindowShown, 0, 0,
                    WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    SetTimer(g_app.mainWindow, kTimerPointer, ScaledWait(kPointerRestMs), nullptr);
    if (g_app.kiosk.idleMinutes) {
        LASTINPUTINFO input = {sizeof(input), 0};
        GetLastInputInfo(&input);
        inputAtStart = input.dwTime;
        startedAt = GetTickCount64();
        WatchIdleTime();
    }
}

void OnKioskSessionCleared() {
    KillTimer(g_app.mainWindow, kTimerCleared);
    if (!awaitingClearing) return;  // a late answer, after the view was made anew
    awaitingClearing = false;
    StartForNextVisitor();
}

bool OnKioskTimer(UINT_PTR id) {
    if (id == kTimerPointer)
        HidePointer();
    else if (id == kTimerIdle)
        WatchIdleTime();
    else if (id == kTimerCleared)
        OnKioskSessionCleared();
    else
        return false;
    return true;
}
