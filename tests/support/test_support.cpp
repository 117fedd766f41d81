#include "tests/support/test_support.h"

#include <shellapi.h>

#include <cstdio>

std::wstring WinPathFromUnix(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

std::wstring VelotideExePath() { return WinPathFromUnix(VELOTIDE_EXE_UNIX_PATH); }
std::wstring BuildDirPath() { return WinPathFromUnix(VELOTIDE_BUILD_UNIX_DIR); }

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return bytes;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    fclose(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

ScratchDir::ScratchDir(const std::wstring& suffix) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    path_ = std::wstring(temp) + L"velotide-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter) + suffix;
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() {
    std::wstring from = path_ + L'\0';  // SHFileOperation wants a double-null list
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

static const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

LocalAppDataOverride::LocalAppDataOverride(const std::wstring& folder) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    wchar_t old[MAX_PATH * 2];
    DWORD size = sizeof old;
    if (RegQueryValueExW(key, L"Local AppData", nullptr, &type_, reinterpret_cast<BYTE*>(old), &size) ==
        ERROR_SUCCESS) {
        hadValue_ = true;
        oldValue_.assign(old, size / sizeof(wchar_t));
        while (!oldValue_.empty() && oldValue_.back() == L'\0') oldValue_.pop_back();
    }
    RegSetValueExW(key, L"Local AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

LocalAppDataOverride::~LocalAppDataOverride() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    if (hadValue_)
        RegSetValueExW(key, L"Local AppData", 0, type_, reinterpret_cast<const BYTE*>(oldValue_.c_str()),
                       static_cast<DWORD>((oldValue_.size() + 1) * sizeof(wchar_t)));
    else
        RegDeleteValueW(key, L"Local AppData");
    RegCloseKey(key);
}

std::wstring EnvironmentWith(const std::vector<std::pair<std::wstring, std::wstring>>& extra) {
    std::wstring block;
    wchar_t* current = GetEnvironmentStringsW();
    for (const wchar_t* entry = current; *entry; entry += wcslen(entry) + 1) {
        std::wstring line = entry;
        bool replaced = false;
        for (const auto& [name, value] : extra) replaced |= line.rfind(name + L"=", 0) == 0;
        if (!replaced) block += line + L'\0';
    }
    FreeEnvironmentStringsW(current);
    for (const auto& [name, value] : extra) block += name + L"=" + value + L'\0';
    return block + L'\0';
}

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& workingDir, const wchar_t* environment,
                           WORD showCommand, const std::wstring& arguments) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                   environment ? CREATE_UNICODE_ENVIRONMENT : 0, const_cast<wchar_t*>(environment),
                   workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info_);
}

ChildProcess::~ChildProcess() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::vector<HWND> ProcessWindows(DWORD pid, const wchar_t* className) {
    std::vector<HWND> windows;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid) windows.push_back(window);
    }
    return windows;
}

HWND FindProcessWindow(DWORD pid, const wchar_t* className) {
    std::vector<HWND> windows = ProcessWindows(pid, className);
    return windows.empty() ? nullptr : windows.front();
}

HWND ChildProcess::WaitForWindow(const wchar_t* className, DWORD timeoutMs) const {
    HWND window = nullptr;
    PumpUntil([&] { return (window = FindProcessWindow(info_.dwProcessId, className)) != nullptr; }, timeoutMs);
    return window;
}

DWORD ChildProcess::WaitForExit(DWORD timeoutMs) const {
    DWORD code = STILL_ACTIVE;
    PumpUntil([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

// The longest static text of a dialog: a message box's message. (Windows
// gives that control id 0xFFFF, Wine 100, so it is found by class.)
static std::wstring DialogText(HWND dialog) {
    std::wstring longest;
    for (HWND child = nullptr; (child = FindWindowExW(dialog, child, L"Static", nullptr));) {
        wchar_t text[1024] = {};
        GetWindowTextW(child, text, 1024);
        if (wcslen(text) > longest.size()) longest = text;
    }
    return longest;
}

std::wstring DismissMessageBox(const ChildProcess& process, int button) {
    HWND box = process.WaitForWindow(L"#32770");
    if (!box) return L"(no message box)";
    std::wstring text;
    PumpUntil([&] { return !(text = DialogText(box)).empty(); });
    PostMessageW(box, WM_COMMAND, button, 0);
    return text;
}

std::wstring AnswerPrompt(const ChildProcess& process, int button, const wchar_t* typed) {
    HWND prompt = process.WaitForWindow(L"VelotidePrompt");
    if (!prompt || !PumpUntil([&] { return IsWindowVisible(prompt) != FALSE; })) return L"(no prompt)";
    wchar_t text[4096] = {};
    GetWindowTextW(prompt, text, 4096);
    std::wstring shown = text;
    for (HWND child = GetWindow(prompt, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));  // an edit's own text too
        shown += L"|" + std::wstring(text);
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (typed && lstrcmpiW(className, L"Edit") == 0) SendMessageW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
    }
    PostMessageW(prompt, WM_COMMAND, button, 0);
    PumpUntil([&] { return !IsWindow(prompt); });  // the next prompt is another window
    return shown;
}

COLORREF TrayIconCentre() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    RECT r = {};
    GetWindowRect(tray ? FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr) : nullptr, &r);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return colour;
}

std::wstring TitleOf(HWND window) {
    wchar_t text[512] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

MONITORINFO MonitorOf(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

DWORD IconCentre(const std::wstring& path) {
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    DWORD pixels[16 * 16] = {};
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, 16, pixels, &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    return pixels[8 * 16 + 8];
}

const wchar_t kRuntimeMissingMessage[] =
    L"Velotide needs the Microsoft Edge WebView2 Runtime, which was not found.\n\n"
    L"Install the \"Evergreen WebView2 Runtime\" from Microsoft (search: WebView2 Runtime download), "
    L"then start Velotide again.";
const wchar_t kLoaderFailedMessage[] = L"Could not start the web engine (WebView2 loader).";
const wchar_t kNoViewMessage[] = L"Could not create the browser view.";

UINT ExpectedDpi() {
    wchar_t value[16] = {};
    DWORD length = GetEnvironmentVariableW(L"VELOTIDE_TEST_DPI", value, 16);
    int dpi = length && length < 16 ? _wtoi(value) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}
