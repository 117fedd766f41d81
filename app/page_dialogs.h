// The page's dialogs shown by the program itself (webview/page_dialogs):
// alert, confirm and prompt under the site's host, and the "Leave site?"
// question of its beforeunload, in the program's own prompt window.
#pragma once

// kNoticePageDialog: shows the waiting dialogs one after another and hands
// on each answer. Not over another prompt: they wait for it to close.
void ShowPageDialogs();
