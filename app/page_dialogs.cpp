#include "app/page_dialogs.h"

#include "app/app_state.h"
#include "app/prompt.h"
#include "app/site_app.h"
#include "settings/site_address.h"
#include "webview/page_dialogs.h"

namespace {

// A longer message is cut: the dialog shows some sixteen lines of it at most.
const size_t kMaxMessage = 4096;

UINT64 shownNumber = 0;  // the dialog on screen

bool StillWaits() { return PageDialogWaits(shownNumber); }

// The page's words as the prompt's label shows them: "&" is no mnemonic.
std::wstring Plain(const std::wstring& text) {
    std::wstring plain;
    for (wchar_t c : text.substr(0, kMaxMessage)) plain += c == L'&' ? L"&&" : std::wstring(1, c);
    return plain;
}

// Asks the person; true when they accepted, with a prompt's text in text.
bool Ask(const WaitingDialog& dialog, std::wstring& text) {
    // Who asks: the site's host, as browsers name the page's dialogs.
    std::wstring host = SiteHost(dialog.uri);
    std::wstring title = host.empty() ? ProgramName() : host;
    std::wstring message = Plain(dialog.message);
    switch (dialog.kind) {
    case COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD:
        // Browsers no longer show the page's own text here.
        return AskForAnswer({title.c_str(), L"Leave site?", L"Changes you made may not be saved.", L"Leave"},
                            StillWaits);
    case COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT:
        text = dialog.defaultText;
        return AskForText({title.c_str(), message.c_str(), L"", L"OK"}, text, StillWaits);
    case COREWEBVIEW2_SCRIPT_DIALOG_KIND_CONFIRM:
        return AskForAnswer({title.c_str(), message.c_str(), L"", L"OK"}, StillWaits);
    default:
        return AskForAnswer({title.c_str(), message.c_str(), L"", L"OK", nullptr}, StillWaits);
    }
}

}  // namespace

void ShowPageDialogs() {
    static bool showing = false;
    if (showing || g_app.promptWindow) return;
    showing = true;
    // Each answer goes to the dialog it was for: one that ended meanwhile (the
    // view went, the window closes) is not answered again.
    while (const WaitingDialog* first = FirstPageDialog()) {
        WaitingDialog dialog = *first;  // the list may change while the person answers
        shownNumber = dialog.number;
        std::wstring text;
        bool accepted = Ask(dialog, text);
        AnswerPageDialog(dialog.number, accepted, text);
    }
    showing = false;
}
