// The view window: paints the latest frame Chromium rendered, passes size,
// keys and characters on to the page, and takes control commands.
#include "engines/chromium/chromium_browser.h"

namespace {

LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* b = reinterpret_cast<ChromiumBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!b) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT client;
            GetClientRect(hwnd, &client);
            PaintFrame(dc, client, b->frame());
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SIZE:
            b->Resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            SetFocus(hwnd);
            SetCapture(hwnd);  // a drag goes on reaching the page outside the view
            b->DeliverMouse(msg, wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) ReleaseCapture();
            b->DeliverMouse(msg, wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            b->DeliverMouse(msg, wParam, lParam);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // The page takes every key: none goes on to the program's windows or menu.
            b->DeliverKey(msg, wParam, lParam);
            return 0;
        case WM_CHAR:
            b->DeliverCharacter(static_cast<wchar_t>(wParam));
            return 0;
        case WM_SYSCHAR:  // Alt with a letter: the page had its key, and the menu gets nothing
            return 0;
        case WM_COPYDATA: {
            std::wstring text;
            return ReadEngineCommand(lParam, &text) && b->RunCommand(text);
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND CreateViewWindow(HWND parent, ChromiumBrowser* browser) { return CreateEngineView(parent, ViewProc, browser); }
