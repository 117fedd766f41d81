#include "app/remove_site_app.h"

#include <windows.h>

#include <vector>

#include "app/app_registration.h"
#include "app/app_uninstall_entry.h"
#include "app/app_state.h"
#include "app/close.h"
#include "app/commands.h"
#include "app/site_app.h"
#include "app/start_with_windows.h"
#include "settings/app_names.h"
#include "settings/config_store.h"
#include "webview/profile_deletion.h"

// How long a running instance may take to close, its page's question included.
static const DWORD kQuitWaitMs = 60000;
// How long the runtime's browser processes, which outlive the app's own for
// a while, may hold files in its folder before the removal says so.
static const DWORD kHeldWaitMs = 15000;
static const DWORD kRetryMs = 250;

static std::wstring RemovedMark(const std::wstring& id) { return AppFolder(id) + L"\\removed"; }
static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// What is in the app's folder besides its settings and the mark, the
// engine's folder first.
static std::vector<std::wstring> FilesBesideSettings(const std::wstring& id) {
    std::vector<std::wstring> paths;
    std::wstring folder = AppFolder(id);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return paths;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || name == L"config.ini" || name == L"removed") continue;
        paths.insert(name == L"WebView2" ? paths.begin() : paths.end(), folder + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return paths;
}

// Deletes the app's files, its settings last: as long as anything is left it
// can be removed again. Tries again while the runtime's processes still
// hold files, for up to waitMs; what is left, empty when nothing is. With
// keepMark the folder stays with the mark alone, so that no new app takes
// the id while its profile waits to be deleted.
static std::vector<std::wstring> DeleteAppFiles(const std::wstring& id, DWORD waitMs, bool keepMark) {
    for (DWORD started = GetTickCount();; Sleep(kRetryMs)) {
        for (const std::wstring& path : FilesBesideSettings(id)) DeleteFolderWhole(path);
        std::vector<std::wstring> left = FilesBesideSettings(id);
        if (left.empty() && (keepMark ? DeleteFolderWhole(AppFolder(id) + L"\\config.ini")
                                      : DeleteFolderWhole(AppFolder(id))))
            return {};
        if (GetTickCount() - started >= waitMs) return left.empty() ? std::vector{AppFolder(id)} : left;
    }
}

// Whether a Velotide other than this process runs: plain Velotide (unless
// this is it, with its window) or any site app.
static bool OtherVelotideRuns() {
    bool thisIsVelotide = g_app.mainWindow && g_app.appId.empty();
    if (!thisIsVelotide && AppIsRunning(L"")) return true;
    for (const std::wstring& id : AppIds())
        if (AppIsRunning(id)) return true;
    return false;
}

// The app's profile in the user-data folder it shares with Velotide goes:
// where the runtime can be asked (askRuntime), it deletes it itself, but
// only once its browser has ended: until then a profile of that name can't
// be made. Otherwise its folder is deleted once no Velotide runs, as until
// then the shared browser may hold its files. False while it is left, so
// that its id stays taken.
static bool DeleteSharedProfile(const std::wstring& id, bool askRuntime) {
    ViewProfile profile = ProfileOf(id);
    std::wstring folder = profile.userDataFolder + L"\\EBWebView\\" + profile.profileName;
    if (profile.profileName.empty()) return true;  // its own folder is among its files
    if (askRuntime && Exists(folder)) DeleteProfile(profile, kHeldWaitMs);
    return !Exists(folder) || (!OtherVelotideRuns() && DeleteFolderWhole(folder));
}

// Everything of the app, in the order that keeps it removable: what starts
// it, then its profile and files, then its entry in Settings > Apps. Needs COM.
static std::vector<std::wstring> RemoveApp(const std::wstring& id, DWORD waitMs, bool askRuntime) {
    SetStartWithWindows(id, false);
    DeleteAppShortcuts(id);
    bool profileGone = DeleteSharedProfile(id, askRuntime);
    std::vector<std::wstring> left = DeleteAppFiles(id, waitMs, !profileGone);
    if (left.empty()) DeleteUninstallEntry(id);
    return left;
}

bool FinishRemovingApp(const std::wstring& id) {
    // A running instance keeps its folder, whatever the mark says.
    if (!IsValidAppId(id) || !Exists(RemovedMark(id)) || AppIsRunning(id)) return false;
    RemoveApp(id, 0, false);
    return true;
}

// Asks a running instance of the app to quit, as Quit does; true once it is
// gone (or none ran), false when it stays: the person chose to stay on its
// page, or it did not end in time.
static bool QuitRunningApp(const std::wstring& id) {
    HWND window = FindWindowW(MainWindowClass(id).c_str(), nullptr);
    if (!window) return !AppIsRunning(id);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    AllowSetForegroundWindow(processId);  // its page's question may come to the front
    // Sent, not posted: once it returns, the close is under way or over.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_COMMAND, ID_SITE_QUIT, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    bool gone = false;
    for (DWORD started = GetTickCount(); !gone && GetTickCount() - started < kQuitWaitMs;) {
        gone = WaitForSingleObject(process, kRetryMs) == WAIT_OBJECT_0;
        DWORD_PTR underWay = 1;  // a window that is gone or busy is still closing
        if (!gone && SendMessageTimeoutW(window, kCloseUnderWayMessage, 0, 0, SMTO_ABORTIFHUNG, 1000, &underWay) &&
            !underWay)
            break;  // the person stayed
    }
    CloseHandle(process);
    return gone;
}

void AskToRemoveThisApp() { StartVelotide(L"--remove-app " + g_app.appId); }

int RemoveSiteApp(const std::wstring& id) {
    if (!AppExists(id)) return SayThereIsNoSuchApp(id);
    g_app.appId = id;
    g_app.dataDir = AppFolder(id);
    LoadConfig();
    std::wstring question = L"Remove " + ProgramName() + L"? Its sign-in and settings are deleted.";
    if (MessageBoxW(nullptr, question.c_str(), L"Velotide", MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
    if (!QuitRunningApp(id)) {
        std::wstring stayed = ProgramName() + L" stayed open, so nothing of it was removed.";
        MessageBoxW(nullptr, stayed.c_str(), L"Velotide", MB_ICONINFORMATION);
        return 1;
    }
    // Should this process end before the end, Velotide's next start finishes.
    HANDLE mark = CreateFileW(RemovedMark(id).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    std::vector<std::wstring> left = RemoveApp(id, kHeldWaitMs, true);
    if (left.empty()) return 0;
    std::wstring said = ProgramName() + L" is gone from the Start menu, but some of its files are still in use:\n";
    for (const std::wstring& path : left) said += L"\n" + path;
    said += L"\n\nVelotide finishes removing it when it starts next.";
    MessageBoxW(nullptr, said.c_str(), L"Velotide", MB_ICONWARNING);
    return 1;
}
