#include "engines/test/test_browser.h"

#include <set>

#include "engines/common/runtime_controls.h"
#include "engines/common/uri.h"

namespace {

// A host the resolver never knows: the reserved top-level domain "invalid".
bool IsUnresolvable(const std::wstring& uri) {
    std::wstring host = HostOf(uri);
    return host == L"invalid" || (host.size() > 8 && host.ends_with(L".invalid"));
}

// The hosts whose server is down ("down <host>"): the engine's, not a view's.
std::set<std::wstring>& DownHosts() {
    static std::set<std::wstring> hosts;
    return hosts;
}

// The navigation ends as cancelled; the shown page stays.
void Cancelled(const TestBrowserPtr& b, UINT64 id) {
    PostTask([b, id] { RaiseNavigationCompleted(*b, id, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, false, 0); });
}

// The last hop was let through: the document loads (or fails) and enters the history.
void Load(const TestBrowserPtr& b, const Navigation& nav) {
    if (b->closed) return;
    const std::wstring& uri = nav.hops.back();
    COREWEBVIEW2_WEB_ERROR_STATUS status = nav.failWith;
    if (!status && nav.html.empty() && IsUnresolvable(uri))
        status = COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED;
    if (!status && nav.html.empty() && DownHosts().count(HostOf(uri))) status = COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT;

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
    UINT64 next = b->nextNavigationId;
    RaiseContentLoading(*b, nav.id, status != 0);
    if (b->closed) return;
    if (b->nextNavigationId != next) {
        // A handler began another navigation before anything of this
        // document showed: it is given up, as the runtime does.
        Cancelled(b, nav.id);
        return;
    }
    if (status)
        ShowPage(*b, ErrorPage(uri, status));
    else
        ShowPage(*b, nav.html.empty() ? PageForAddress(uri) : PageFromHtml(uri, nav.html));
    NewDocument(*b);
    if (b->closed) return;
    // A server's error answer shows the server's page, yet fails the navigation.
    int http = status || !nav.html.empty() ? 0 : nav.httpStatus;
    PostTask([b, id = nav.id, status, http] { RaiseNavigationCompleted(*b, id, status, !status && http < 400, http); });
}

// The server challenges the request before it answers. A sign-in the
// handlers cancelled gets the server's 401 page; one they left is the login
// dialog's, where the person signs in. A bad certificate: cancelled, the
// shown page stays; by default the runtime's warning page shows; allowed,
// the page loads.
void RunChallenge(const TestBrowserPtr& b, Navigation nav) {
    if (b->closed) return;
    const std::wstring& uri = nav.hops.back();
    if (nav.challenge == Challenge::kSignIn) {
        if (RaiseBasicAuthenticationRequested(*b, uri, L"Basic realm=\"" + HostOf(uri) + L"\"").cancelled)
            nav.httpStatus = 401;
    } else {
        COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID;
        switch (RaiseServerCertificateErrorDetected(*b, uri, status)) {
        case COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL:
            return Cancelled(b, nav.id);
        case COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT:
            nav.failWith = status;
            break;
        default:
            break;
        }
    }
    Load(b, nav);
}

// No new document comes: the navigation fails and the shown page stays. A
// file to save is reported only after that, as the runtime does.
void EndInPlace(const TestBrowserPtr& b, const Navigation& nav) {
    RaiseNavigationCompleted(*b, nav.id, nav.failWith, false, 0);
    if (!nav.download) return;
    const std::wstring& uri = nav.hops.back();
    PostTask([b, uri] { RaiseDownloadStarting(*b, uri, L"C:\\Downloads\\" + uri.substr(uri.rfind(L'/') + 1)); });
}

// A link to another program's address: the runtime's question (unless a
// handler cancelled the launch) and no new document.
void Launch(const TestBrowserPtr& b, const std::wstring& uri, bool userInitiated) {
    PostTask([b, uri, userInitiated] {
        RaiseLaunchingExternalUriScheme(*b, uri, OriginOf(b->page.uri), userInitiated);
    });
}

void RunHop(const TestBrowserPtr& b, const Navigation& nav, size_t hop) {
    if (b->closed) return;
    bool last = hop + 1 == nav.hops.size();
    // The runtime's cancel does not hold for an address that answers with a
    // sign-in challenge or presents a bad certificate.
    if (RaiseNavigationStarting(*b, nav.hops[hop], nav.id, nav.userInitiated, hop > 0) &&
        !(last && nav.challenge != Challenge::kNone)) {
        Cancelled(b, nav.id);
    } else if (IsExternalAddress(nav.hops[hop])) {
        Launch(b, nav.hops[hop], nav.userInitiated);
        Cancelled(b, nav.id);
    } else if (!last) {
        PostTask([b, nav, hop] { RunHop(b, nav, hop + 1); });
    } else if (nav.challenge != Challenge::kNone) {
        PostTask([b, nav] { RunChallenge(b, nav); });
    } else {
        PostTask([b, nav] { nav.commits ? Load(b, nav) : EndInPlace(b, nav); });
    }
}

}  // namespace

void SetServerDown(const std::wstring& host, bool down) {
    if (down)
        DownHosts().insert(host);
    else
        DownHosts().erase(host);
}

void TestBrowser::Navigate(const std::wstring& uri) {
    Navigation nav;
    nav.hops = {uri};
    StartProgramNavigation(self(), nav);
}

void TestBrowser::NavigateToString(const std::wstring& html) {
    Navigation nav;
    nav.hops = {DataUriFromHtml(html)};
    nav.html = html;
    StartProgramNavigation(self(), nav);
}

void TestBrowser::GoToHistory(int offset) {
    int index = current + offset;
    if (index < 0 || index >= static_cast<int>(history.size())) return;
    Navigation nav;
    nav.hops = {history[index].uri};
    nav.html = history[index].html;
    nav.historyIndex = index;
    StartProgramNavigation(self(), nav);
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

void StartProgramNavigation(const TestBrowserPtr& b, Navigation nav) {
    if (!b->beforeUnload) return StartNavigation(b, nav);
    // The question comes from the message loop, as the runtime's does.
    PostTask([b, nav] {
        OpenScriptDialog(*b, {COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD, b->page.uri, L"", L""},
                         [b, nav](bool leave, const std::wstring&) {
                             if (leave) {
                                 b->beforeUnload = false;  // the page is being left
                                 StartNavigation(b, nav);
                             } else if (!StayRaisesNothing()) {
                                 // The navigation never started, and ends as
                                 // cancelled under a number of its own.
                                 RaiseNavigationCompleted(*b, b->nextNavigationId++,
                                                          COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, false, 0);
                             }
                         });
    });
}

void OpenPageDialog(const TestBrowserPtr& b, COREWEBVIEW2_SCRIPT_DIALOG_KIND kind, const std::wstring& message,
                    const std::wstring& defaultText) {
    // What the page's script gets back is in the log's answer.
    PostTask([b, kind, message, defaultText] {
        OpenScriptDialog(*b, {kind, b->page.uri, message, defaultText}, [](bool, const std::wstring&) {});
    });
}

void RequestResource(const TestBrowserPtr& b, const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                     RequestSource source) {
    PostTask([b, uri, context, source] { RaiseWebResourceRequested(*b, uri, context, source); });
}

// The browser process takes every view on it with it, in every program.
void FailProcess(const TestBrowserPtr& b, COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
    if (kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED && b->process)
        b->process->Exit();
    else
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

void FollowFrameLink(const TestBrowserPtr& b, const std::wstring& uri, bool userInitiated) {
    if (IsExternalAddress(uri))
        Launch(b, uri, userInitiated);
    else
        PostTask([uri] { EngineLog(L"frame loaded " + uri); });
}

void SetFullscreenElement(const TestBrowserPtr& b, bool on) {
    PostTask([b, on] { RaiseFullscreenChanged(*b, on); });
}

void DeliverKey(TestBrowser& b, UINT message, WPARAM key, LPARAM lParam) {
    if (RaiseAcceleratorKey(b, message, key, lParam)) return;
    RunRuntimeKey(b, message, key);
    // Esc reaching the page ends its fullscreen element, as in any browser.
    if (key == VK_ESCAPE && message == WM_KEYDOWN && b.fullscreenElement) SetFullscreenElement(b.self(), false);
}
