#include "app/prompt.h"

#include <algorithm>
#include <string>

#include "app/app_state.h"
#include "app/dpi.h"
#include "app/settings_notice.h"
#include "app/site_bar.h"
#include "settings/site_address.h"
#include "webview/navigation_policy.h"
#include "webview/page_dialogs.h"
#include "webview/permissions.h"
#include "webview/view_notices.h"

namespace {

const wchar_t kPromptClass[] = L"VelotidePrompt";

// The layout at 96 DPI, scaled to the prompt's DPI: the label, the field to
// type in, a note, and the two buttons, each under the one before. The label
// takes as many lines as its text needs (up to a limit) and everything under
// it moves down with it.
const int kPromptWidth = 560;
const int kLeft = 16, kContentWidth = 520, kLabelTop = 14, kLineHeight = 20, kGap = 8, kEditHeight = 26;
const int kButtonGap = 24, kButtonHeight = 30, kAcceptWidth = 120, kCancelWidth = 84, kButtonSpace = 10;
const int kBelowButtons = 60;      // from the buttons' bottom to the frame's, the caption included
const int kMaxLabelHeight = 320;   // some sixteen lines; a longer text is cut

// Shared by the prompt's loop and PromptWndProc, which finds it through the
// window's GWLP_USERDATA slot.
struct PromptState {
    HWND label = nullptr, edit = nullptr, note = nullptr, accept = nullptr, cancel = nullptr;  // only those asked for
    bool done = false;
    bool accepted = false;
    std::wstring text;
    HFONT font = nullptr;  // the message font for the prompt's DPI
};

const PromptTexts kSiteAddressTexts = {
    L"Velotide \u2013 site address",
    L"Enter the address of your Velotide site (for example your Zeabur URL):",
    L"Example: https://my-site.zeabur.app",
    L"Save && open",
};

void RegisterPromptClass() {
    if (g_app.promptClassRegistered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PromptWndProc;
    wc.hInstance = g_app.instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPromptClass;
    RegisterClassW(&wc);
    g_app.promptClassRegistered = true;
}

// The height the label's text takes at its width in font, as the label
// draws it: one line at least, kMaxLabelHeight at most.
int LabelHeight(HWND label, HFONT font, UINT dpi) {
    int length = GetWindowTextLengthW(label);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(label, text.data(), length + 1));
    RECT rect = {0, 0, ScaleForDpi(kContentWidth, dpi), 0};
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return std::clamp(static_cast<int>(rect.bottom), ScaleForDpi(kLineHeight, dpi), ScaleForDpi(kMaxLabelHeight, dpi));
}

// Gives the controls a message font for dpi and their rectangles, and the
// prompt its size when resize holds (a move between monitors brings its own
// rectangle).
void LayOutPrompt(HWND prompt, PromptState& state, UINT dpi, bool resize) {
    state.font = SetMessageFont(prompt, dpi, state.font);
    int grown = LabelHeight(state.label, state.font, dpi) - ScaleForDpi(kLineHeight, dpi);
    // y and height in 96-DPI units, below the label's first line.
    auto place = [&](HWND control, int x, int y, int width, int height) {
        MoveWindow(control, ScaleForDpi(x, dpi), ScaleForDpi(y, dpi) + grown, ScaleForDpi(width, dpi),
                   ScaleForDpi(height, dpi), TRUE);
    };
    MoveWindow(state.label, ScaleForDpi(kLeft, dpi), ScaleForDpi(kLabelTop, dpi), ScaleForDpi(kContentWidth, dpi),
               ScaleForDpi(kLineHeight, dpi) + grown, TRUE);
    int y = kLabelTop + kLineHeight;
    if (state.edit) {
        place(state.edit, kLeft, y + kGap, kContentWidth, kEditHeight);
        y += kGap + kEditHeight;
    }
    if (state.note) {
        place(state.note, kLeft, y + kGap, kContentWidth, kLineHeight);
        y += kGap + kLineHeight;
    }
    y += kButtonGap;
    int right = kLeft + kContentWidth;
    if (state.cancel) {
        place(state.cancel, right - kCancelWidth, y, kCancelWidth, kButtonHeight);
        right -= kCancelWidth + kButtonSpace;
    }
    place(state.accept, right - kAcceptWidth, y, kAcceptWidth, kButtonHeight);
    if (resize)
        SetWindowPos(prompt, nullptr, 0, 0, ScaleForDpi(kPromptWidth, dpi),
                     ScaleForDpi(y + kButtonHeight + kBelowButtons, dpi) + grown,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND AddControl(HWND prompt, const wchar_t* className, const wchar_t* text, DWORD exStyle, DWORD style, int id = 0) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, prompt,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_app.instance, nullptr);
}

// What the prompt is centred over: the main window, or, while that is
// minimised or hidden (a page's dialog can come then), the work area of its
// monitor, so that the prompt is never off the screen.
RECT CentreArea() {
    RECT area;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if ((IsIconic(g_app.mainWindow) || !IsWindowVisible(g_app.mainWindow)) &&
        GetMonitorInfoW(MonitorFromWindow(g_app.mainWindow, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    GetWindowRect(g_app.mainWindow, &area);
    return area;
}

// The top left corner that centres a window of this size over CentreArea.
POINT CentredCorner(LONG width, LONG height) {
    RECT area = CentreArea();
    return {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}

// Creates the prompt window centred over the main window, with its controls
// (the field only when text is given, to start with it); null when the
// window could not be made.
HWND CreatePrompt(PromptState& state, const PromptTexts& texts, const std::wstring* text) {
    // Made first, hidden, at its usual size over the main window, so that it
    // is on that window's monitor; its own size follows from its DPI and texts.
    UINT dpi = g_app.mainWindow ? WindowDpi(g_app.mainWindow) : ScreenDpi();
    int width = ScaleForDpi(kPromptWidth, dpi);
    int height = ScaleForDpi(kLabelTop + kLineHeight + 2 * kGap + kEditHeight + kLineHeight + kButtonGap +
                                 kButtonHeight + kBelowButtons,
                             dpi);
    POINT corner = g_app.mainWindow ? CentredCorner(width, height) : POINT{CW_USEDEFAULT, CW_USEDEFAULT};
    HWND prompt = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kPromptClass, texts.title,
                                  WS_CAPTION | WS_SYSMENU, corner.x, corner.y, width, height, g_app.mainWindow, nullptr,
                                  g_app.instance, &state);
    if (!prompt) return nullptr;

    state.label = AddControl(prompt, L"STATIC", texts.label, 0, 0);
    if (text)
        state.edit = AddControl(prompt, L"EDIT", text->c_str(), WS_EX_CLIENTEDGE, WS_TABSTOP | ES_AUTOHSCROLL);
    if (*texts.note) state.note = AddControl(prompt, L"STATIC", texts.note, 0, 0);
    state.accept = AddControl(prompt, L"BUTTON", texts.accept, 0, WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
    if (texts.cancel) state.cancel = AddControl(prompt, L"BUTTON", texts.cancel, 0, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
    // Its own DPI, should it have opened on another monitor than its owner's.
    LayOutPrompt(prompt, state, WindowDpi(prompt), true);
    RECT own;
    if (g_app.mainWindow && GetWindowRect(prompt, &own)) {
        corner = CentredCorner(own.right - own.left, own.bottom - own.top);
        SetWindowPos(prompt, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(prompt, SW_SHOW);  // whole, at its place
    SetFocus(state.edit ? state.edit : state.accept);
    if (state.edit) SendMessageW(state.edit, EM_SETSEL, 0, -1);
    return prompt;
}

// Runs the modal loop until the prompt is done, or its question no longer
// stands. A WM_QUIT ends it as a cancel; its exit code is handed back so the
// caller can post it again.
bool RunPromptLoop(HWND prompt, PromptState& state, bool (*stillWanted)(), WPARAM& quitCode) {
    MSG msg;
    while (!state.done && (!stillWanted || stillWanted())) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            quitCode = msg.wParam;
            return true;
        }
        // Enter and Escape act wherever the focus is, even outside the prompt.
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
            SendMessageW(prompt, WM_COMMAND, msg.wParam == VK_RETURN ? IDOK : IDCANCEL, 0);
            continue;
        }
        if (!IsDialogMessageW(prompt, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return false;
}

// The prompt from start to end; text null for one without a field.
bool RunPrompt(const PromptTexts& texts, std::wstring* text, bool (*stillWanted)()) {
    // A second request (a held Ctrl+L, say) finds the prompt open: it comes to
    // the front rather than opening another inside it.
    if (g_app.promptWindow) {
        SetForegroundWindow(g_app.promptWindow);
        return false;
    }
    RegisterPromptClass();
    PromptState state;
    HWND prompt = g_app.promptWindow = CreatePrompt(state, texts, text);
    // Without a window nothing could ever finish the loop.
    if (!prompt) state.done = true;
    if (g_app.mainWindow) EnableWindow(g_app.mainWindow, FALSE);

    WPARAM quitCode = 0;
    bool quit = RunPromptLoop(prompt, state, stillWanted, quitCode);

    // The owner comes back before the prompt goes, so activation returns to it.
    if (g_app.mainWindow) {
        EnableWindow(g_app.mainWindow, TRUE);
        SetForegroundWindow(g_app.mainWindow);
    }
    if (prompt) DestroyWindow(prompt);
    g_app.promptWindow = nullptr;
    if (state.font) DeleteObject(state.font);
    // The page's dialogs that came meanwhile waited for this one to go.
    if (FirstPageDialog()) PostViewNotice(kNoticePageDialog);

    if (quit) {
        // The quit was meant for the main loop: let it still end the program.
        PostQuitMessage(static_cast<int>(quitCode));
        return false;
    }
    if (state.accepted && text) *text = state.text;
    return state.accepted;
}

void ApplySiteAddress(std::wstring address) {
    if (!NormalizeSiteAddress(address)) {
        MessageBoxW(g_app.mainWindow, L"That does not look like a valid web address.", L"Velotide",
                    MB_OK | MB_ICONWARNING);
        return;
    }
    g_app.siteUrl = address;
    g_app.homeOrigin = SiteOrigin(address);
    SaveSettings();
    SetSiteNotificationState(true);  // the answer about notifications goes with the new site
    CloseBar(BarTopic::kOtherSite);  // what was stopped before no longer matters
    OpenSite();
}

}  // namespace

bool AskForText(const PromptTexts& texts, std::wstring& text, bool (*stillWanted)()) {
    return RunPrompt(texts, &text, stillWanted);
}

bool AskForAnswer(const PromptTexts& texts, bool (*stillWanted)()) { return RunPrompt(texts, nullptr, stillWanted); }

void PromptForSiteAddress() {
    std::wstring address = g_app.siteUrl;
    // An address is cut to the longest one the settings and policies take.
    if (AskForText(kSiteAddressTexts, address)) ApplySiteAddress(address.substr(0, kMaxAddressLength));
}

HWND MessageBoxOwner() { return g_app.promptWindow ? g_app.promptWindow : g_app.mainWindow; }

LRESULT CALLBACK PromptWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            // Whole, however long: a page's prompt() may hand over long text.
            if (state->edit) {
                state->text.resize(GetWindowTextLengthW(state->edit) + 1);
                state->text.resize(GetWindowTextW(state->edit, state->text.data(), state->text.size()));
            }
            state->accepted = true;
            state->done = true;
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            state->done = true;
            return 0;
        }
        break;
    case WM_CLOSE:
        // Only finish the loop; the loop's owner destroys the window.
        state->done = true;
        return 0;
    case kDpiChangedMessage: {
        // Moved to a monitor of another scale: the suggested rectangle, and
        // every control and the font again for the new DPI.
        TakeSuggestedRect(window, lParam);
        if (state) LayOutPrompt(window, *state, HIWORD(wParam), false);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
