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

// Plain Velotide's names stay as they always were; an app's add "App." and
// its id, a site's own program's "Program." and its id.
static std::wstring Named(const wchar_t* plain, const wchar_t* stem, const wchar_t* after = L"") {
    if (!g_app.program.id.empty()) return stem + (L"Program." + g_app.program.id) + after;
    return g_app.appId.empty() ? plain : stem + (L"App." + g_app.appId) + after;
}

std::wstring MainWindowClass() { return Named(L"VelotideMain", L"VelotideMain."); }
std::wstring InstanceMutexName() { return Named(L"Velotide.Desktop.SingleInstance", L"Velotide.", L".SingleInstance"); }
std::wstring AppUserModelId() { return Named(L"Velotide.Desktop", L"Velotide."); }
std::wstring AppUserModelIdOf(const std::wstring& id) { return L"Velotide.App." + id; }
std::wstring RunValueName() { return Named(L"Velotide", L"Velotide."); }
// A site's own program is its own exe: it needs no id to be what it is.
std::wstring RunArguments() {
    if (g_app.appId.empty() || !g_app.program.id.empty()) return L"--background";
    return L"--app " + g_app.appId + L" --background";
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
    std::wstring shown = id.substr(0, 64);
    for (wchar_t& c : shown)
        if (c < 0x20) c = L' ';
    MessageBoxW(nullptr, (L"There is no Velotide app named \u201C" + shown + L"\u201D.").c_str(), L"Velotide",
                MB_ICONERROR);
    return 2;
}

int SayProgramIsDamaged() {
    MessageBoxW(nullptr, L"This program's site settings are damaged.", L"Velotide", MB_ICONERROR);
    return 2;
}

void SetAppWindowIcon(HWND window) {
    if (g_app.appId.empty()) return;
    std::wstring icon = g_app.dataDir + L"\\icon.ico";
    UINT dpi = WindowDpi(window);
    for (auto [kind, size] : {std::pair{ICON_SMALL, 16}, std::pair{ICON_BIG, 32}}) {
        int pixels = ScaleForDpi(size, dpi);
        auto image = static_cast<HICON>(LoadImageW(nullptr, icon.c_str(), IMAGE_ICON, pixels, pixels, LR_LOADFROMFILE));
        if (!image) continue;
        HICON old = reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(image)));
        if (old) DestroyIcon(old);
    }
}
