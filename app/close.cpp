#include "app/close.h"

#include "app/app_state.h"
#include "webview/page_close.h"

void RequestClose() {
    // A kiosk has no way out: it ends only with the Windows session.
    if (g_app.kiosk.on) return;
    if (!AskPageToLeave()) CloseNow();
}

void CloseNow() { DestroyWindow(g_app.mainWindow); }

bool CloseIsUnderWay() { return g_app.nav.closeAsked; }
