#include "webview/notifications.h"

#include "app/app_state.h"
#include "webview/handler.h"
#include "webview/permissions.h"
#include "webview/view_notices.h"

bool MayShowNotification(std::vector<ULONGLONG>& shownAt, ULONGLONG now) {
    std::erase_if(shownAt, [now](ULONGLONG at) { return now - at >= 60000; });
    if (shownAt.size() >= kNotificationsPerMinute) return false;
    shownAt.push_back(now);
    return true;
}

std::wstring NotificationText(const std::wstring& text, size_t length) {
    std::wstring plain = text.substr(0, length + 1);
    for (wchar_t& c : plain)
        if (c < 0x20 || c == 0x7F) c = L' ';
    if (plain.size() <= length) return plain;
    size_t cut = length - 1;
    if (IS_LOW_SURROGATE(plain[cut])) --cut;  // never half a character
    return plain.substr(0, cut) + L"\u2026";
}

static std::wstring Text(HRESULT (STDMETHODCALLTYPE ICoreWebView2Notification::*get)(LPWSTR*),
                         ICoreWebView2Notification* notification) {
    LPWSTR text = nullptr;
    (notification->*get)(&text);
    return TakeEngineString(text);
}

HRESULT OnNotificationReceived(ICoreWebView2NotificationReceivedEventArgs* args) {
    // Taken in every case: shown by the program, or not at all.
    args->put_Handled(TRUE);
    LPWSTR origin = nullptr;
    ICoreWebView2Notification* notification = nullptr;
    args->get_SenderOrigin(&origin);
    args->get_Notification(&notification);
    bool fromSite = IsSiteOrigin(origin);
    if (!notification || !fromSite || g_app.notifications != NotificationsAnswer::kAllow) {
        if (notification) notification->Release();
        return S_OK;
    }
    NavigationRecord& nav = g_app.nav;
    if (!MayShowNotification(nav.notificationTimes, GetTickCount64())) {
        notification->ReportClosed();
        notification->Release();
        return S_OK;
    }
    // Each in turn, however many arrive before the window shows the first.
    nav.notificationsToShow.push_back(
        {notification, NotificationText(Text(&ICoreWebView2Notification::get_Title, notification), kNotificationTitleLength),
         NotificationText(Text(&ICoreWebView2Notification::get_Body, notification), kNotificationBodyLength)});
    PostViewNotice(kNoticeShowNotification);
    return S_OK;
}

bool NextNotification(std::wstring* title, std::wstring* body) {
    NavigationRecord& nav = g_app.nav;
    if (nav.notificationsToShow.empty()) return false;
    // Windows shows one at a time: a newer one takes the older one's place.
    ReportNotification(NotificationOutcome::kClosed);
    WaitingNotification next = std::move(nav.notificationsToShow.front());
    nav.notificationsToShow.pop_front();
    nav.notification = next.notification;
    *title = std::move(next.title);
    *body = std::move(next.body);
    return true;
}

void ReportNotification(NotificationOutcome outcome) {
    ICoreWebView2Notification* notification = g_app.nav.notification;
    if (!notification) return;
    if (outcome == NotificationOutcome::kShown) {
        notification->ReportShown();
        return;
    }
    if (outcome == NotificationOutcome::kClicked)
        notification->ReportClicked();
    else
        notification->ReportClosed();
    notification->Release();
    g_app.nav.notification = nullptr;
}

void DropNotifications() {
    ReportNotification(NotificationOutcome::kClosed);
    for (WaitingNotification& waiting : g_app.nav.notificationsToShow) {
        waiting.notification->ReportClosed();
        waiting.notification->Release();
    }
    g_app.nav.notificationsToShow.clear();
}

void AddNotificationHandler(ICoreWebView2* view) {
    auto view24 = AsNewer<ICoreWebView2_24>(view, IID_ICoreWebView2_24);
    if (!view24) return;
    EventRegistrationToken token;
    view24->add_NotificationReceived(
        Give(new OnNotification_([](ICoreWebView2*, ICoreWebView2NotificationReceivedEventArgs* args) {
            return OnNotificationReceived(args);
        })),
        &token);
    view24->Release();
}
