// The view window, a child of the program's window that paints the shown
// page and receives keys and control commands, and the top-level window of
// an unhandled pop-up.
#include "engines/test/test_browser.h"
#include "engines/common/engine_protocol.h"
#include "engines/common/runtime_controls.h"

namespace {

HFONT Font(int height, bool bold) {
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY,
                       0, L"Segoe UI");
}

void PaintPage(HWND hwnd, const Page& page, bool fullscreenElement) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH background = CreateSolidBrush(page.background);
    FillRect(dc, &client, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);
    HFONT heading = Font(30, true), body = Font(18, false);
    RECT area = {client.left + 48, client.top + 40, client.right - 48, client.bottom - 16};
    for (const PageBlock& block : page.blocks) {
        HGDIOBJ old = SelectObject(dc, block.heading ? heading : body);
        SetTextColor(dc, block.color);
        RECT measure = area;
        DrawTextW(dc, block.text.c_str(), -1, &measure, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        DrawTextW(dc, block.text.c_str(), -1, &area, DT_WORDBREAK | DT_NOPREFIX);
        area.top += measure.bottom - measure.top + (block.heading ? 18 : 12);
        SelectObject(dc, old);
    }
    if (fullscreenElement) {  // the page's fullscreen element: a black band like a video player
        RECT band = {client.left, client.bottom - 60, client.right, client.bottom};
        FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetTextColor(dc, RGB(255, 255, 255));
        SelectObject(dc, body);
        DrawTextW(dc, L"fullscreen element", -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    DeleteObject(heading);
    DeleteObject(body);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* b = reinterpret_cast<TestBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (!b) break;
            PaintPage(hwnd, b->page, b->fullscreenElement);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            return 0;
        case WM_RBUTTONUP:
            if (b) OpenContextMenu(*b);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // The page takes every key: none goes on to the program's windows or menu.
            if (b) DeliverKey(*b, msg, wParam, lParam);
            return 0;
        case WM_COPYDATA: {
            std::wstring text;
            return b && !b->closed && ReadEngineCommand(lParam, &text) && RunCommand(b->self(), text);
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<Page*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_NCDESTROY:
            delete page;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (!page) break;
            PaintPage(hwnd, *page, false);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND CreateViewWindow(HWND parent, TestBrowser* browser) { return CreateEngineView(parent, ViewProc, browser); }

void ShowPage(TestBrowser& browser, Page page) {
    if (page.error)
        EngineLog(L"page shown error " + page.uri);
    else if (page.uri.starts_with(L"data:"))
        EngineLog(L"page shown data: " + PageText(page));
    else
        EngineLog(L"page shown " + page.uri);
    browser.page = std::move(page);
    InvalidateRect(browser.window, nullptr, TRUE);
}

void OpenPopupWindow(const std::wstring& uri) {
    RegisterEngineClass(kEnginePopupClass, PopupProc);
    HWND popup = CreateWindowExW(0, kEnginePopupClass, uri.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 640, 480, nullptr, nullptr, EngineModule(), new Page(PageForAddress(uri)));
    ShowWindow(popup, SW_SHOWNORMAL);
}
