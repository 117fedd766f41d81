#include "webview/startup.h"

#include <string>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/fullscreen.h"
#include "settings/replace_file.h"
#include "webview/ad_block.h"
#include "webview/handler.h"
#include "webview/kiosk.h"
#include "webview/lock_gaps.h"
#include "webview/message_page.h"
#include "webview/navigation_policy.h"
#include "webview/notifications.h"
#include "webview/other_sites.h"
#include "webview/page_dialogs.h"
#include "webview/page_title.h"
#include "webview/permissions.h"
#include "webview/process_recovery.h"
#include "webview/profile_deletion.h"
#include "webview/shortcuts.h"
#include "webview/sleeping.h"
#include "webview/view_notices.h"

static const wchar_t kRuntimeMissing[] =
    L"Velotide needs the Microsoft Edge WebView2 Runtime, which was not found.\n\n"
    L"Install the \"Evergreen WebView2 Runtime\" from Microsoft (search: WebView2 Runtime download), "
    L"then start Velotide again.";

// The user may quit while start-up is still on its way: the window is gone
// and a quit is posted. A completion arriving then has nothing left to do,
// and must not report the missing window as an engine failure.
static bool MainWindowGone() { return !IsWindow(g_app.mainWindow); }

static const wchar_t kNoPrivateView[] =
    L"This WebView2 Runtime can't open a private view, which --kiosk-public needs. Update the WebView2 Runtime, "
    L"then start Velotide again.";

// Posted: a message box inside the engine's callback would run its own
// message loop there, and the window's posted commands with it. A kiosk
// whose browser failed to come back tries again later instead: nobody is
// there to read a message.
static void FailStartup(const wchar_t* message) {
    if (g_app.kiosk.on && g_app.engineRestarted)
        PostViewNotice(kNoticeRestartEngine);
    else
        PostViewNotice(kNoticeStartupFailed, reinterpret_cast<LPARAM>(message));
}

// True when the file at path holds exactly these bytes.
static bool FileHolds(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    std::string content;
    DWORD read = 0;
    bool same = GetFileSizeEx(file, &size) && size.QuadPart == static_cast<LONGLONG>(bytes.size());
    if (same) {
        content.resize(bytes.size());
        same = ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr) &&
               read == content.size() && content == bytes;
    }
    CloseHandle(file);
    return same;
}

// Writes resource 2 (the loader library) to path unless the file there holds
// exactly its bytes already. A size alone says nothing: PE files come in
// 512-byte blocks, so a loader left by an older Velotide, or one damaged on
// disk, has the same size as ours more often than not. The file is replaced
// whole, so a failed write never leaves half a loader for the next start.
// When another running copy has it loaded, it can't be replaced: this one
// goes on with it too. Failures are silent: loading then tells.
static void ExtractLoader(const std::wstring& path) {
    HRSRC found = FindResourceW(g_app.instance, MAKEINTRESOURCEW(2), RT_RCDATA);
    if (!found) return;
    std::string bytes(static_cast<const char*>(LockResource(LoadResource(g_app.instance, found))),
                      SizeofResource(g_app.instance, found));
    if (!FileHolds(path, bytes)) ReplaceFileWhole(path, bytes);
}

// The view's rectangle in the main window, as the window lays it out.
static RECT (*viewArea)() = nullptr;
static CreateEnvironment createEnvironment = nullptr;  // the loader's, once loaded

static void OnControllerReady(ICoreWebView2Controller* controller) {
    g_app.controller = controller;
    controller->AddRef();
    // A new view shows nothing yet, and counts navigations afresh; what the
    // old one's page waited for goes with it.
    AnswerWaitingPermissions(false);
    EndPageDialogs();
    DropNotifications();
    g_app.nav = {};
    controller->get_CoreWebView2(&g_app.webview);
    if (!g_app.webview) {  // a controller without a view is as good as none
        FailStartup(L"Could not create the browser view.");
        return;
    }
    // In order: its settings are in place before it is sized, it fits the
    // window before anything shows, every handler and filter is in place
    // before it shows anything, and it shows before it loads.
    ICoreWebView2Settings* settings = nullptr;
    if (SUCCEEDED(g_app.webview->get_Settings(&settings)) && settings) {
        settings->put_IsStatusBarEnabled(FALSE);
        settings->put_AreDevToolsEnabled(FALSE);
        settings->put_IsZoomControlEnabled(TRUE);
        TakePageDialogs(g_app.webview, settings);
        if (g_app.kiosk.on) TurnOffRuntimeControls(settings);
        settings->Release();
    }
    controller->put_Bounds(viewArea());

    ICoreWebView2* view = g_app.webview;
    EventRegistrationToken token;
    view->add_NewWindowRequested(Give(new OnNewWin_([](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
                                     return OnNewWindowRequested(args);
                                 })),
                                 &token);
    view->add_NavigationStarting(Give(new OnNav_([](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
                                     return OnNavigationStarting(args);
                                 })),
                                 &token);
    AddAdDomainFilters(view);
    view->add_WebResourceRequested(Give(new OnRes_([](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
                                       return OnWebResourceRequested(args);
                                   })),
                                   &token);
    view->add_ContainsFullScreenElementChanged(
        Give(new OnFull_([](ICoreWebView2* sender, IUnknown*) { return OnPageFullscreenChanged(sender); })), &token);
    view->add_ContentLoading(Give(new OnLoading_([](ICoreWebView2* sender, ICoreWebView2ContentLoadingEventArgs* args) {
                                 return OnContentLoading(sender, args);
                             })),
                             &token);
    view->add_NavigationCompleted(Give(new OnDone_([](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
                                      return OnNavigationCompleted(args);
                                  })),
                                  &token);
    // Where the runtime lets a cancelled navigation through anyway.
    AddLockGapHandlers(view);
    AddLaunchHandler(view);
    AddPermissionHandler(view);
    SetSiteNotificationState(true);  // before the site's first document asks
    AddNotificationHandler(view);
    AddTitleHandler(view);
    EndWhenProfileDeleted(view);
    if (g_app.kiosk.on) AddKioskRefusals(view);
    view->add_ProcessFailed(Give(new OnProcFail_([](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
                                return OnProcessFailed(args);
                            })),
                            &token);
    controller->add_AcceleratorKeyPressed(
        Give(new OnKey_([](ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
            return OnAcceleratorKeyPressed(args);
        })),
        &token);

    // A view made while the window is minimised or not shown (started in the
    // background) stays invisible until the window shows.
    g_app.nav.hidden = IsIconic(g_app.mainWindow) || !IsWindowVisible(g_app.mainWindow);
    controller->put_IsVisible(g_app.nav.hidden ? FALSE : TRUE);
    if (g_app.nav.hidden) SetViewMemoryTarget(true);
    // The view doesn't take the focus by itself: without this the shortcuts
    // would wait for a click into the page. After a restart the focus was in
    // the old view, which is gone, so it is the active window that counts.
    if (GetActiveWindow() == g_app.mainWindow) controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
    if (g_app.engineRestarted && !g_app.reopenAddress.empty()) {
        view->Navigate(g_app.reopenAddress.c_str());
    } else if (!g_app.siteUrl.empty()) {
        OpenSite();
    } else if (g_app.kiosk.on) {
        // Nobody at a kiosk could answer the prompt: the page says what is missing.
        ShowMessagePage(L"No site is set",
                        L"This kiosk has no site address to show. Start Velotide with --kiosk and the site's "
                        L"address, or set the site in its settings.");
    } else {
        ShowMessagePage(L"Welcome to Velotide", L"Enter your site address to get started.");
        // Posted, so the prompt opens from the message loop once the engine's
        // callback has returned.
        PostMessageW(g_app.mainWindow, WM_COMMAND, ID_SITE_CHANGE, 0);
    }
}

CreateEnvironment LoadLoader(const std::wstring& folder) {
    std::wstring path = folder + L"\\WebView2Loader.dll";
    ExtractLoader(path);
    HMODULE loader = LoadLibraryW(path.c_str());  // kept for the life of the process
    return reinterpret_cast<CreateEnvironment>(
        loader ? reinterpret_cast<void*>(GetProcAddress(loader, "CreateCoreWebView2EnvironmentWithOptions")) : nullptr);
}

static void StartEngine();

// The view in the main window, in its profile: InPrivate for a public kiosk,
// whose visitors leave nothing on disk. A runtime that can't make the
// profile (one without ICoreWebView2Environment10, or that refuses the name)
// gets the data folder's own user-data folder instead, as before apps shared
// one, and keeps it (app/site_app's ProfileOf); but never a view that keeps
// what a public kiosk must not.
static void CreateView(ICoreWebView2Environment* environment) {
    auto onController = Give(new OnCtl_([](HRESULT error, ICoreWebView2Controller* controller) -> HRESULT {
        if (MainWindowGone()) return S_OK;
        if (FAILED(error) || !controller)
            FailStartup(L"Could not create the browser view.");
        else
            OnControllerReady(controller);
        return S_OK;
    }));
    const std::wstring& name = g_app.profile.profileName;
    if (name.empty() && !g_app.kiosk.inPrivate) {
        environment->CreateCoreWebView2Controller(g_app.mainWindow, onController);
        return;
    }
    auto environment10 = AsNewer<ICoreWebView2Environment10>(environment, IID_ICoreWebView2Environment10);
    ICoreWebView2ControllerOptions* options = nullptr;
    bool made = environment10 && SUCCEEDED(environment10->CreateCoreWebView2ControllerOptions(&options)) && options &&
                (name.empty() || SUCCEEDED(options->put_ProfileName(name.c_str()))) &&
                (!g_app.kiosk.inPrivate || SUCCEEDED(options->put_IsInPrivateModeEnabled(TRUE)));
    if (made) environment10->CreateCoreWebView2ControllerWithOptions(g_app.mainWindow, options, onController);
    if (options) options->Release();
    if (environment10) environment10->Release();
    if (made) return;
    if (g_app.kiosk.inPrivate) {
        FailStartup(kNoPrivateView);
        return;
    }
    ReleaseWebView();
    g_app.profile = {g_app.dataDir + L"\\WebView2", L""};
    StartEngine();
}

// Asks the loader for an environment and a view; the rest follows from the
// message loop. Also starts the engine again.
static void StartEngine() {
    if (!createEnvironment) {
        FailStartup(L"Could not start the web engine (WebView2 loader).");
        return;
    }
    auto onEnvironment = Give(new OnEnv_([](HRESULT error, ICoreWebView2Environment* environment) -> HRESULT {
        if (MainWindowGone()) return S_OK;
        if (FAILED(error) || !environment) {
            FailStartup(kRuntimeMissing);
            return S_OK;
        }
        g_app.environment = environment;
        environment->AddRef();
        CreateView(environment);
        return S_OK;
    }));
    if (FAILED(createEnvironment(nullptr, g_app.profile.userDataFolder.c_str(), nullptr, onEnvironment)))
        FailStartup(kRuntimeMissing);
}

void StartWebView(RECT (*area)()) {
    viewArea = area;
    createEnvironment = LoadLoader(g_app.dataDir);
    StartEngine();
}

void RestartWebView() {
    if (g_app.engineRestarted && !g_app.kiosk.on) {
        FailStartup(kRuntimeMissing);
        return;
    }
    g_app.engineRestarted = true;
    // A browser lost again before it showed a page reopens the page the first one showed.
    if (!g_app.nav.currentAddress.empty()) g_app.reopenAddress = g_app.nav.currentAddress;
    // The page that asked is gone: its dialogs close.
    EndPageDialogs();
    // The page that was fullscreen is gone: nothing would ever end it.
    if (g_app.pageFullscreen) {
        g_app.pageFullscreen = false;
        SetFullscreen(false);
    }
    // The old controller is closed for good already; closing it here too lets
    // the engine drop what it still holds for it before it is released.
    if (g_app.controller) g_app.controller->Close();
    ReleaseWebView();
    StartEngine();
}

static void ReleaseView() {
    if (g_app.webview) g_app.webview->Release();
    if (g_app.controller) g_app.controller->Release();
    g_app.webview = nullptr;
    g_app.controller = nullptr;
}

void ReopenView() {
    if (!g_app.environment) return;
    if (g_app.controller) g_app.controller->Close();
    ReleaseView();
    CreateView(g_app.environment);
}

void ReleaseWebView() {
    ReleaseView();
    if (g_app.environment) g_app.environment->Release();
    g_app.environment = nullptr;
}
