#include "app/prompt.h"

#include <string>

#include "app/app_state.h"
#include "app/dpi.h"
#include "app/settings_notice.h"
#include "app/site_bar.h"
#include "settings/site_address.h"
#include "webview/navigation_policy.h"

namespace {

const wchar_t kPromptClass[] = L"VelotidePrompt";
const int kPromptWidth = 560;
const int kPromptHeight = 210;

// Shared by the prompt's loop and PromptWndProc, which finds it through the
// window's GWLP_USERDATA slot.
struct PromptState {
    HWND edit = nullptr;
    bool done = false;
    bool accepted = false;
    std::wstring text;
    HFONT font = nullptr;  // the message font for the prompt's DPI
};

// Rectangles in client coordinates at 96 DPI, scaled to the prompt's DPI.
// The texts are the prompt's: its label, the text to edit, its note and its
// button.
struct ControlSpec {
    const wchar_t* className;
    const wchar_t* PromptTexts::*text;  // null: "Cancel"
    DWORD exStyle;
    DWORD style;
    int x, y, width, height;
    int id;
};

const ControlSpec kControls[] = {
    {L"STATIC", &PromptTexts::label, 0, WS_CHILD | WS_VISIBLE, 16, 14, 520, 20, 0},
    {L"EDIT", nullptr, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 16, 42, 520, 26, 0},
    {L"STATIC", &PromptTexts::note, 0, WS_CHILD | WS_VISIBLE, 16, 76, 520, 20, 0},
    {L"BUTTON", &PromptTexts::accept, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 322, 120, 120, 30, IDOK},
    {L"BUTTON", nullptr, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 452, 120, 84, 30, IDCANCEL},
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

// Gives the controls their rectangles and a message font for dpi, and the
// prompt its size when resize holds (a move between monitors brings its own
// rectangle).
void LayOutPrompt(HWND prompt, PromptState& state, UINT dpi, bool resize) {
    if (resize)
        SetWindowPos(prompt, nullptr, 0, 0, ScaleForDpi(kPromptWidth, dpi), ScaleForDpi(kPromptHeight, dpi),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND control = GetWindow(prompt, GW_CHILD);
    for (const ControlSpec& c : kControls) {
        if (!control) break;
        MoveWindow(control, ScaleForDpi(c.x, dpi), ScaleForDpi(c.y, dpi), ScaleForDpi(c.width, dpi),
                   ScaleForDpi(c.height, dpi), TRUE);
        control = GetWindow(control, GW_HWNDNEXT);
    }
    state.font = SetMessageFont(prompt, dpi, state.font);
}

// Creates the prompt window centred over the main window, with its controls;
// null when the window could not be made.
HWND CreatePrompt(PromptState& state, const PromptTexts& texts, const std::wstring& text) {
    // The main window's DPI: the prompt opens on its monitor.
    UINT dpi = g_app.mainWindow ? WindowDpi(g_app.mainWindow) : ScreenDpi();
    int width = ScaleForDpi(kPromptWidth, dpi), height = ScaleForDpi(kPromptHeight, dpi);
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    if (g_app.mainWindow) {
        RECT owner;
        GetWindowRect(g_app.mainWindow, &owner);
        x = owner.left + (owner.right - owner.left - width) / 2;
        y = owner.top + (owner.bottom - owner.top - height) / 2;
    }
    HWND prompt = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kPromptClass, texts.title,
                                  WS_VISIBLE | WS_CAPTION | WS_SYSMENU, x, y, width, height, g_app.mainWindow,
                                  nullptr, g_app.instance, &state);
    if (!prompt) return nullptr;

    for (const ControlSpec& c : kControls) {
        bool edit = c.exStyle != 0;
        const wchar_t* shown = edit ? text.c_str() : c.text ? texts.*c.text : L"Cancel";
        HWND control = CreateWindowExW(c.exStyle, c.className, shown, c.style, 0, 0, 0, 0, prompt,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), g_app.instance, nullptr);
        if (edit) state.edit = control;
    }
    // Its own DPI, should it have opened on another monitor than its owner's.
    LayOutPrompt(prompt, state, WindowDpi(prompt), WindowDpi(prompt) != dpi);
    SetFocus(state.edit);
    SendMessageW(state.edit, EM_SETSEL, 0, -1);
    return prompt;
}

// Runs the modal loop until the prompt is done. A WM_QUIT ends it as a
// cancel; its exit code is handed back so the caller can post it again.
bool RunPromptLoop(HWND prompt, PromptState& state, WPARAM& quitCode) {
    MSG msg;
    while (!state.done) {
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

void ApplySiteAddress(std::wstring address) {
    if (!NormalizeSiteAddress(address)) {
        MessageBoxW(g_app.mainWindow, L"That does not look like a valid web address.", L"Velotide",
                    MB_OK | MB_ICONWARNING);
        return;
    }
    g_app.siteUrl = address;
    g_app.homeOrigin = SiteOrigin(address);
    SaveSettings();
    CloseBar(BarTopic::kOtherSite);  // what was stopped before no longer matters
    OpenSite();
}

}  // namespace

bool AskForText(const PromptTexts& texts, std::wstring& text) {
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
    bool quit = RunPromptLoop(prompt, state, quitCode);

    // The owner comes back before the prompt goes, so activation returns to it.
    if (g_app.mainWindow) {
        EnableWindow(g_app.mainWindow, TRUE);
        SetForegroundWindow(g_app.mainWindow);
    }
    if (prompt) DestroyWindow(prompt);
    g_app.promptWindow = nullptr;
    if (state.font) DeleteObject(state.font);

    if (quit) {
        // The quit was meant for the main loop: let it still end the program.
        PostQuitMessage(static_cast<int>(quitCode));
        return false;
    }
    if (state.accepted) text = state.text;
    return state.accepted;
}

void PromptForSiteAddress() {
    if (g_app.siteFixed) return;  // Ctrl+L asks too
    std::wstring address = g_app.siteUrl;
    if (AskForText(kSiteAddressTexts, address)) ApplySiteAddress(address);
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
            // A longer entry is cut to its first 2047 code units.
            wchar_t buffer[2048];
            state->text.assign(buffer, GetWindowTextW(state->edit, buffer, 2048));
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
