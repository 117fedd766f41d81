#include "app/organisation_policies.h"

#include <windows.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "settings/config_store.h"

bool CommandAvailable(int id) {
    switch (id) {
    case ID_SITE_CHANGE:
        return !g_app.fixed.site;
    case ID_SITE_BLOCK_ADS:
        return !g_app.fixed.blockAds;
    case ID_SITE_NOTIFICATIONS:
        return !g_app.fixed.notifications;
    case ID_VIEW_KEEP_IN_TRAY:
        return !g_app.fixed.keepInTray;
    case ID_VIEW_START_WITH_WINDOWS:
        return !g_app.startWithWindowsOff;
    case ID_SITE_CREATE_APP:
        return !g_app.createAppsOff;
    }
    return true;
}

// Said before any window shows, like the program's other start-up faults.
static int SayAndEnd(const std::wstring& message) {
    MessageBoxW(nullptr, message.c_str(), L"Velotide", MB_ICONERROR);
    return 2;
}

int SayPolicyUrlIsInvalid(const std::wstring& address, bool installed) {
    return SayAndEnd(Utf8ToWide(installed ? "Velotide was installed with a site address that is not valid: "
                                          : "Your organisation set a site address for Velotide that is not valid: ") +
                     address);
}

int SaySiteAppsAreOff() { return SayAndEnd(L"Your organisation has turned off site apps in Velotide."); }
