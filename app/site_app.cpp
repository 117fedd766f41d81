#include "app/site_app.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/app_state.h"
#include "app/dpi.h"
#include "app/exe_path.h"
#include "settings/app_names.h"

std::wstring VelotideFolder() {
    wchar_t base[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)))
        lstrcpyW(base, L".");
    return std::wstring(base) + L"\\Velotide";
}

std::wstring AppFolder(const std::wstring& id) { return VelotideFolder() + L"\\Apps\\" + id; }

std::vector<std::wstring> AppIds() {
    std::vector<std::wstring> ids;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((VelotideFolder() + L"\\Apps\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return ids;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsValidAppId(found.cFileName))
            ids.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return ids;
}

bool DeleteFolderWhole(const std::wstring& folder) {
    std::wstring from = folder;
    from.push_back(L'\0');  // the list ends with an empty name
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    return SHFileOperationW(&operation) == 0 && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool AppExists(const std::wstring& id) {
    return IsValidAppId(id) && GetFileAttributesW((AppFolder(id) + L"\\config.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool AppIsRunning(const std::wstring& id) {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, InstanceMutexName(id).c_str());
    if (!mutex) return GetLastError() != ERROR_FILE_NOT_FOUND;  // one that exists but can't be opened runs too
    CloseHandle(mutex);
    return true;
}

// Plain Velotide's names stay as they always were; an app's add its id.
static std::wstring Named(const std::wstring& id, const wchar_t* plain, const wchar_t* app,
                          const wchar_t* after = L"") {
    return id.empty() ? plain : app + id + after;
}

std::wstring MainWindowClass(const std::wstring& id) { return Named(id, L"VelotideMain", L"VelotideMain.App."); }
std::wstring InstanceMutexName(const std::wstring& id) {
    return Named(id, L"Velotide.Desktop.SingleInstance", L"Velotide.App.", L".SingleInstance");
}
std::wstring AppUserModelId(const std::wstring& id) { return Named(id, L"Velotide.Desktop", L"Velotide.App."); }
std::wstring RunValueName(const std::wstring& id) { return Named(id, L"Velotide", L"Velotide.App."); }
std::wstring RunArguments(const std::wstring& id) { return Named(id, L"--background", L"--app ", L" --background"); }
std::wstring ProgramName() { return g_app.appName.empty() ? L"Velotide" : g_app.appName; }

bool StartVelotide(const std::wstring& arguments) {
    std::wstring exe = ThisExePath();
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (exe.empty() ||
        !CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    AllowSetForegroundWindow(process.dwProcessId);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

int SayThereIsNoSuchApp(const std::wstring& id) {
    std::wstring shown = id.substr(0, 64);
    for (wchar_t& c : shown)
        if (c < 0x20) c = L' ';
    MessageBoxW(nullptr, (L"There is no Velotide app named \u201C" + shown + L"\u201D.").c_str(), L"Velotide",
                MB_ICONERROR);
    return 2;
}

HICON LoadOwnIcon(int pixels) {
    HANDLE icon = nullptr;
    std::wstring file = g_app.dataDir + L"\\icon.ico";
    if (!g_app.appId.empty()) icon = LoadImageW(nullptr, file.c_str(), IMAGE_ICON, pixels, pixels, LR_LOADFROMFILE);
    if (!icon) icon = LoadImageW(g_app.instance, MAKEINTRESOURCEW(1), IMAGE_ICON, pixels, pixels, 0);
    return static_cast<HICON>(icon);
}

void SetAppWindowIcon(HWND window) {
    if (g_app.appId.empty()) return;
    UINT dpi = WindowDpi(window);
    for (auto [kind, size] : {std::pair{ICON_SMALL, 16}, std::pair{ICON_BIG, 32}}) {
        HICON image = LoadOwnIcon(ScaleForDpi(size, dpi));
        if (!image) continue;
        HICON old = reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(image)));
        if (old) DestroyIcon(old);
    }
}
