#include "webview/kiosk.h"

#include "app/app_state.h"
#include "webview/handler.h"
#include "webview/navigation_policy.h"
#include "webview/page_dialogs.h"
#include "webview/permissions.h"
#include "webview/startup.h"
#include "webview/view_notices.h"

void TurnOffRuntimeControls(ICoreWebView2Settings* settings) {
    settings->put_AreDefaultContextMenusEnabled(FALSE);
    ICoreWebView2Settings3* settings3 = nullptr;
    if (SUCCEEDED(settings->QueryInterface(IID_ICoreWebView2Settings3, reinterpret_cast<void**>(&settings3))) &&
        settings3) {
        settings3->put_AreBrowserAcceleratorKeysEnabled(FALSE);
        settings3->Release();
    }
}

void AddDownloadRefusal(ICoreWebView2* view) {
    ICoreWebView2_4* view4 = nullptr;
    if (FAILED(view->QueryInterface(IID_ICoreWebView2_4, reinterpret_cast<void**>(&view4))) || !view4) return;
    EventRegistrationToken token;
    view4->add_DownloadStarting(Give(new OnDownload_([](ICoreWebView2*, ICoreWebView2DownloadStartingEventArgs* args) {
                                    args->put_Cancel(TRUE);
                                    return S_OK;
                                })),
                                &token);
    view4->Release();
}

// The view's profile, where the runtime can clear it; null otherwise.
static ICoreWebView2Profile2* ClearableProfile() {
    ICoreWebView2_13* view13 = nullptr;
    ICoreWebView2Profile* profile = nullptr;
    ICoreWebView2Profile2* profile2 = nullptr;
    if (g_app.webview &&
        SUCCEEDED(g_app.webview->QueryInterface(IID_ICoreWebView2_13, reinterpret_cast<void**>(&view13))) && view13 &&
        SUCCEEDED(view13->get_Profile(&profile)) && profile)
        profile->QueryInterface(IID_ICoreWebView2Profile2, reinterpret_cast<void**>(&profile2));
    if (profile) profile->Release();
    if (view13) view13->Release();
    return profile2;
}

void ResetForNextVisitor() {
    EndPageDialogs();  // the last visitor's questions go with them
    // Cleared or not (an older runtime can't), the site starts afresh once
    // the engine has answered, from the message loop.
    ICoreWebView2Profile2* profile = ClearableProfile();
    if (!profile || FAILED(profile->ClearBrowsingDataAll(Give(new OnCleared_([](HRESULT) {
            PostViewNotice(kNoticeSessionCleared);
            return S_OK;
        })))))
        PostViewNotice(kNoticeSessionCleared);
    if (profile) profile->Release();
}

void StartForNextVisitor() {
    if (g_app.kiosk.inPrivate) {
        ReopenView();
        return;
    }
    SetSiteNotificationState();  // the profile's answer went with the rest
    OpenSite();
}
