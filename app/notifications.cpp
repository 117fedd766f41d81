#include "app/notifications.h"

#include "app/app_state.h"
#include "app/commands.h"
#include "app/out_of_sight.h"
#include "app/settings_notice.h"
#include "app/site_bar.h"
#include "app/tray.h"
#include "settings/site_address.h"
#include "webview/notifications.h"
#include "webview/permissions.h"

static void Answer(NotificationsAnswer answer) {
    g_app.notifications = answer;
    CheckMenuItem(g_app.menuBar, ID_SITE_NOTIFICATIONS,
                  MF_BYCOMMAND | (answer == NotificationsAnswer::kAllow ? MF_CHECKED : MF_UNCHECKED));
    SaveSettings();
    SetSiteNotificationState(false);  // the site's next documents find it too
    AnswerWaitingPermissions(answer == NotificationsAnswer::kAllow);
    SleepRuleChanged();  // a site allowed to notify never sleeps
}

void AskAboutNotifications() {
    if (g_app.nav.waitingPermissions.empty()) return;  // answered already
    ShowBar(BarTopic::kNotifications, SiteHost(g_app.siteUrl) + L" wants to show notifications", L"",
            {{L"Allow", 80, [](const std::wstring&) { Answer(NotificationsAnswer::kAllow); }},
             {L"Block", 80, [](const std::wstring&) { Answer(NotificationsAnswer::kBlock); }}},
            [] { AnswerWaitingPermissions(false); });
}

void ToggleNotifications() {
    Answer(g_app.notifications == NotificationsAnswer::kAllow ? NotificationsAnswer::kBlock
                                                              : NotificationsAnswer::kAllow);
    CloseBar(BarTopic::kNotifications);  // nothing is left to ask
}

void ShowSiteNotification() {
    std::wstring title, body;
    if (!NextNotification(&title, &body)) return;
    ReportNotification(ShowTrayBalloon(title, body) ? NotificationOutcome::kShown : NotificationOutcome::kClosed);
}

void NotificationEnded(bool clicked) {
    ReportNotification(clicked ? NotificationOutcome::kClicked : NotificationOutcome::kClosed);
}
