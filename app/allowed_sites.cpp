#include "app/allowed_sites.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/dpi.h"
#include "app/settings_notice.h"

namespace {

enum : int { kNoteId = 99, kListId = 100, kRemoveId = 101 };

// In dialog units, which follow the dialog's font and so the display's DPI.
struct DialogItem {
    WORD classAtom;  // the system classes' atoms: 0x80 button, 0x82 static, 0x83 list box
    const wchar_t* text;
    DWORD style;
    short x, y, width, height;
    WORD id;
};

const DialogItem kItems[] = {
    {0x82, L"Sites allowed for sign-in: their pages may show in Velotide.", SS_LEFT, 8, 8, 244, 10, kNoteId},
    {0x83, L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT, 8, 22, 244, 80, kListId},
    {0x80, L"Remove", WS_TABSTOP | BS_PUSHBUTTON, 148, 110, 50, 14, kRemoveId},
    {0x80, L"Close", WS_TABSTOP | BS_DEFPUSHBUTTON, 202, 110, 50, 14, IDCANCEL},
};

// The dialog template in memory: the header, then each item at a 4-byte boundary.
class Template {
public:
    std::vector<WORD> words;
    void Word(WORD w) { words.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Word(*text);
        Word(0);
    }
    void Align() {
        if (words.size() % 2) Word(0);
    }
};

std::vector<WORD> BuildTemplate() {
    Template t;
    t.Dword(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.Dword(0);
    t.Word(static_cast<WORD>(std::size(kItems)));
    for (short v : {0, 0, 260, 132}) t.Word(static_cast<WORD>(v));
    t.Word(0);  // no menu
    t.Word(0);  // the dialog class
    t.Text(L"Velotide \u2013 allowed sites");
    // The system's message font, as the prompt and the bar have it; the
    // dialog's units, and so its layout, follow it and the monitor's DPI.
    LOGFONTW font = MessageFontFor(96);
    t.Word(static_cast<WORD>(MulDiv(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight, 72, 96)));
    t.Text(font.lfFaceName);
    for (const DialogItem& item : kItems) {
        t.Align();
        t.Dword(WS_CHILD | WS_VISIBLE | item.style);
        t.Dword(0);
        for (short v : {item.x, item.y, item.width, item.height}) t.Word(static_cast<WORD>(v));
        t.Word(item.id);
        t.Word(0xFFFF);
        t.Word(item.classAtom);
        t.Text(item.text);
        t.Word(0);  // no creation data
    }
    return t.words;
}


void CentreOverOwner(HWND dialog) {
    RECT owner, own;
    if (!g_app.mainWindow || !GetWindowRect(g_app.mainWindow, &owner) || !GetWindowRect(dialog, &own)) return;
    int width = own.right - own.left, height = own.bottom - own.top;
    SetWindowPos(dialog, nullptr, owner.left + (owner.right - owner.left - width) / 2,
                 owner.top + (owner.bottom - owner.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void RemoveSelected(HWND dialog) {
    LRESULT index = SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR || static_cast<size_t>(index) >= g_app.allowedOrigins.size()) return;
    // A site's own program came with these: they are back at its next start.
    const std::vector<std::wstring>& preset = g_app.program.allowedOrigins;
    if (std::find(preset.begin(), preset.end(), g_app.allowedOrigins[index]) != preset.end()) {
        MessageBeep(MB_OK);
        return;
    }
    g_app.allowedOrigins.erase(g_app.allowedOrigins.begin() + index);
    SaveSettings();
    LRESULT left = SendDlgItemMessageW(dialog, kListId, LB_DELETESTRING, index, 0);
    // The next site, or the last one, is selected for the next Remove.
    if (left > 0) SendDlgItemMessageW(dialog, kListId, LB_SETCURSEL, index < left ? index : left - 1, 0);
}

INT_PTR CALLBACK AllowedSitesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (g_app.fixed.allowedSites) {
            SetDlgItemTextW(dialog, kNoteId, L"Set by your organisation: their pages may show in Velotide.");
            EnableWindow(GetDlgItem(dialog, kRemoveId), FALSE);
        }
        for (const std::wstring& origin : g_app.allowedOrigins)
            SendDlgItemMessageW(dialog, kListId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(origin.c_str()));
        SendDlgItemMessageW(dialog, kListId, LB_SETCURSEL, 0, 0);
        CentreOverOwner(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kRemoveId:
            RemoveSelected(dialog);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

void ShowAllowedSites() {
    std::vector<WORD> words = BuildTemplate();
    DialogBoxIndirectParamW(g_app.instance, reinterpret_cast<const DLGTEMPLATE*>(words.data()), g_app.mainWindow,
                            AllowedSitesProc, 0);
}
