#include "tests/conformance/desktop.h"

#include <cstdio>

namespace {

void Input(std::vector<INPUT>& inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

INPUT Key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

void Front(HWND window) {
    if (window && GetForegroundWindow() != window) {
        SetForegroundWindow(window);
        Until([&] { return GetForegroundWindow() == window; }, 2000);
    }
}

}  // namespace

bool Until(const std::function<bool()>& check, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (check()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
}

Velotide::~Velotide() {
    if (!Running()) return;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    Wait(5000);  // and then ended by force
}

bool Velotide::Start(const std::wstring& arguments, DWORD timeoutMs) {
    window_ = nullptr;
    process_ = std::make_unique<ChildProcess>(exe_, L"", nullptr, SW_SHOWNORMAL, arguments);
    if (!process_->started()) return false;
    // Its main window: the one with a menu, or (a kiosk) the one covering its monitor.
    return Until(
        [&] {
            for (HWND w : TopWindows(pid())) {
                RECT r, monitor = MonitorRect(w);
                GetWindowRect(w, &r);
                if (!GetWindow(w, GW_OWNER) && (GetMenu(w) || EqualRect(&r, &monitor))) window_ = w;
            }
            return window_ != nullptr || !Running();
        },
        timeoutMs) &&
           window_;
}

std::wstring Widen(const std::string& utf8) {
    std::wstring out(utf8.size(), L'\0');
    out.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0],
                                   static_cast<int>(out.size())));
    return out;
}

std::string Narrow(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0],
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

std::string WindowText(HWND window) {
    wchar_t text[512] = L"";
    // Through the message, so that a control of another process answers.
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return Narrow(text);
}

std::vector<HWND> TopWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search = {pid, {}};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (IsWindowVisible(w) && (!s->pid || owner == s->pid)) s->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindByText(HWND parent, const std::string& part) {
    if (!parent) return nullptr;
    if (IsWindowVisible(parent) && WindowText(parent).find(part) != std::string::npos) return parent;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HWND found = FindByText(child, part)) return found;
    return nullptr;
}

RECT MonitorRect(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcMonitor;
}

std::string Describe(const RECT& r) {
    char text[80];
    snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

void PressKey(HWND window, WORD vk, WORD mods) {
    Front(window);
    std::vector<INPUT> inputs;
    if (mods) inputs.push_back(Key(mods, false));
    inputs.push_back(Key(vk, false));
    inputs.push_back(Key(vk, true));
    if (mods) inputs.push_back(Key(mods, true));
    Input(inputs);
    Sleep(300);
}

void ClickOn(HWND window) {
    Front(GetAncestor(window, GA_ROOT));
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    std::vector<INPUT> inputs(2);
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Input(inputs);
    Sleep(300);
}

bool SaveScreen(const std::wstring& path) {
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                      nullptr, 0);
    bool saved = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
               GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
        SelectObject(memory, old);
        DWORD size = ((width * 3 + 3) & ~3) * height;
        BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + size), 0, 0,
                                 sizeof file + sizeof header};
        if (FILE* out = _wfopen(path.c_str(), L"wb")) {
            saved = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
                    fwrite(bits, size, 1, out) == 1;
            saved = fclose(out) == 0 && saved;
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}
