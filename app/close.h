// Quit and the close box: the page is asked first (webview/page_close), and
// the window goes once it agreed, or at once when there is nothing to ask.
#pragma once

// Closes at once without a view, on the program's own pages, and when an
// earlier request still waits for the page (a hung page never keeps the
// window open); otherwise asks the page. A kiosk doesn't close.
void RequestClose();

// The page agreed to be left (kNoticeCloseNow), or Windows ends the session
// (WM_ENDSESSION, which asks no page and no kiosk): the window goes.
void CloseNow();
