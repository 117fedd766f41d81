// Keys and fullscreen as a person uses them on the running velotide.exe,
// whichever engine stands behind its view.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/app_session.h"

enum Mods { kNone = 0, kCtrl = 1, kAlt = 2 };

// Ctrl and Alt as the program's thread sees them through GetKeyState: our
// thread shares its input state for the life of the object. (Keys sent with
// SendInput never reach a Wine program under a bare Xvfb, so the key
// messages themselves are posted to the view.)
class HeldModifiers {
public:
    HeldModifiers(const AppSession& app, int mods);
    ~HeldModifiers();

private:
    static void Set(int mods);
    DWORD thread_;
};

void PostKey(const AppSession& app, UINT vk, int mods, bool down);
// Presses and releases vk on the view; the engine's line for the key-down.
// A release is never the program's business.
std::string Press(const AppSession& app, UINT vk, int mods = kNone);

// One step of a fullscreen scenario: a page command or a key (or neither, for
// what the page does by itself), the log line it leads to, and the window's
// state afterwards.
struct Step {
    const wchar_t* page;
    UINT key;
    const char* log;
    bool fullscreen;
};
// Runs the steps on a started program whose first page has loaded, checking
// the window after each, maximised first when asked; leaves it quit.
void RunFullscreenScenario(AppSession& app, bool maximised, const std::vector<Step>& steps);
