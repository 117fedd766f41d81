// What becomes of links the view did not follow, once the engine's event has
// returned: a mail or phone link goes to the program Windows has for it, a
// link to another web site is named in the bar, from where it opens in the
// browser or its site is allowed for sign-in.
#pragma once

#include <string>

// Carries out the links queued in g_app.stoppedLinks, oldest first.
void ActOnStoppedLinks();
// Hands address to the program Windows opens it with (ShellExecuteW, "open").
void OpenWithWindows(const std::wstring& address);
// Adds address's origin to the sites allowed for sign-in, saves the settings
// and loads address in the view.
void AllowSiteOf(const std::wstring& address);
