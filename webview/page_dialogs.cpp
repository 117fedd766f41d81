#include "webview/page_dialogs.h"

#include "webview/handler.h"
#include "webview/view_notices.h"

// Dialogs that wait at once; one more is answered as Cancel. (A page waits
// for its dialog, so more than one comes only from several causes at once.)
static const size_t kMaxWaiting = 8;

static UINT64 lastNumber = 0;

void TakePageDialogs(ICoreWebView2* view, ICoreWebView2Settings* settings) {
    EventRegistrationToken token;
    if (FAILED(view->add_ScriptDialogOpening(
            Give(new OnDialog_([](ICoreWebView2*, ICoreWebView2ScriptDialogOpeningEventArgs* args) {
                return OnScriptDialogOpening(args);
            })),
            &token)))
        return;
    if (FAILED(settings->put_AreDefaultScriptDialogsEnabled(FALSE))) view->remove_ScriptDialogOpening(token);
}

HRESULT OnScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventArgs* args) {
    COREWEBVIEW2_SCRIPT_DIALOG_KIND kind = COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT;
    LPWSTR uri = nullptr, message = nullptr, defaultText = nullptr;
    args->get_Kind(&kind);
    // A kiosk only leaves a page to start afresh or to bring it back, and
    // nobody may be there to answer: it leaves without asking.
    if (kind == COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD && g_app.kiosk.on) {
        args->Accept();
        return S_OK;
    }
    args->get_Uri(&uri);
    args->get_Message(&message);
    args->get_DefaultText(&defaultText);
    WaitingDialog dialog = {++lastNumber,
                            args,
                            nullptr,
                            kind,
                            TakeEngineString(uri),
                            TakeEngineString(message),
                            TakeEngineString(defaultText),
                            kind == COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD && g_app.nav.closeAsked};
    std::deque<WaitingDialog>& waiting = g_app.nav.waitingDialogs;
    if (waiting.size() < kMaxWaiting && SUCCEEDED(args->GetDeferral(&dialog.deferral)) && dialog.deferral) {
        args->AddRef();
        waiting.push_back(dialog);
        PostViewNotice(kNoticePageDialog);
    } else if (dialog.forClose) {
        // The person asked to close and can't be asked again: leave.
        args->Accept();
        PostViewNotice(kNoticeCloseNow);
    }
    return S_OK;
}

const WaitingDialog* FirstPageDialog() {
    return g_app.nav.waitingDialogs.empty() ? nullptr : &g_app.nav.waitingDialogs.front();
}

bool PageDialogWaits(UINT64 number) {
    for (const WaitingDialog& dialog : g_app.nav.waitingDialogs)
        if (dialog.number == number) return true;
    return false;
}

// Hands the answer to the runtime and lets go of the dialog.
static void Answer(const WaitingDialog& dialog, bool accepted, const std::wstring& text) {
    if (accepted) {
        if (dialog.kind == COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT) dialog.args->put_ResultText(text.c_str());
        dialog.args->Accept();
    }
    dialog.deferral->Complete();
    dialog.deferral->Release();
    dialog.args->Release();
    if (!dialog.forClose) return;
    // The program knows the answer, so the close doesn't wait for events a
    // runtime may not raise: leaving closes now, staying ends the close (the
    // page's own later navigations are its own).
    if (accepted)
        PostViewNotice(kNoticeCloseNow);
    else
        g_app.nav.closeAsked = false;
}

void AnswerPageDialog(UINT64 number, bool accepted, const std::wstring& text) {
    std::deque<WaitingDialog>& waiting = g_app.nav.waitingDialogs;
    for (auto dialog = waiting.begin(); dialog != waiting.end(); ++dialog) {
        if (dialog->number != number) continue;
        WaitingDialog answered = *dialog;
        waiting.erase(dialog);
        Answer(answered, accepted, text);
        return;
    }
}

void EndPageDialogs() {
    std::deque<WaitingDialog> waiting;
    waiting.swap(g_app.nav.waitingDialogs);
    for (const WaitingDialog& dialog : waiting) Answer(dialog, false, L"");
}
