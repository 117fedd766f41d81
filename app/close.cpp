#include "app/close.h"

#include "app/app_state.h"
#include "webview/page_close.h"

void RequestClose() {
    if (!AskPageToLeave()) CloseNow();
}

void CloseNow() { DestroyWindow(g_app.mainWindow); }

bool CloseIsUnderWay() { return g_app.nav.closeAsked; }
