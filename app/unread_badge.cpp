#include "app/unread_badge.h"

#include <shobjidl.h>

#include "app/app_state.h"
#include "app/dpi.h"

std::wstring CountText(int count) {
    std::string digits = std::to_string(count);
    return std::wstring(digits.begin(), digits.end());
}

std::wstring BadgeText(int count) { return count > 99 ? L"99+" : CountText(count); }

HICON CreateBadgeIcon(int count, int size) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP color = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!color) {
        DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ oldBitmap = SelectObject(dc, color);
    // A red disc with the number in white, as bold as fits.
    HBRUSH red = CreateSolidBrush(RGB(0xD1, 0x34, 0x38));
    HGDIOBJ oldBrush = SelectObject(dc, red);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 0, 0, size + 1, size + 1);
    std::wstring text = BadgeText(count);
    LOGFONTW face = MessageFontFor(96);
    face.lfHeight = -MulDiv(size, text.size() > 2 ? 9 : text.size() > 1 ? 11 : 13, 16);
    face.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectW(&face);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT box = {0, 0, size, size};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    GdiFlush();
    // GDI draws no alpha: every pixel it drew is opaque, the rest clear.
    auto* pixel = static_cast<DWORD*>(bits);
    for (int i = 0; i < size * size; ++i)
        if (pixel[i]) pixel[i] |= 0xFF000000;
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(red);
    DeleteDC(dc);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO icon = {TRUE, 0, 0, mask, color};
    HICON badge = CreateIconIndirect(&icon);
    DeleteObject(mask);
    DeleteObject(color);
    return badge;
}

void ShowUnreadCount() {
    static ITaskbarList3* taskbar = [] {
        ITaskbarList3* list = nullptr;
        if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList3),
                                    reinterpret_cast<void**>(&list))) ||
            !list || FAILED(list->HrInit())) {
            if (list) list->Release();
            return static_cast<ITaskbarList3*>(nullptr);
        }
        return list;
    }();
    if (!taskbar) return;
    int count = g_app.unreadCount;
    HICON badge = count > 0 ? CreateBadgeIcon(count, ScaleForDpi(16, WindowDpi(g_app.mainWindow))) : nullptr;
    taskbar->SetOverlayIcon(g_app.mainWindow, badge, count > 0 ? CountText(count).c_str() : L"");
    if (badge) DestroyIcon(badge);  // the taskbar keeps its own copy
}

bool IsTaskbarButtonCreatedMessage(UINT message) {
    static const UINT buttonCreated = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message == buttonCreated;
}
