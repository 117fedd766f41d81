#include "app/site_app.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/app_state.h"
#include "app/command_line.h"
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

std::wstring DataFolder() {
    if (!g_app.program.id.empty()) return VelotideFolder() + L"\\Programs\\" + g_app.program.id;
    return g_app.appId.empty() ? VelotideFolder() : AppFolder(g_app.appId);
}

void MakeDataFolder() {
    const std::wstring base = VelotideFolder(), folder = DataFolder();
    CreateDirectoryW(base.c_str(), nullptr);
    for (size_t at = folder.find(L'\\', base.size() + 1); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
}

ViewProfile ProfileOf(const std::wstring& id) {
    std::wstring own = (id.empty() ? DataFolder() : AppFolder(id)) + L"\\WebView2";
    if (id.empty() || GetFileAttributesW(own.c_str()) != INVALID_FILE_ATTRIBUTES) return {own, L""};
    // Not the id alone: "default" would be Velotide's own profile, and
    // "crashpad" the browser's own folder beside the profiles.
    return {VelotideFolder() + L"\\WebView2", AppUserModelId(id)};
}

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

// Plain Velotide's names stay as they always were; an app's add "App." and
// its id. A site's own program is known by "Program." and its id where
// Velotide is known by its plain names: it has no apps of its own.
static std::wstring Named(const std::wstring& id, const wchar_t* plain, const wchar_t* stem,
                          const wchar_t* after = L"") {
    if (!id.empty()) return stem + (L"App." + id) + after;
    return g_app.program.id.empty() ? plain : stem + (L"Program." + g_app.program.id) + after;
}

std::wstring MainWindowClass(const std::wstring& id) { return Named(id, L"VelotideMain", L"VelotideMain."); }
std::wstring InstanceMutexName(const std::wstring& id) {
    return Named(id, L"Velotide.Desktop.SingleInstance", L"Velotide.", L".SingleInstance");
}
std::wstring AppUserModelId(const std::wstring& id) { return Named(id, L"Velotide.Desktop", L"Velotide."); }
std::wstring RunValueName(const std::wstring& id) { return Named(id, L"Velotide", L"Velotide."); }
// A site's own program is its own exe: it needs no id to be what it is.
std::wstring RunArguments(const std::wstring& id) {
    return id.empty() ? L"--background" : L"--app " + id + L" --background";
}
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
    return SayCommandLineProblem(L"There is no Velotide app named " + QuotedForMessage(id) + L".");
}

int SayProgramIsDamaged() {
    MessageBoxW(nullptr, L"This program's site settings are damaged.", L"Velotide", MB_ICONERROR);
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
