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

// Plain Velotide's names stay as they always were; an app's add its id.
static std::wstring Named(const wchar_t* plain, const wchar_t* app, const wchar_t* after = L"") {
    return g_app.appId.empty() ? plain : app + g_app.appId + after;
}

std::wstring MainWindowClass() { return Named(L"VelotideMain", L"VelotideMain.App."); }
std::wstring InstanceMutexName() {
    return Named(L"Velotide.Desktop.SingleInstance", L"Velotide.App.", L".SingleInstance");
}
std::wstring AppUserModelId() { return Named(L"Velotide.Desktop", L"Velotide.App."); }
std::wstring AppUserModelIdOf(const std::wstring& id) { return L"Velotide.App." + id; }
std::wstring RunValueName() { return Named(L"Velotide", L"Velotide.App."); }
std::wstring RunArguments() { return Named(L"--background", L"--app ", L" --background"); }
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
