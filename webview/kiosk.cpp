#include "webview/kiosk.h"

#include "app/app_state.h"
#include "webview/handler.h"
#include "webview/navigation_policy.h"
#include "webview/page_dialogs.h"
#include "webview/startup.h"

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

void ResetForNextVisitor() {
    EndPageDialogs();  // the last visitor's questions go with them
    if (g_app.kiosk.inPrivate)
        ReopenView();
    else
        OpenSite();
}
