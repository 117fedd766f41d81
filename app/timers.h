// The main window's timers, one id each (a new timer takes the next number).
// Each runs only while what it waits for is due; WM_TIMER goes to the file of
// its concern.
#pragma once

#include <windows.h>

enum : UINT_PTR {
    kTrayRetryTimer = 1,   // the notification area's icon asked for again (app/tray)
    kSiteIconTimer,        // the site's icon for a new site app waited for (app/create_site_app)
    kTimerTryAgain,        // the failure page's next try, or a kiosk's lost page (app/try_again)
    kTimerRestartEngine,   // a kiosk's lost browser started again (app/try_again)
    kTimerPointer,         // a kiosk's pointer hides after the mouse rested (app/kiosk)
    kTimerIdle,            // a kiosk looks at the time since the last input (app/kiosk)
    kTimerSleep,           // a site out of sight long enough is put to sleep (app/out_of_sight)
    kTimerCleared,         // a kiosk's reset goes on when the profile's clearing never answers (app/kiosk)
};
