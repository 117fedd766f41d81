// The site's notifications as the person meets them: the bar that asks
// whether the site may show them, Site > Show notifications, and each one
// shown by Windows from the program's icon in the notification area.
#pragma once

// The site asks (kNoticeAskNotifications): "HOST wants to show
// notifications", Allow or Block, kept in the settings; the close box
// answers nothing and the request stays refused this time.
void AskAboutNotifications();
// Site > Show notifications: allowed becomes blocked and anything else allowed.
void ToggleNotifications();
// A notification of the site waits (kNoticeShowNotification): Windows shows
// the oldest waiting.
void ShowSiteNotification();
// Windows no longer shows it: clicked (the window has come back) or not.
void NotificationEnded(bool clicked);
