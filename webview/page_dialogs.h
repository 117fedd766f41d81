// The page's own dialogs: alert, confirm, prompt and the "Leave site?"
// question of its beforeunload. Where the runtime lets it, the program shows
// them itself (the window's app/page_dialogs), so it knows the person's
// answer: a close the person stayed from is over whatever the runtime raises
// afterwards, or doesn't. A runtime that can't hand them over keeps showing
// its own, and the close goes on waiting for its events (webview/page_close).
#pragma once

#include "app/app_state.h"
#include "webview/engine.h"

// Registers ScriptDialogOpening and turns the runtime's own dialogs off.
// Without the event the runtime's dialogs stay on, so the page's questions
// are never answered unseen.
void TakePageDialogs(ICoreWebView2* view, ICoreWebView2Settings* settings);

// Body of ScriptDialogOpening: the dialog waits (its deferral held) and the
// window is asked to show it (kNoticePageDialog). Returns S_OK.
HRESULT OnScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventArgs* args);

// The dialog whose turn it is; null when none waits.
const WaitingDialog* FirstPageDialog();
// Whether dialog number still waits for its answer.
bool PageDialogWaits(UINT64 number);
// The person's answer to dialog number (nothing when it no longer waits):
// accepted is OK or Leave, with the prompt's text. Leaving is the close's
// own question: the window goes at once. Staying ends the close.
void AnswerPageDialog(UINT64 number, bool accepted, const std::wstring& text);
// Every waiting dialog ends as Cancel or Stay (the view goes, or the window
// closes); their windows see it and close.
void EndPageDialogs();
