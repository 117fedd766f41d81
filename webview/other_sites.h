// Links the view does not follow. A mail or phone address the person clicked
// goes to Windows; a click to another web site is named in the bar, from
// where it opens in the browser or its site is allowed for sign-in. What a
// page does by itself stays silent.
#pragma once

#include <windows.h>

#include <string>

#include "webview/engine.h"

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

// Whether a launch of another program's address, asked by the page or one
// of its frames, is cancelled rather than left to the runtime's "Open app?"
// question: always in a kiosk and without the person's click, and for the
// addresses Velotide hands to Windows itself (mail and phone), so that they
// open once, without the question. An address the runtime did not give is
// no program's.
inline bool CancelsLaunch(const std::wstring& address, bool userInitiated, bool kiosk) {
    return kiosk || !userInitiated || address.empty() || ClassifyStoppedLink(address, true) != StoppedLink::kDrop;
}
// Body of LaunchingExternalUriScheme: cancels as CancelsLaunch says and
// queues a cancelled one as a stopped link. Returns S_OK.
HRESULT OnLaunchingExternalUriScheme(ICoreWebView2LaunchingExternalUriSchemeEventArgs* args);
// Registers it where the view offers it (ICoreWebView2_18): a frame's links
// raise no NavigationStarting, so without it they reach the runtime's question.
void AddLaunchHandler(ICoreWebView2* view);
