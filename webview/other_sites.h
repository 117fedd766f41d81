// Links the view does not follow. A mail or phone address the person clicked
// goes to Windows; a click to another web site is named in the bar, from
// where it opens in the browser or its site is allowed for sign-in. What a
// page does by itself stays silent.
#pragma once

#include <windows.h>

#include <string>

enum class StoppedLink {
    kDrop,          // nothing more to do
    kHandToWindows, // "mailto:" or "tel:": the program Windows has for it opens it
    kOfferInBar,    // http or https: the bar names it
};

// What becomes of an address the navigation policy stopped, by its scheme
// (any letter case) and whether the person clicked for it.
StoppedLink ClassifyStoppedLink(const std::wstring& address, bool userInitiated);

// Queues what ClassifyStoppedLink says for a stopped navigation or pop-up,
// for the window to act on once the engine's event has returned; nothing
// for the bar while the organisation turned it off.
void OnStoppedLink(const std::wstring& address, BOOL userInitiated);
// Queues address to be named in the bar.
void OfferStoppedLink(const std::wstring& address);
