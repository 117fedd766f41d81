#include "app/site_bar.h"

#include <algorithm>
#include <iterator>

#include "app/app_state.h"
#include "app/dpi.h"
#include "app/main_window.h"
#include "settings/site_address.h"
#include "webview/other_sites.h"

namespace {

enum : int { kTextId = 1, kOpenId = 10, kAllowId = 11 };  // the close button is IDCANCEL, so Esc closes too

// Sizes at 96 DPI: the bar's height, the buttons' height and the gap around them.
const int kBarHeight = 34;
const int kButtonHeight = 24;
const int kGap = 8;

struct BarControl {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    int width;  // at 96 DPI; 0: the text, which takes the room the buttons leave
    int id;
};

// Left to right: the text, then the buttons at the right end.
const BarControl kControls[] = {
    {L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_ENDELLIPSIS | SS_NOPREFIX, 0, kTextId},
    {L"BUTTON", L"Open in browser", WS_TABSTOP | BS_PUSHBUTTON, 120, kOpenId},
    {L"BUTTON", L"Allow in Velotide", WS_TABSTOP | BS_PUSHBUTTON, 130, kAllowId},
    {L"BUTTON", L"\u00D7", WS_TABSTOP | BS_PUSHBUTTON, 28, IDCANCEL},
};

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
    HWND bar = CreateWindowExW(WS_EX_CONTROLPARENT, kSiteBarClass, L"Another site", WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                               0, 0, g_app.mainWindow, nullptr, g_app.instance, nullptr);
    for (const BarControl& c : kControls)
        CreateWindowExW(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, 0, 0, 0, 0, bar,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), g_app.instance, nullptr);
    return bar;
}

// Lays the controls out in a bar of the given size: buttons from the right.
void LayOut(HWND bar, int width, int height) {
    int gap = Scaled(bar, kGap);
    int buttonHeight = Scaled(bar, kButtonHeight);
    int right = width - gap;
    for (int i = static_cast<int>(std::size(kControls)) - 1; i > 0; --i) {
        int w = Scaled(bar, kControls[i].width);
        MoveWindow(GetDlgItem(bar, kControls[i].id), right - w, (height - buttonHeight) / 2, w, buttonHeight, TRUE);
        right -= w + gap / 2;
    }
    MoveWindow(GetDlgItem(bar, kTextId), gap, 0, right - gap, height, TRUE);
}

}  // namespace

void ShowSiteBar(const std::wstring& address) {
    if (!g_app.mainWindow) return;
    if (!g_app.siteBar) g_app.siteBar = CreateSiteBar();
    g_app.stoppedAddress = address;
    SetDlgItemTextW(g_app.siteBar, kTextId, (SiteHost(address) + L" is another site").c_str());
    FitViewToWindow();
}

void CloseSiteBar() {
    if (g_app.stoppedAddress.empty()) return;
    g_app.stoppedAddress.clear();
    bool hadFocus = IsChild(g_app.siteBar, GetFocus());
    FitViewToWindow();
    if (hadFocus) SetFocus(g_app.mainWindow);  // which passes it on to the view
}

int PlaceSiteBar(const RECT& client) {
    HWND bar = g_app.siteBar;
    if (!bar) return 0;
    if (g_app.stoppedAddress.empty() || g_app.isFullscreen) {
        ShowWindow(bar, SW_HIDE);
        return 0;
    }
    SetBarFont(bar);
    int height = std::min(Scaled(bar, kBarHeight), static_cast<int>(client.bottom - client.top));
    MoveWindow(bar, client.left, client.top, client.right - client.left, height, TRUE);
    ShowWindow(bar, SW_SHOWNA);
    return height;
}

bool FocusSiteBar() {
    if (!g_app.siteBar || !IsWindowVisible(g_app.siteBar)) return false;
    SetFocus(GetDlgItem(g_app.siteBar, kOpenId));
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
        // The buttons act on the address the bar names now; each closes the bar.
        std::wstring address = g_app.stoppedAddress;
        switch (LOWORD(wParam)) {
        case kOpenId:
            CloseSiteBar();
            OpenWithWindows(address);
            return 0;
        case kAllowId:
            AllowSiteOf(address);
            return 0;
        case IDCANCEL:
            CloseSiteBar();
            return 0;
        }
        break;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
