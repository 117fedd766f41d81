// The slim bar across the top of the main window: a line of text, up to two
// buttons that act on what it names, and a close button. It names a link to
// another site the view did not follow, and tells what the person should know
// without a box in the way. The view gives up the strip it takes while it
// shows; fullscreen hides it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline constexpr wchar_t kSiteBarClass[] = L"VelotideSiteBar";

// What the bar tells of; a newer topic replaces an older one.
enum class BarTopic { kNone, kOtherSite, kNotifications, kSettings };

struct BarButton {
    const wchar_t* text;
    int width;  // at 96 DPI
    void (*act)(const std::wstring& subject);  // runs once the bar has closed
};

// Shows text, and buttons that act on subject, replacing what the bar said
// before. dismissed, when given, runs when the bar goes without a button
// having acted: closed, or replaced by another topic.
void ShowBar(BarTopic topic, const std::wstring& text, const std::wstring& subject,
             const std::vector<BarButton>& buttons = {}, void (*dismissed)() = nullptr);
// Closes the bar, when it shows (only while it tells of topic, when one is
// named); the focus goes back to the view if it was in the bar.
void CloseBar(BarTopic topic = BarTopic::kNone);

// Gives the bar, while it shows, the strip at the top of the client area and
// the view the rest: the one place that lays out the main window's client area.
void FitViewToWindow();
// The view's part of it: the client area less the bar's strip. A view being
// made fits this first (handed to StartWebView).
RECT ViewArea();

// Moves the keyboard focus to the bar's first button; false while it is closed.
bool FocusSiteBar();

LRESULT CALLBACK SiteBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
