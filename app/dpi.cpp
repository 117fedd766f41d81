#include "app/dpi.h"

// Both arrived with Windows 10 (1607) and mingw's import libraries may lack
// them: looked up once, by name.
template <typename F>
static F User32Function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT WindowDpi(HWND window) {
    static auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (!window) return 96;
    UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi ? dpi : ScreenDpi();
}

int ScaleForDpi(int size, UINT dpi) { return MulDiv(size, static_cast<int>(dpi), 96); }

LOGFONTW MessageFontFor(UINT dpi) {
    static auto parametersForDpi =
        User32Function<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!parametersForDpi || !parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        // The font for the screen's DPI, brought to this one.
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(metrics.lfMessageFont), &metrics.lfMessageFont);
            return metrics.lfMessageFont;
        }
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                                static_cast<int>(ScreenDpi()));
    }
    return metrics.lfMessageFont;
}

HFONT CreateMessageFont(UINT dpi) {
    LOGFONTW font = MessageFontFor(dpi);
    return CreateFontIndirectW(&font);
}

HFONT SetMessageFont(HWND parent, UINT dpi, HFONT old) {
    HFONT font = CreateMessageFont(dpi);
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
    if (old) DeleteObject(old);
    return font;
}

void TakeSuggestedRect(HWND window, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT KeepInside(RECT rect, const RECT& area) {
    LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width > area.right - area.left) width = area.right - area.left;
    if (height > area.bottom - area.top) height = area.bottom - area.top;
    if (rect.left < area.left) rect.left = area.left;
    if (rect.top < area.top) rect.top = area.top;
    if (rect.left + width > area.right) rect.left = area.right - width;
    if (rect.top + height > area.bottom) rect.top = area.bottom - height;
    return {rect.left, rect.top, rect.left + width, rect.top + height};
}
