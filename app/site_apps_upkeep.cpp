#include "app/site_apps_upkeep.h"

#include "app/app_registration.h"
#include "app/app_state.h"
#include "app/remove_site_app.h"
#include "app/site_app.h"
#include "app/start_with_windows.h"

void TendSiteApps() {
    std::vector<std::wstring> apps;
    for (const std::wstring& id : AppIds()) {
        if (FinishRemovingApp(id) || !AppExists(id)) continue;
        if (!g_app.startWithWindowsOff) RepairStartWithWindows(id);  // turned off: an administrator starts it
        apps.push_back(id);
    }
    RepairAppRegistration(apps);
}
