#include "app/site_app.h"

#include <shlobj.h>

#include "app/app_state.h"
#include "app/dpi.h"
#include "settings/app_names.h"

std::wstring VelotideFolder() {
    wchar_t base[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)))
        lstrcpyW(base, L".");
    return std::wstring(base) + L"\\Velotide";
}

std::wstring AppFolder(const std::wstring& id) { return VelotideFolder() + L"\\Apps\\" + id; }

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
std::wstring RunValueName() { return Named(L"Velotide", L"Velotide.App."); }
std::wstring RunArguments() { return Named(L"--background", L"--app ", L" --background"); }
std::wstring ProgramName() { return g_app.appName.empty() ? L"Velotide" : g_app.appName; }

int SayThereIsNoSuchApp(const std::wstring& id) {
    std::wstring shown = id.substr(0, 64);
    for (wchar_t& c : shown)
        if (c < 0x20) c = L' ';
    MessageBoxW(nullptr, (L"There is no Velotide app named \u201C" + shown + L"\u201D.").c_str(), L"Velotide",
                MB_ICONERROR);
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
