#include "webview/other_sites.h"

#include "app/app_state.h"
#include "settings/site_address.h"
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
