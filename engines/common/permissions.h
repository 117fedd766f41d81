// A page asks for a permission (notifications, camera, location...): the
// answer saved in the profile, or else PermissionRequested and what its
// handlers answered, carried out the way the runtime does.
#pragma once

#include "engines/common/browser.h"

struct PermissionRequest {
    // The document that asks, in the engine's own words: an answer not saved
    // in the profile lasts as long as that document.
    std::wstring document;
    std::wstring origin;  // of the asking content, as "scheme://host[:port]/"
    COREWEBVIEW2_PERMISSION_KIND kind;
    bool userInitiated;
};

// Answers the request later or at once; done tells whether the page got the
// permission. A saved answer answers at once without the event. The event's
// DEFAULT is the runtime's own behaviour: notifications are refused without a
// prompt; every other kind gets the runtime's prompt, which the engines don't
// have, so it is refused too. An answer is saved in the profile unless a
// handler put SavesInProfile FALSE (DEFAULT is never saved).
void RequestPermission(Browser& browser, const PermissionRequest& request, std::function<void(bool granted)> done);
// Whether the document may use the permission now: a saved answer, else what
// it was told last; not asked yet is not granted.
bool HasPermission(const Browser& browser, const std::wstring& document, const std::wstring& origin,
                   COREWEBVIEW2_PERMISSION_KIND kind);
// The profile now keeps state for origin and kind (DEFAULT: none): what its
// documents were told before gives way to it, and the engine carries it to
// what stands behind the view.
void PermissionStateChanged(Browser& browser, COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin,
                            COREWEBVIEW2_PERMISSION_STATE state);
