// The view window: paints the latest frame Chromium rendered, passes size,
// keys and characters on to the page, and takes control commands.
#include "engines/chromium/chromium_browser.h"
#include "engines/common/runtime_controls.h"

namespace {

// WM_DPICHANGED_AFTERPARENT (Windows 10), which the SDK's headers give only to newer targets.
const UINT kDpiChangedAfterParent = 0x02E3;

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
            if (msg == WM_RBUTTONUP) OpenContextMenu(*b);
            return 0;
        case WM_MOUSEMOVE:
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            b->DeliverMouse(msg, wParam, lParam);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            b->DeliverKey(msg, wParam, lParam);
            return 0;
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // The page sees system keys too; those the program didn't take go
            // on to the window system (Alt+F4, F10 and Alt for the menu).
            if (b->DeliverKey(msg, wParam, lParam)) return 0;
            break;
        case WM_CHAR:
            b->DeliverCharacter(static_cast<wchar_t>(wParam));
            return 0;
        case WM_SYSCHAR:  // Alt with a letter: the menu's, unless the program took the key
            if (b->keyTaken()) return 0;
            break;
        case kDpiChangedAfterParent:
            b->Resize(b->width(), b->height());
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
