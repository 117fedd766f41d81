#include "app/site_bar.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/dpi.h"

namespace {

// The action buttons are numbered from kFirstButtonId; the close button is
// IDCANCEL, so Esc closes too.
enum : int { kTextId = 1, kFirstButtonId = 10 };
const size_t kMaxButtons = 2;

// Sizes at 96 DPI: the bar's height, the buttons' height, the gap around them
// and the close button's width.
const int kBarHeight = 34;
const int kButtonHeight = 24;
const int kGap = 8;
const int kCloseWidth = 28;

// What the bar tells of now, and what its buttons do, in the order they show.
BarTopic shownTopic = BarTopic::kNone;
std::vector<BarButton> shownButtons;
void (*shownDismissed)() = nullptr;

// What the bar said goes unanswered.
void Dismiss() {
    auto dismissed = shownDismissed;
    shownDismissed = nullptr;
    if (dismissed) dismissed();
}

// 96-DPI pixels as pixels of the monitor window is on.
int Scaled(HWND window, int pixels) { return ScaleForDpi(pixels, WindowDpi(window)); }

// The system's message font for the DPI the bar was last laid out at.
HFONT barFont = nullptr;
UINT barFontDpi = 0;

// Gives the bar's controls the message font for its monitor's DPI, made
// anew only when that DPI changed.
void SetBarFont(HWND bar) {
    UINT dpi = WindowDpi(bar);
    if (barFont && dpi == barFontDpi) return;
    barFont = SetMessageFont(bar, dpi, barFont);
    barFontDpi = dpi;
}

HWND CreateSiteBar() {
    WNDCLASSW wc = {};
    if (!GetClassInfoW(g_app.instance, kSiteBarClass, &wc)) {
        wc.lpfnWndProc = SiteBarWndProc;
        wc.hInstance = g_app.instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
        wc.lpszClassName = kSiteBarClass;
        RegisterClassW(&wc);
    }
    // A control parent, so Tab moves between its buttons.
    HWND bar = CreateWindowExW(WS_EX_CONTROLPARENT, kSiteBarClass, L"Velotide bar", WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                               0, 0, g_app.mainWindow, nullptr, g_app.instance, nullptr);
    auto add = [bar](const wchar_t* className, const wchar_t* text, DWORD style, int id) {
        CreateWindowExW(0, className, text, WS_CHILD | style, 0, 0, 0, 0, bar,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_app.instance, nullptr);
    };
    add(L"STATIC", L"", WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_ENDELLIPSIS | SS_NOPREFIX, kTextId);
    for (size_t i = 0; i < kMaxButtons; ++i)
        add(L"BUTTON", L"", WS_TABSTOP | BS_PUSHBUTTON, kFirstButtonId + static_cast<int>(i));
    add(L"BUTTON", L"\u00D7", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
    return bar;
}

// Lays the controls out in a bar of the given size: the close button at the
// right end, the shown buttons before it, the text in the room they leave.
void LayOut(HWND bar, int width, int height) {
    int gap = Scaled(bar, kGap);
    int buttonHeight = Scaled(bar, kButtonHeight);
    int top = (height - buttonHeight) / 2;
    int right = width - gap;
    auto place = [&](int id, int width96) {
        int w = Scaled(bar, width96);
        MoveWindow(GetDlgItem(bar, id), right - w, top, w, buttonHeight, TRUE);
        right -= w + gap / 2;
    };
    place(IDCANCEL, kCloseWidth);
    for (size_t i = shownButtons.size(); i-- > 0;) place(kFirstButtonId + static_cast<int>(i), shownButtons[i].width);
    MoveWindow(GetDlgItem(bar, kTextId), gap, 0, right - gap, height, TRUE);
}

// Whether the bar has something to say and may show.
bool BarShows() { return shownTopic != BarTopic::kNone && !g_app.isFullscreen; }

}  // namespace

void ShowBar(BarTopic topic, const std::wstring& text, const std::wstring& subject,
             const std::vector<BarButton>& buttons, void (*dismissed)()) {
    if (!g_app.mainWindow) return;
    if (topic != shownTopic) Dismiss();
    shownDismissed = dismissed;
    if (!g_app.siteBar) g_app.siteBar = CreateSiteBar();
    shownButtons.assign(buttons.begin(), buttons.begin() + std::min(buttons.size(), kMaxButtons));
    for (size_t i = 0; i < kMaxButtons; ++i) {
        HWND button = GetDlgItem(g_app.siteBar, kFirstButtonId + static_cast<int>(i));
        SetWindowTextW(button, i < shownButtons.size() ? shownButtons[i].text : L"");
        ShowWindow(button, i < shownButtons.size() ? SW_SHOWNA : SW_HIDE);
    }
    shownTopic = topic;
    g_app.barSubject = subject;
    SetDlgItemTextW(g_app.siteBar, kTextId, text.c_str());
    RECT client;
    GetClientRect(g_app.siteBar, &client);
    LayOut(g_app.siteBar, client.right, client.bottom);  // the same size, other buttons
    FitViewToWindow();
}

void CloseBar(BarTopic topic) {
    if (shownTopic == BarTopic::kNone || (topic != BarTopic::kNone && topic != shownTopic)) return;
    shownTopic = BarTopic::kNone;
    g_app.barSubject.clear();
    Dismiss();
    bool hadFocus = IsChild(g_app.siteBar, GetFocus());
    FitViewToWindow();
    if (hadFocus) SetFocus(g_app.mainWindow);  // which passes it on to the view
}

// The strip the bar takes at the top of a client area, while it shows.
static int BarStrip(const RECT& client) {
    HWND bar = g_app.siteBar;
    return bar && BarShows() ? std::min(Scaled(bar, kBarHeight), static_cast<int>(client.bottom - client.top)) : 0;
}

RECT ViewArea() {
    RECT client;
    GetClientRect(g_app.mainWindow, &client);
    client.top += BarStrip(client);
    return client;
}

void FitViewToWindow() {
    RECT client;
    GetClientRect(g_app.mainWindow, &client);
    HWND bar = g_app.siteBar;
    if (bar && BarShows()) {
        SetBarFont(bar);
        MoveWindow(bar, client.left, client.top, client.right - client.left, BarStrip(client), TRUE);
        ShowWindow(bar, SW_SHOWNA);
    } else if (bar) {
        ShowWindow(bar, SW_HIDE);
    }
    if (g_app.controller) g_app.controller->put_Bounds(ViewArea());
}

bool FocusSiteBar() {
    if (!g_app.siteBar || !IsWindowVisible(g_app.siteBar)) return false;
    SetFocus(GetNextDlgTabItem(g_app.siteBar, nullptr, FALSE));
    return true;
}

LRESULT CALLBACK SiteBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        LayOut(window, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        // The text on the bar's own colour.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOBK));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    case WM_COMMAND: {
        // Every button closes the bar, then acts on what it named.
        size_t index = static_cast<size_t>(LOWORD(wParam) - kFirstButtonId);
        if (LOWORD(wParam) != IDCANCEL && index >= shownButtons.size()) break;
        std::wstring subject = g_app.barSubject;
        auto act = LOWORD(wParam) == IDCANCEL ? nullptr : shownButtons[index].act;
        if (act) shownDismissed = nullptr;  // answered
        CloseBar();
        if (act) act(subject);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
