// The program's own pages, loaded from a string into the view: the welcome
// page, the redirect message and the failure page.
#pragma once

#include <string>

#include "webview/engine.h"

// Text made safe to stand in the message page's HTML.
std::wstring EscapeHtml(const std::wstring& text);

// An address as a message page names it: escaped, and cut to its first
// kShownAddressLength characters with an ellipsis, so that no address can
// make the page too long to show.
inline constexpr size_t kShownAddressLength = 2000;
std::wstring ShownAddress(const std::wstring& address);

// Shows title and text (HTML fragments, not escaped) as a small dark page;
// when the view refuses it, an empty page. Does nothing while there is no view.
void ShowMessagePage(const wchar_t* title, const wchar_t* text);

// The failed address (g_app.nav.failedAddress) is loaded again after the
// failure page's next wait (kNoticeTryAgainLater).
void ScheduleNextTry();

// Shows a page in place of the site: title, then text and, for the person,
// advice (HTML fragments, not escaped). A kiosk's visitor can do nothing:
// its page says instead that the site comes back by itself, and it is tried
// again on the failure page's schedule (g_app.nav.failedAddress must be set).
void ShowInsteadOfSite(const wchar_t* title, std::wstring text, const wchar_t* advice);

// What went wrong, in plain words, for a navigation that failed with status.
const wchar_t* FailureSentence(COREWEBVIEW2_WEB_ERROR_STATUS status);
// Said when the page's renderer was lost again right after a reload.
inline constexpr const wchar_t kPageStoppedSentence[] = L"The page stopped working.";

// The failure page's text: the sentence, the address that failed (escaped)
// and what the person can do.
std::wstring FailurePageText(const wchar_t* sentence, const std::wstring& address);
// Shows the failure page for address; Reload then loads address again.
void ShowFailurePage(const wchar_t* sentence, const std::wstring& address);
