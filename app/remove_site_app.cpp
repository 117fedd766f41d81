#include "app/remove_site_app.h"

#include <windows.h>

#include "app/app_registration.h"
#include "app/app_state.h"
#include "app/commands.h"
#include "app/site_app.h"
#include "settings/app_names.h"
#include "settings/config_store.h"

// How long a running instance may take to close, its page's question included.
static const DWORD kQuitWaitMs = 60000;

static std::wstring RemovedMark(const std::wstring& id) { return AppFolder(id) + L"\\removed"; }

void FinishRemovingApp(const std::wstring& id) {
    if (IsValidAppId(id) && GetFileAttributesW(RemovedMark(id).c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFolderWhole(AppFolder(id));
}

// Asks a running instance of the app to quit, as Quit does, and waits a while
// for it to be gone.
static void QuitRunningApp() {
    HWND window = FindWindowW(MainWindowClass().c_str(), nullptr);
    if (!window) return;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    AllowSetForegroundWindow(processId);  // its page's question may come to the front
    PostMessageW(window, WM_COMMAND, ID_SITE_QUIT, 0);
    if (process) {
        WaitForSingleObject(process, kQuitWaitMs);
        CloseHandle(process);
    }
}

void AskToRemoveThisApp() { StartVelotide(L"--remove-app " + g_app.appId); }

int RemoveSiteApp(const std::wstring& id) {
    if (!AppExists(id)) return SayThereIsNoSuchApp(id);
    g_app.appId = id;
    g_app.dataDir = AppFolder(id);
    LoadConfig();
    std::wstring question = L"Remove " + ProgramName() + L"? Its sign-in and settings are deleted.";
    if (MessageBoxW(nullptr, question.c_str(), L"Velotide", MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
    QuitRunningApp();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    UnregisterApp(id);
    CoUninitialize();
    if (!DeleteFolderWhole(AppFolder(id))) {
        // Still in use: the folder goes at the app's next start.
        HANDLE mark = CreateFileW(RemovedMark(id).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    }
    return 0;
}
