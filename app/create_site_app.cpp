#include "app/create_site_app.h"

#include <windows.h>

#include <iterator>

#include "app/app_icon.h"
#include "app/app_registration.h"
#include "app/app_state.h"
#include "app/exe_path.h"
#include "app/prompt.h"
#include "app/site_app.h"
#include "app/steps_with_undo.h"
#include "settings/app_names.h"
#include "settings/config_store.h"
#include "settings/site_address.h"
#include "webview/page_title.h"
#include "webview/site_icon.h"

namespace {

const PromptTexts kNameTexts = {
    L"Velotide \u2013 create an app",
    L"Name of the app, as the Start menu and the taskbar show it:",
    L"It opens the site in a window of its own, with a sign-in of its own.",
    L"Create",
};

bool FolderTaken(const std::wstring& id) {
    return GetFileAttributesW(AppFolder(id).c_str()) != INVALID_FILE_ATTRIBUTES || AppIsRegistered(id);
}

// The app being made: what each step needs.
struct NewApp {
    std::wstring id, name, folder, exe;
    std::string iconPng;  // the site's icon, or none
};

bool MakeFolder(const NewApp& app) {
    CreateDirectoryW(VelotideFolder().c_str(), nullptr);
    CreateDirectoryW((VelotideFolder() + L"\\Apps").c_str(), nullptr);
    return CreateDirectoryW(app.folder.c_str(), nullptr) != FALSE;
}

// The site, its allowed sign-in sites and ad blocking as Velotide has them;
// the window's place, notifications and the rest its own from the start.
// What the organisation fixes is the person's own there too; the site is
// the app's.
bool WriteSettings(const NewApp& app) {
    AppState settings;
    settings.siteUrl = g_app.siteUrl;
    settings.appName = app.name;
    settings.blockAds = g_app.blockAds;
    settings.allowedOrigins = g_app.allowedOrigins;
    settings.linesAsRead = g_app.linesAsRead;
    settings.fixed.allowedSites = g_app.fixed.allowedSites;
    settings.fixed.blockAds = g_app.fixed.blockAds;
    return WriteConfig(app.folder, settings);
}

bool WriteIcon(const NewApp& app) {
    std::wstring icon = app.folder + L"\\icon.ico";
    return (!app.iconPng.empty() && WriteIconFromPng(app.iconPng, icon)) || WriteProgramIcon(icon);
}

bool Register(const NewApp& app) { return RegisterApp(app.id, app.name, SiteHost(g_app.siteUrl), app.exe); }

bool Start(const NewApp& app) { return StartVelotide(L"--app " + app.id); }

void RemoveFolder(const NewApp& app) { DeleteFolderWhole(app.folder); }
void Unregister(const NewApp& app) { UnregisterApp(app.id); }

// In order, each with what undoes it once a later step fails.
const struct Step {
    const wchar_t* doing;  // "Velotide could not create the app while ..."
    bool (*run)(const NewApp&);
    void (*undo)(const NewApp&);
} kSteps[] = {
    {L"making its folder", MakeFolder, RemoveFolder},
    {L"writing its settings", WriteSettings, nullptr},
    {L"writing its icon", WriteIcon, nullptr},
    {L"adding it to the Start menu and to Settings \u203A Apps", Register, Unregister},
    {L"starting it", Start, nullptr},
};

}  // namespace

void CreateSiteApp() {
    if (g_app.siteUrl.empty() || !g_app.newAppName.empty()) return;  // nothing to make, or one on its way
    std::wstring name = NameFromTitle(g_app.pageTitle);
    if (name.empty()) name = SiteHost(g_app.siteUrl);
    if (!AskForText(kNameTexts, name)) return;
    name = NameFromTitle(name);  // trimmed; a count typed in front is no part of a name
    g_app.newAppName = name.empty() ? SiteHost(g_app.siteUrl) : name;
    // An icon that never comes (a server that never answers) must not keep
    // the app from being made: it then gets Velotide's.
    SetTimer(g_app.mainWindow, kSiteIconTimer, kSiteIconWait, nullptr);
    FetchSiteIcon();
}

void FinishCreatingSiteApp() {
    KillTimer(g_app.mainWindow, kSiteIconTimer);
    if (g_app.newAppName.empty()) return;
    NewApp app;
    app.name.swap(g_app.newAppName);
    // The icon's bytes (up to 4 MB) go with the app being made, and no further.
    app.iconPng.swap(g_app.siteIconPng);
    app.id = AppIdFromName(app.name, FolderTaken);
    app.folder = AppFolder(app.id);
    app.exe = ThisExePath();
    size_t failed = app.exe.empty() ? 0 : RunStepsWithUndo(kSteps, std::size(kSteps), app);
    if (failed == std::size(kSteps)) return;
    std::wstring message = L"Velotide could not create the app \u201C" + app.name + L"\u201D: " +
                           kSteps[failed].doing + L" failed. Nothing of it was kept.";
    MessageBoxW(g_app.mainWindow, message.c_str(), L"Velotide", MB_ICONERROR);
}
