// The bar about links to other sites, as a person sees and uses it on the
// running velotide.exe: found through the window tree.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/app_session.h"

HWND SiteBar(const AppSession& app);  // null until the bar was first shown
// The bar's text while it shows; "" while it doesn't.
std::string SiteBarText(const AppSession& app);
// Presses the bar's button with that text, as a click does; false when there is none.
bool PressSiteBarButton(const AppSession& app, const wchar_t* text);
