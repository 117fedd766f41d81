#include "tests/engine/browser.h"

#include "tests/engine/args.h"

namespace {

std::wstring Id(UINT64 id) { return std::to_wstring(id); }

// A host the resolver never knows: the reserved top-level domain "invalid".
bool IsUnresolvable(const std::wstring& uri) {
    std::wstring host = HostOf(uri);
    return host == L"invalid" || (host.size() > 8 && host.ends_with(L".invalid"));
}

void Complete(const BrowserPtr& b, UINT64 id, COREWEBVIEW2_WEB_ERROR_STATUS status) {
    if (b->closed) return;
    EngineLog(L"navigation completed " + Id(id) +
              (status == COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN ? L" success" : L" status " + std::to_wstring(status)));
    auto args = Ref<NavigationCompletedArgs>::Adopt(new NavigationCompletedArgs(id, status));
    for (auto& handler : b->navigationCompleted.Snapshot()) handler->Invoke(b->view, args.get());
}

// The last hop was let through: the document loads (or fails) and enters the history.
void Load(const BrowserPtr& b, const Navigation& nav) {
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
    if (status)
        ShowPage(*b, ErrorPage(uri, status));
    else
        ShowPage(*b, nav.html.empty() ? PageForAddress(uri) : PageFromHtml(uri, nav.html));
    PostTask([b, id = nav.id, status] { Complete(b, id, status); });
}

void RunHop(const BrowserPtr& b, const Navigation& nav, size_t hop) {
    if (b->closed) return;
    const std::wstring& uri = nav.hops[hop];
    EngineLog(L"navigation started " + Id(nav.id) + L" " + uri);
    auto args = Ref<NavigationStartingArgs>::Adopt(new NavigationStartingArgs(uri, nav.id, nav.userInitiated, hop > 0));
    for (auto& handler : b->navigationStarting.Snapshot()) handler->Invoke(b->view, args.get());
    if (args->cancelled()) {
        EngineLog(L"navigation cancelled " + Id(nav.id));
        PostTask([b, id = nav.id] { Complete(b, id, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED); });
    } else if (hop + 1 < nav.hops.size()) {
        PostTask([b, nav, hop] { RunHop(b, nav, hop + 1); });
    } else {
        PostTask([b, nav] { Load(b, nav); });
    }
}

}  // namespace

void StartNavigation(const BrowserPtr& b, Navigation nav) {
    nav.id = b->nextNavigationId++;
    PostTask([b, nav] { RunHop(b, nav, 0); });
}

void NavigateToHistory(const BrowserPtr& b, int index) {
    if (index < 0 || index >= static_cast<int>(b->history.size())) return;
    Navigation nav;
    nav.hops = {b->history[index].uri};
    nav.html = b->history[index].html;
    nav.historyIndex = index;
    StartNavigation(b, nav);
}

void RequestResource(const BrowserPtr& b, const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
    PostTask([b, uri, context] {
        if (b->closed) return;
        bool matched = false;
        for (const auto& filter : b->filters) matched = matched || GlobMatch(filter.first, uri);
        Ref<ICoreWebView2WebResourceResponse> response;
        if (matched) {
            EngineLog(L"resource event " + std::to_wstring(context) + L" " + uri);
            auto args = Ref<WebResourceRequestedArgs>::Adopt(new WebResourceRequestedArgs(uri, context));
            for (auto& handler : b->webResourceRequested.Snapshot()) handler->Invoke(b->view, args.get());
            response = args->response();
        }
        if (!response) {
            EngineLog(L"resource to network " + uri);
            return;
        }
        int status = 0;
        LPWSTR reason = nullptr;
        response->get_StatusCode(&status);
        response->get_ReasonPhrase(&reason);
        EngineLog(L"resource answered " + std::to_wstring(status) + L" " + (reason ? reason : L"") + L" " + uri);
        CoTaskMemFree(reason);
    });
}

void RequestPopup(const BrowserPtr& b, const std::wstring& uri) {
    PostTask([b, uri] {
        if (b->closed) return;
        auto args = Ref<NewWindowArgs>::Adopt(new NewWindowArgs(uri));
        for (auto& handler : b->newWindowRequested.Snapshot()) handler->Invoke(b->view, args.get());
        if (args->newWindow()) {
            EngineLog(L"popup into given view " + uri);
            args->newWindow()->Navigate(uri.c_str());
        } else if (args->handled()) {
            EngineLog(L"popup swallowed " + uri);
        } else {
            OpenPopupWindow(uri);
            EngineLog(L"popup opened " + uri);
        }
    });
}

void SetFullscreenElement(const BrowserPtr& b, bool on) {
    PostTask([b, on] {
        if (b->closed) return;
        std::wstring line = on ? L"fullscreen element on" : L"fullscreen element off";
        if (b->fullscreenElement == on) {
            EngineLog(line + L" unchanged");
            return;
        }
        b->fullscreenElement = on;
        EngineLog(line);
        InvalidateRect(b->window, nullptr, TRUE);
        for (auto& handler : b->fullscreenChanged.Snapshot()) handler->Invoke(b->view, nullptr);
    });
}

bool DeliverKey(Browser& b, UINT message, WPARAM key, LPARAM lParam) {
    COREWEBVIEW2_KEY_EVENT_KIND kind = message == WM_KEYDOWN      ? COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN
                                       : message == WM_KEYUP      ? COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP
                                       : message == WM_SYSKEYDOWN ? COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN
                                                                  : COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP;
    // An accelerator: Ctrl or Alt held, a system key, or a key that types no character.
    UINT character = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0x7FFFFFFF;
    bool accelerator = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 ||
                       kind >= COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN || character < 0x20;
    bool handled = false;
    if (accelerator) {
        auto args = Ref<AcceleratorKeyArgs>::Adopt(new AcceleratorKeyArgs(kind, static_cast<UINT>(key), lParam));
        for (auto& handler : b.acceleratorKeyPressed.Snapshot()) handler->Invoke(b.controller, args.get());
        handled = args->handled();
    }
    EngineLog((handled ? L"key handled " : L"key to page ") + std::to_wstring(key) + L" " + std::to_wstring(kind));
    // Esc reaching the page ends its fullscreen element, as in any browser.
    if (!handled && key == VK_ESCAPE && kind == COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN && b.fullscreenElement)
        SetFullscreenElement(b.shared_from_this(), false);
    return handled;
}

void CloseBrowser(Browser& b) {
    if (b.closed) return;
    b.closed = true;
    EngineLog(L"closed");
    if (b.window) DestroyWindow(b.window);
    b.window = nullptr;
    b.navigationStarting.Clear();
    b.navigationCompleted.Clear();
    b.newWindowRequested.Clear();
    b.webResourceRequested.Clear();
    b.fullscreenChanged.Clear();
    b.acceleratorKeyPressed.Clear();
}
