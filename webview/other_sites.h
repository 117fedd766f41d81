// Links the view does not follow. A mail or phone address the person clicked
// goes to Windows; a click to another web site is named in the site bar,
// from where it opens in the browser or its site is allowed for sign-in.
// What a page does by itself stays silent.
#pragma once

#include <windows.h>

#include <string>

enum class StoppedLink {
    kDrop,          // nothing more to do
    kHandToWindows, // "mailto:" or "tel:": the program Windows has for it opens it
    kOfferInBar,    // http or https: the site bar names it
};

// Posted to the main window when a stopped link waits in
// g_app.stoppedLinks: the shell and the bar act from the message loop, once
// the engine's event has returned.
inline constexpr UINT kStoppedLinkMessage = WM_APP + 20;

// What becomes of an address the navigation policy stopped, by its scheme
// (any letter case) and whether the person clicked for it.
StoppedLink ClassifyStoppedLink(const std::wstring& address, bool userInitiated);

// Queues what ClassifyStoppedLink says for a stopped navigation or pop-up.
void OnStoppedLink(const std::wstring& address, BOOL userInitiated);
// Carries out the queued links, oldest first (kStoppedLinkMessage).
void ActOnStoppedLinks();

// Hands address to the program Windows opens it with (ShellExecuteW, "open").
void OpenWithWindows(const std::wstring& address);

// Adds address's origin to the sites allowed for sign-in, saves the settings
// and loads address in the view.
void AllowSiteOf(const std::wstring& address);
