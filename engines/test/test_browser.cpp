#include "engines/test/test_browser.h"

#include "engines/common/uri.h"

namespace {

// A host the resolver never knows: the reserved top-level domain "invalid".
bool IsUnresolvable(const std::wstring& uri) {
    std::wstring host = HostOf(uri);
    return host == L"invalid" || (host.size() > 8 && host.ends_with(L".invalid"));
}

// The last hop was let through: the document loads (or fails) and enters the history.
void Load(const TestBrowserPtr& b, const Navigation& nav) {
    if (b->closed) return;
    const std::wstring& uri = nav.hops.back();
    COREWEBVIEW2_WEB_ERROR_STATUS status = nav.failWith;
    if (!status && nav.html.empty() && IsUnresolvable(uri))
        status = COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED;

    if (nav.historyIndex >= 0 && nav.historyIndex < static_cast<int>(b->history.size())) {
        b->current = nav.historyIndex;
        b->history[b->current].uri = uri;
    } else {
        b->history.resize(b->current + 1);
        b->history.push_back({uri, nav.html});
        b->current = static_cast<int>(b->history.size()) - 1;
    }
    // The new document commits: its address first, then, before anything of
    // it shows, ContentLoading (the engine's own error page for a failure).
    if (b->page.uri != uri) {
        b->page.uri = uri;
        RaiseSourceChanged(*b, true);
    }
    RaiseContentLoading(*b, nav.id, status != 0);
    if (b->closed) return;
    if (status)
        ShowPage(*b, ErrorPage(uri, status));
    else
        ShowPage(*b, nav.html.empty() ? PageForAddress(uri) : PageFromHtml(uri, nav.html));
    // A server's error answer shows the server's page, yet fails the navigation.
    int http = status || !nav.html.empty() ? 0 : nav.httpStatus;
    PostTask([b, id = nav.id, status, http] { RaiseNavigationCompleted(*b, id, status, !status && http < 400, http); });
}

void RunHop(const TestBrowserPtr& b, const Navigation& nav, size_t hop) {
    if (b->closed) return;
    if (RaiseNavigationStarting(*b, nav.hops[hop], nav.id, nav.userInitiated, hop > 0)) {
        PostTask([b, id = nav.id] {
            RaiseNavigationCompleted(*b, id, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, false, 0);
        });
    } else if (hop + 1 < nav.hops.size()) {
        PostTask([b, nav, hop] { RunHop(b, nav, hop + 1); });
    } else {
        PostTask([b, nav] { Load(b, nav); });
    }
}

}  // namespace

void TestBrowser::Navigate(const std::wstring& uri) {
    Navigation nav;
    nav.hops = {uri};
    StartNavigation(self(), nav);
}

void TestBrowser::NavigateToString(const std::wstring& html) {
    Navigation nav;
    nav.hops = {DataUriFromHtml(html)};
    nav.html = html;
    StartNavigation(self(), nav);
}

void TestBrowser::GoToHistory(int offset) {
    int index = current + offset;
    if (index < 0 || index >= static_cast<int>(history.size())) return;
    Navigation nav;
    nav.hops = {history[index].uri};
    nav.html = history[index].html;
    nav.historyIndex = index;
    StartNavigation(self(), nav);
}

bool TestBrowser::CanGoToHistory(int offset) const {
    int index = current + offset;
    return index >= 0 && index < static_cast<int>(history.size());
}

void StartNavigation(const TestBrowserPtr& b, Navigation nav) {
    nav.id = b->nextNavigationId++;
    // Every address is reported, shown and kept in the history as the runtime forms it.
    for (std::wstring& hop : nav.hops) hop = CanonicalUri(hop);
    for (auto rule = b->redirects.find(nav.hops.back()); rule != b->redirects.end() && nav.hops.size() < 20;
         rule = b->redirects.find(nav.hops.back()))
        nav.hops.push_back(rule->second);
    PostTask([b, nav] { RunHop(b, nav, 0); });
}

void RequestResource(const TestBrowserPtr& b, const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                     RequestSource source) {
    PostTask([b, uri, context, source] { RaiseWebResourceRequested(*b, uri, context, source); });
}

void FailProcess(const TestBrowserPtr& b, COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
    PostTask([b, kind] { RaiseProcessFailed(*b, kind); });
}

void RequestPopup(const TestBrowserPtr& b, const std::wstring& uri, bool userInitiated) {
    PostTask([b, uri, userInitiated] {
        if (b->closed) return;
        NewWindowAnswer answer = RaiseNewWindowRequested(*b, uri, userInitiated);
        if (answer.newWindow)
            answer.newWindow->Navigate(uri.c_str());
        else if (!answer.handled)
            OpenPopupWindow(uri);
        LogPopup(answer, uri);
    });
}

void SetFullscreenElement(const TestBrowserPtr& b, bool on) {
    PostTask([b, on] { RaiseFullscreenChanged(*b, on); });
}

void DeliverKey(TestBrowser& b, UINT message, WPARAM key, LPARAM lParam) {
    bool handled = RaiseAcceleratorKey(b, message, key, lParam);
    // Esc reaching the page ends its fullscreen element, as in any browser.
    if (!handled && key == VK_ESCAPE && message == WM_KEYDOWN && b.fullscreenElement)
        SetFullscreenElement(b.self(), false);
}
