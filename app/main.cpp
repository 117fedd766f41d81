// Process entry: one instance per desktop, then the main window, the engine
// and the program's only top-level message loop. DPI awareness (per monitor)
// comes from the manifest (resources/velotide.manifest), before any window.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/kiosk.h"
#include "app/main_window.h"
#include "app/make_program.h"
#include "app/organisation_policies.h"
#include "app/out_of_sight.h"
#include "app/program_file.h"
#include "app/app_registration.h"
#include "app/placement.h"
#include "app/remove_site_app.h"
#include "app/site_app.h"
#include "app/site_apps_upkeep.h"
#include "app/site_bar.h"
#include "app/tray.h"
#include "app/start_with_windows.h"
#include "settings/config_store.h"
#include "settings/policy_registry.h"
#include "settings/site_address.h"
#include "webview/startup.h"

// How the main window first shows: started by Windows at sign-in, out of the
// way (only the notification area's icon when the program is kept there and
// the icon is there to bring it back).
static int FirstShowCommand(int showCommand) {
    if (!g_app.startedInBackground) return showCommand;
    return g_app.keepInTray && TrayIconShown() ? SW_HIDE : SW_SHOWMINNOACTIVE;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    g_app.instance = instance;
    CommandLine arguments = ParseCommandLine(GetCommandLineW());
    if (arguments.makeProgramGiven) return MakeProgram(arguments.makeProgram);
    if (!arguments.problem.empty()) return SayCommandLineProblem(arguments.problem);
    // An exe with a preset is that site's own program: its site, name and
    // identity are fixed in it (no policy's Url replaces them), and no site
    // app runs in it.
    OwnPreset preset = ReadOwnPreset(&g_app.program);
    if (preset == OwnPreset::kDamaged) return SayProgramIsDamaged();
    g_app.fixed.site = preset == OwnPreset::kRead;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the shell's shortcuts are COM objects
    if (preset == OwnPreset::kNone && arguments.removeAppGiven) return RemoveSiteApp(arguments.removeApp);
    // Read once, before anything is changed: a fault in them ends the start.
    Policies policies = ReadPolicies();
    if (preset == OwnPreset::kNone) {
        if (arguments.appGiven && policies.createApps.set) return SaySiteAppsAreOff();
        if (!arguments.appGiven && policies.url.refused)
            return SayPolicyUrlIsInvalid(policies.url.address, policies.urlInstalled);
        if (arguments.appGiven) {
            // One whose removal could not finish is not started again: what is
            // left of it goes now.
            if (FinishRemovingApp(arguments.app) || !AppExists(arguments.app)) return SayThereIsNoSuchApp(arguments.app);
            g_app.appId = arguments.app;
        }
    }
    // Windows names the program's notifications and groups its windows on the
    // taskbar by this, the same as its Start menu shortcut carries.
    SetCurrentProcessExplicitAppUserModelID(AppUserModelId(g_app.appId).c_str());
    // The kiosk's own switches count with --kiosk, or with the organisation's Kiosk=1.
    if (arguments.kiosk.on || policies.kiosk.set) {
        g_app.kiosk = arguments.kiosk;
        g_app.kiosk.on = true;
    }
    g_app.startedInBackground = arguments.background && !g_app.kiosk.on;  // a kiosk is the screen

    HANDLE mutex = CreateMutexW(nullptr, TRUE, InstanceMutexName(g_app.appId).c_str());
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Started in the background, it leaves the running one as it is.
        std::wstring windowClass = MainWindowClass(g_app.appId);
        if (HWND first = g_app.startedInBackground ? nullptr : FindWindowW(windowClass.c_str(), nullptr)) {
            // A window kept in the notification area, or never shown, comes
            // back; only a minimised window is restored: a maximised one stays so.
            if (!IsWindowVisible(first)) ShowWindow(first, SW_SHOW);
            if (IsIconic(first)) ShowWindow(first, SW_RESTORE);
            SetForegroundWindow(first);
        }
        return 0;  // the mutex handle goes with the process
    }

    if (!policies.startWithWindows.set) RepairStartWithWindows(g_app.appId);  // turned off: an administrator starts it
    if (!g_app.appId.empty()) RepairAppRegistration({g_app.appId});

    g_app.dataDir = DataFolder();
    MakeDataFolder();
    g_app.profile = ProfileOf(g_app.appId);
    LoadConfig();  // before the menu: "Block ad domains" starts from blockAds
    if (!arguments.site.empty() && !g_app.fixed.site) {  // a kiosk's own site, for this run only
        g_app.siteUrl = arguments.site;
        g_app.homeOrigin = SiteOrigin(arguments.site);
    }
    PutPoliciesInForce(policies);

    RegisterMainWindowClass();
    g_app.menuBar = BuildMenuBar();
    g_app.mainWindow = CreateMainWindow();
    if (g_app.kiosk.on) {
        StartKiosk();  // covering its monitor before it first shows
        ShowWindow(g_app.mainWindow, SW_SHOW);
    } else {
        UpdateTrayIcon();  // before the first show, which hides the window only when the icon is there
        ShowWindow(g_app.mainWindow, RestoreWindowPlace(g_app.mainWindow, FirstShowCommand(showCommand)));
    }
    FollowWindowSight(WindowSight(g_app.mainWindow));  // kept hidden from the start, no show said so
    UpdateWindow(g_app.mainWindow);
    StartWebView(ViewArea);
    // Not needed for the window or the site: after both are on their way.
    // Velotide's apps run velotide.exe: a site's own program leaves them be.
    if (g_app.appId.empty() && g_app.program.id.empty()) TendSiteApps();

    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        // Tab, Enter and Esc among the site bar's buttons.
        if (g_app.siteBar && IsDialogMessageW(g_app.siteBar, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    ReleaseWebView();
    CoUninitialize();
    CloseHandle(mutex);
    return static_cast<int>(msg.wParam);
}
