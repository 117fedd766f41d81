// What the test engine "shows": a page reduced to blocks of text with
// colours, made from the HTML of a string-loaded document or from a web address.
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
    std::wstring title;  // its <title>, else its address; an error page's is its host
    COLORREF background = RGB(255, 255, 255);
    COLORREF foreground = RGB(26, 26, 26);
    bool error = false;  // the engine's own page for a failed load
    std::vector<PageBlock> blocks;
};

// "#rrggbb" or "#rgb"; false for anything else.
bool ParseColor(const std::wstring& value, COLORREF* color);
// The text of the page without tags: headings and paragraphs as blocks, the
// background and text colours from the body's style, a block's own colour
// from its style. Script and style contents are dropped.
Page PageFromHtml(const std::wstring& uri, const std::wstring& html);
// A web page: its host as the title and its address below.
Page PageForAddress(const std::wstring& uri);
Page ErrorPage(const std::wstring& uri, int status);
// All blocks joined by single spaces, for the log.
std::wstring PageText(const Page& page);
