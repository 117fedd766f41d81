#include "webview/other_sites.h"

#include "app/app_state.h"
#include "settings/site_address.h"
#include "webview/handler.h"
#include "webview/view_notices.h"

StoppedLink ClassifyStoppedLink(const std::wstring& address, bool userInitiated) {
    // A page may not launch programs or raise the bar without the person's click.
    if (!userInitiated) return StoppedLink::kDrop;
    if (StartsWithScheme(address, L"mailto:") || StartsWithScheme(address, L"tel:")) return StoppedLink::kHandToWindows;
    if (StartsWithScheme(address, L"http://") || StartsWithScheme(address, L"https://")) return StoppedLink::kOfferInBar;
    return StoppedLink::kDrop;  // no other scheme is handed on
}

static void Queue(StoppedLink action, const std::wstring& address) {
    // A kiosk leads nowhere else: no bar, no other program; the link just stays stopped.
    if (g_app.kiosk.on) return;
    if (action == StoppedLink::kOfferInBar && g_app.otherSitesBarOff) return;  // stopped silently
    g_app.stoppedLinks.emplace_back(action, address);
    PostViewNotice(kNoticeStoppedLinks);
}

void OnStoppedLink(const std::wstring& address, BOOL userInitiated) {
    StoppedLink action = ClassifyStoppedLink(address, userInitiated != FALSE);
    if (action != StoppedLink::kDrop) Queue(action, address);
}

void OfferStoppedLink(const std::wstring& address) { Queue(StoppedLink::kOfferInBar, address); }

HRESULT OnLaunchingExternalUriScheme(ICoreWebView2LaunchingExternalUriSchemeEventArgs* args) {
    LPWSTR uri = nullptr;  // a failed call leaves it null: the launch is cancelled
    BOOL userInitiated = FALSE;
    args->get_Uri(&uri);
    args->get_IsUserInitiated(&userInitiated);
    std::wstring address = TakeEngineString(uri);
    if (!CancelsLaunch(address, userInitiated, g_app.kiosk.on)) return S_OK;
    args->put_Cancel(TRUE);
    OnStoppedLink(address, userInitiated);
    return S_OK;
}

void AddLaunchHandler(ICoreWebView2* view) {
    auto view18 = AsNewer<ICoreWebView2_18>(view, IID_ICoreWebView2_18);
    if (!view18) return;
    EventRegistrationToken token;
    view18->add_LaunchingExternalUriScheme(
        Give(new OnLaunch_([](ICoreWebView2*, ICoreWebView2LaunchingExternalUriSchemeEventArgs* args) {
            return OnLaunchingExternalUriScheme(args);
        })),
        &token);
    view18->Release();
}
