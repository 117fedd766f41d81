#include "webview/profile_deletion.h"

#include "webview/handler.h"
#include "webview/startup.h"
#include "webview/view_notices.h"

namespace {

// The one deletion under way; the engine's completions find it here.
struct Deletion {
    std::wstring profileName;
    HWND parent = nullptr;  // the hidden view's window
    ICoreWebView2Environment* environment = nullptr;
    bool answered = false;
};
Deletion deletion;

// The view of the profile is there: the profile is asked to delete itself,
// which closes the view; closed here too, in case it was not asked.
HRESULT OnView(HRESULT error, ICoreWebView2Controller* controller) {
    deletion.answered = true;
    if (FAILED(error) || !controller) return S_OK;
    ICoreWebView2* view = nullptr;
    controller->get_CoreWebView2(&view);
    if (auto* profile8 = static_cast<ICoreWebView2Profile8*>(ViewProfileAs(view, IID_ICoreWebView2Profile8))) {
        profile8->Delete();
        profile8->Release();
    }
    if (view) view->Release();
    controller->Close();
    return S_OK;
}

HRESULT OnEnvironment(HRESULT error, ICoreWebView2Environment* environment) {
    auto environment10 =
        SUCCEEDED(error) ? AsNewer<ICoreWebView2Environment10>(environment, IID_ICoreWebView2Environment10) : nullptr;
    ICoreWebView2ControllerOptions* options = nullptr;
    bool asked = environment10 && SUCCEEDED(environment10->CreateCoreWebView2ControllerOptions(&options)) &&
                 options && SUCCEEDED(options->put_ProfileName(deletion.profileName.c_str())) &&
                 SUCCEEDED(environment10->CreateCoreWebView2ControllerWithOptions(
                     deletion.parent, options, Give(new OnCtl_([](HRESULT e, ICoreWebView2Controller* c) {
                         return OnView(e, c);
                     }))));
    if (asked) {
        deletion.environment = environment;
        environment->AddRef();
    }
    if (options) options->Release();
    if (environment10) environment10->Release();
    if (!asked) deletion.answered = true;
    return S_OK;
}

}  // namespace

void EndWhenProfileDeleted(ICoreWebView2* view) {
    auto* profile8 = static_cast<ICoreWebView2Profile8*>(ViewProfileAs(view, IID_ICoreWebView2Profile8));
    if (!profile8) return;
    EventRegistrationToken token;
    profile8->add_Deleted(Give(new OnProfileDeleted_([](ICoreWebView2Profile*, IUnknown*) {
                              PostViewNotice(kNoticeStartupFailed, reinterpret_cast<LPARAM>(L"This app was removed."));
                              return S_OK;
                          })),
                          &token);
    profile8->Release();
}

void DeleteProfile(const ViewProfile& profile, DWORD waitMs) {
    deletion = {profile.profileName};
    // The loader beside Velotide's own, whose folder the profile is in.
    CreateEnvironment create = LoadLoader(profile.userDataFolder.substr(0, profile.userDataFolder.rfind(L'\\')));
    deletion.parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (create && deletion.parent &&
        SUCCEEDED(create(nullptr, profile.userDataFolder.c_str(), nullptr,
                         Give(new OnEnv_([](HRESULT e, ICoreWebView2Environment* environment) {
                             return OnEnvironment(e, environment);
                         }))))) {
        for (DWORD started = GetTickCount(); !deletion.answered && GetTickCount() - started < waitMs;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
        }
    }
    if (deletion.environment) deletion.environment->Release();
    if (deletion.parent) DestroyWindow(deletion.parent);
    deletion = {};
}
