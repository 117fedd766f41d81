#include "webview/permissions.h"

#include "settings/site_address.h"
#include "webview/handler.h"
#include "webview/view_notices.h"

// Requests that wait for the person at once; one more is refused.
static const size_t kMaxWaiting = 8;

PermissionDecision DecidePermission(COREWEBVIEW2_PERMISSION_KIND kind, bool fromSite, NotificationsAnswer stored) {
    if (!fromSite) return PermissionDecision::kDeny;
    if (kind != COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS) return PermissionDecision::kRuntimeDefault;
    switch (stored) {
    case NotificationsAnswer::kAllow:
        return PermissionDecision::kAllow;
    case NotificationsAnswer::kBlock:
        return PermissionDecision::kDeny;
    default:
        return PermissionDecision::kAskPerson;
    }
}

static COREWEBVIEW2_PERMISSION_STATE StateFor(bool allow) {
    return allow ? COREWEBVIEW2_PERMISSION_STATE_ALLOW : COREWEBVIEW2_PERMISSION_STATE_DENY;
}

bool IsSiteOrigin(LPWSTR origin) {
    std::wstring asking = SiteOrigin(TakeEngineString(origin));
    return !g_app.homeOrigin.empty() && asking == g_app.homeOrigin;
}

HRESULT OnPermissionRequested(ICoreWebView2PermissionRequestedEventArgs* args) {
    LPWSTR uri = nullptr;  // a failed call: no origin, which is never the site's
    COREWEBVIEW2_PERMISSION_KIND kind = COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION;
    args->get_Uri(&uri);
    args->get_PermissionKind(&kind);
    bool fromSite = IsSiteOrigin(uri);
    const IID& iid3 = IID_ICoreWebView2PermissionRequestedEventArgs3;
    if (auto args3 = AsNewer<ICoreWebView2PermissionRequestedEventArgs3>(args, iid3)) {
        args3->put_SavesInProfile(FALSE);
        args3->Release();
    }
    PermissionDecision decision = DecidePermission(kind, fromSite, g_app.notifications);
    std::vector<WaitingPermission>& waiting = g_app.nav.waitingPermissions;
    // Nobody at a kiosk answers for the site, and its settings are not to change.
    if (decision == PermissionDecision::kAskPerson && (waiting.size() >= kMaxWaiting || g_app.kiosk.on))
        decision = PermissionDecision::kDeny;
    switch (decision) {
    case PermissionDecision::kRuntimeDefault:
        break;
    case PermissionDecision::kAllow:
    case PermissionDecision::kDeny:
        args->put_State(StateFor(decision == PermissionDecision::kAllow));
        break;
    case PermissionDecision::kAskPerson: {
        ICoreWebView2Deferral* deferral = nullptr;
        if (FAILED(args->GetDeferral(&deferral)) || !deferral) {
            args->put_State(COREWEBVIEW2_PERMISSION_STATE_DENY);
            break;
        }
        args->AddRef();
        waiting.push_back({args, deferral});
        PostViewNotice(kNoticeAskNotifications);
        break;
    }
    }
    return S_OK;
}

void AnswerWaitingPermissions(bool allow) {
    std::vector<WaitingPermission> waiting;
    waiting.swap(g_app.nav.waitingPermissions);
    for (WaitingPermission& request : waiting) {
        request.args->put_State(StateFor(allow));
        request.deferral->Complete();
        request.deferral->Release();
        request.args->Release();
    }
}

// The view's profile where it keeps permission states, or null.
static ICoreWebView2Profile4* ViewProfile4() {
    return static_cast<ICoreWebView2Profile4*>(ViewProfileAs(g_app.webview, IID_ICoreWebView2Profile4));
}

static void SetNotificationState(ICoreWebView2Profile4* profile, const std::wstring& origin,
                                 COREWEBVIEW2_PERMISSION_STATE state) {
    profile->SetPermissionState(COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, origin.c_str(), state,
                                Give(new OnPermissionState_([](HRESULT) { return S_OK; })));
}

// Every origin but the site's that the profile keeps an answer about
// notifications for goes back to asking: the site may have changed in this
// run or between runs (in the settings file, by the organisation, on the
// command line). The profile says which it keeps, so nothing is taken for
// kept that the runtime failed to keep: one that failed to go is found again
// the next time.
static HRESULT ForgetOtherSites(HRESULT error, ICoreWebView2PermissionSettingCollectionView* settings) {
    ICoreWebView2Profile4* profile4 = SUCCEEDED(error) && settings ? ViewProfile4() : nullptr;
    UINT32 count = 0;
    if (profile4) settings->get_Count(&count);
    for (UINT32 i = 0; i < count; ++i) {
        ICoreWebView2PermissionSetting* setting = nullptr;
        COREWEBVIEW2_PERMISSION_KIND kind = COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION;
        LPWSTR origin = nullptr;
        if (FAILED(settings->GetValueAtIndex(i, &setting)) || !setting) continue;
        setting->get_PermissionKind(&kind);
        setting->get_PermissionOrigin(&origin);
        std::wstring kept = TakeEngineString(origin);
        if (kind == COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS && !kept.empty() && SiteOrigin(kept) != g_app.homeOrigin)
            SetNotificationState(profile4, kept, COREWEBVIEW2_PERMISSION_STATE_DEFAULT);
        setting->Release();
    }
    if (profile4) profile4->Release();
    return S_OK;
}

void SetSiteNotificationState(bool othersToo) {
    ICoreWebView2Profile4* profile4 = ViewProfile4();
    if (!profile4) return;
    if (!g_app.homeOrigin.empty())
        SetNotificationState(profile4, g_app.homeOrigin,
                             g_app.notifications == NotificationsAnswer::kAsk
                                 ? COREWEBVIEW2_PERMISSION_STATE_DEFAULT
                                 : StateFor(g_app.notifications == NotificationsAnswer::kAllow));
    if (othersToo) profile4->GetNonDefaultPermissionSettings(Give(new OnPermissionSettings_(ForgetOtherSites)));
    profile4->Release();
}

void AddPermissionHandler(ICoreWebView2* view) {
    EventRegistrationToken token;
    view->add_PermissionRequested(
        Give(new OnPermission_([](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
            return OnPermissionRequested(args);
        })),
        &token);
}
