// The page's title, and the unread count a site of messages puts before it:
// "(3) Inbox" or "[12] Chat". The window's own title stays "Velotide".
#pragma once

#include <string>

#include "webview/engine.h"

// The count a title begins with: digits in parentheses or brackets, a "+"
// after them meaning more ("(99+)"). 0 for none, a zero, or anything that
// isn't a number; counts beyond kUnreadCap are kUnreadCap.
inline constexpr int kUnreadCap = 100000;
int UnreadCount(const std::wstring& title);

// A name for the site from its title: without the count it begins with, cut
// to kNameFromTitleLength characters.
inline constexpr size_t kNameFromTitleLength = 64;
std::wstring NameFromTitle(const std::wstring& title);

// What the program keeps of a title (the start of it): enough to name the
// site by, never an unbounded copy.
inline constexpr size_t kKeptTitleLength = 256;

// Body of DocumentTitleChanged: keeps the title and, when the count changed,
// tells the window (kNoticeUnreadChanged). Returns S_OK.
HRESULT OnDocumentTitleChanged(ICoreWebView2* view);
// Registers DocumentTitleChanged on the view.
void AddTitleHandler(ICoreWebView2* view);
