// What the engine "shows": a page reduced to blocks of text with colours,
// made from the HTML of a string-loaded document or from a web address, plus
// the address rules the engine applies (filter globs, hosts, data addresses).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct PageBlock {
    std::wstring text;
    bool heading = false;
    COLORREF color = 0;
};

struct Page {
    std::wstring uri;
    COLORREF background = RGB(255, 255, 255);
    COLORREF foreground = RGB(26, 26, 26);
    bool error = false;  // the engine's own page for a failed load
    std::vector<PageBlock> blocks;
};

// The text of the page without tags: headings and paragraphs as blocks, the
// background and text colours from the body's style, a block's own colour
// from its style. Script and style contents are dropped.
Page PageFromHtml(const std::wstring& uri, const std::wstring& html);
// A web page: its host as the title and its address below.
Page PageForAddress(const std::wstring& uri);
Page ErrorPage(const std::wstring& uri, int status);
// All blocks joined by single spaces, for the log.
std::wstring PageText(const Page& page);

// "data:text/html," followed by the HTML with control characters, space, '%',
// '#' and every non-ASCII character (as UTF-8 bytes) percent-encoded.
std::wstring DataUriFromHtml(const std::wstring& html);
// Whole-string glob: '*' any run of characters, '?' exactly one; letters
// A to Z match either case, as scheme and host are case-blind.
bool GlobMatch(const std::wstring& pattern, const std::wstring& text);
// The lower-cased host of "scheme://[user@]host[:port]/...", empty without "://".
std::wstring HostOf(const std::wstring& uri);
